// The system clipboard through Qt.
#pragma once

#include "platform/Clipboard.h"

namespace kzp {

class TQtClipboard : public TClipboard {
public:
  bool SetContents(const std::vector<TClipboardFormat> &formats) override;
  bool HasFormat(const std::string &name) const override;
  std::optional<std::string> GetFormat(const std::string &name) const override;

  // The MIME type under which a named format travels; Qt's own spelling for a format
  // registered by name on Windows, so other programs there see the same name.
  static std::string MimeTypeOf(const std::string &name);
};

} // namespace kzp
