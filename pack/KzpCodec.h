// The base64 codec of the pack format: RFC 4648 alphabet, no "=" written, decoding stops at
// the first character outside the alphabet.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

std::string EncodeBase64(std::string_view bytes);

// Encodes `bytes` into `out`, replacing its content; reuses out's memory, so encoding into
// the same buffer again touches no fresh memory.
void EncodeBase64To(std::string_view bytes, std::string &out);
std::string DecodeBase64(std::string_view text);

// Decodes `text` into `out` (replacing its content) and returns the index of the character
// that stopped decoding, or text.size() when every character belonged to the alphabet.
std::size_t DecodeBase64To(std::string_view text, std::string &out);

// Writes bytes [firstByte, endByte) of what `text` decodes to into `out`, without decoding
// the bytes before them. `text` must hold only alphabet characters (DecodeBase64To gives
// where that ends), and endByte must not pass the last byte it decodes to.
void DecodeBase64Span(std::string_view text, std::size_t firstByte, std::size_t endByte, char *out);

// The decoder uses the processor's 256-bit registers where it has them. Switching that off
// (tests do, to check the table code on its own) returns the previous setting; the result
// is the same either way.
bool UseWideDecoder(bool on);

// Encodes a stream given piece by piece; the pieces together encode exactly as their
// concatenation would. Used to write a pack without first joining its records.
class TBase64StreamEncoder {
public:
  // Appends the text of every complete 3-byte group to `out`, keeping up to two bytes back.
  void Feed(std::string_view bytes, std::string &out);
  // Appends the text of the bytes kept back and starts a new stream.
  void Finish(std::string &out);

private:
  unsigned char carry_[3] = {0, 0, 0};
  std::size_t carryLength_ = 0;
};
