// The in-memory clipboard.
#include "platform/Clipboard.h"

namespace kzp {

bool TMemoryClipboard::SetContents(const std::vector<TClipboardFormat> &formats) {
  if (FailSet)
    return false;
  Formats = formats;
  for (TClipboardFormat &f : Formats) {
    // Plain text loses its terminator on the way in, as a real clipboard's text does.
    if (f.Name == TextFormat) {
      size_t nul = f.Data.find('\0');
      if (nul != std::string::npos)
        f.Data.resize(nul);
    }
  }
  return true;
}

bool TMemoryClipboard::HasFormat(const std::string &name) const {
  for (const TClipboardFormat &f : Formats)
    if (f.Name == name)
      return true;
  return false;
}

std::optional<std::string> TMemoryClipboard::GetFormat(const std::string &name) const {
  if (FailGet)
    return std::nullopt;
  for (const TClipboardFormat &f : Formats)
    if (f.Name == name)
      return f.Data;
  return std::nullopt;
}

} // namespace kzp
