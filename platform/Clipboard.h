// The clipboard as the editor sees it: plain 8-bit text and formats registered by name.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kzp {

// One piece of clipboard content. `Name` is a registered format name, or TClipboard::TextFormat
// for plain text. The bytes are handed over as they are; for plain text they are 8-bit
// characters of the program's code page and may end with a NUL, which the platform drops.
struct TClipboardFormat {
  std::string Name;
  std::string Data;
};

class TClipboard {
public:
  // The name under which plain text travels.
  static constexpr const char *TextFormat = "text/plain";

  virtual ~TClipboard() = default;

  // Empties the clipboard and stores all formats together. False when the platform refused,
  // in which case the clipboard may hold nothing.
  virtual bool SetContents(const std::vector<TClipboardFormat> &formats) = 0;
  virtual bool HasFormat(const std::string &name) const = 0;
  // The bytes of a format; nothing when the format is absent or its data cannot be read.
  // Plain text comes back without a terminating NUL.
  virtual std::optional<std::string> GetFormat(const std::string &name) const = 0;
};

// A clipboard held in memory, for tests and for running without a display. Failures can be
// switched on to exercise the editor's error paths.
class TMemoryClipboard : public TClipboard {
public:
  bool SetContents(const std::vector<TClipboardFormat> &formats) override;
  bool HasFormat(const std::string &name) const override;
  std::optional<std::string> GetFormat(const std::string &name) const override;

  std::vector<TClipboardFormat> Formats;
  bool FailSet = false; // SetContents reports failure and changes nothing
  bool FailGet = false; // GetFormat cannot read data that HasFormat reports
};

} // namespace kzp
