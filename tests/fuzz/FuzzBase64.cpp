// Fuzz target base64: any bytes encode and decode back to themselves, in one piece or fed in
// pieces; any text decodes the same with the wide decoder and the table decoder, and every
// span of it decodes to the same bytes as the whole.
#include "FuzzTargets.h"

#include "pack/KzpCodec.h"

KZ_FUZZ_TARGET(base64)(const std::uint8_t *data, std::size_t size) {
  const std::string bytes = FuzzBytes(data, size);
  const std::string text = EncodeBase64(bytes);
  FuzzCheck(text.size() == (bytes.size() * 8 + 5) / 6, "the text has the length the bits need");
  FuzzCheck(DecodeBase64(text) == bytes, "encoding then decoding gives the bytes back");

  // The same bytes fed to the stream encoder in pieces cut where the bytes say.
  TBase64StreamEncoder stream;
  std::string streamed;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::size_t piece = 1 + static_cast<unsigned char>(bytes[at]) % 7;
    stream.Feed(std::string_view(bytes).substr(at, piece), streamed);
    at += piece;
  }
  stream.Finish(streamed);
  FuzzCheck(streamed == text, "the stream encoder gives what the whole encoder gives");

  // The bytes read as base64 text.
  std::string wide, table;
  const bool was = UseWideDecoder(true);
  const std::size_t stopWide = DecodeBase64To(bytes, wide);
  UseWideDecoder(false);
  const std::size_t stopTable = DecodeBase64To(bytes, table);
  UseWideDecoder(was);
  FuzzCheck(stopWide == stopTable && wide == table, "both decoders agree");
  if (!table.empty()) {
    const std::size_t first = static_cast<unsigned char>(bytes[0]) % table.size();
    const std::size_t end = first + (table.size() - first) / 2 + 1;
    std::string span(end - first, '\0');
    DecodeBase64Span(std::string_view(bytes).substr(0, stopTable), first, end, span.data());
    FuzzCheck(span == table.substr(first, end - first), "a span decodes to its part of the whole");
  }
}
