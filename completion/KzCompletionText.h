// Formatted item text of the completion list: backslash commands for colour, style, column
// stops, gaps and images inside an entry, parsed into chunks and drawn or measured on a canvas.
#pragma once

#include "editor/KzEditTypes.h"
#include "platform/Canvas.h"

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a parsed piece is. The ordinals are the bit numbers of a strip set.
enum TFormatChunkKind : std::uint8_t { ckText, ckColor, ckStyle, ckColumn, ckHSpace, ckImage };
using TFormatChunkKinds = TKzSet<TFormatChunkKind>;

// Every command kind: what PlainTextOf strips (bit mask 62).
inline constexpr TFormatChunkKinds AllFormatCommands{ckColor, ckStyle, ckColumn, ckHSpace, ckImage};

// A style command: one of 'B', 'I', 'S', 'U'; +1 sets the style, -1 clears it, 0 toggles it.
struct TStyleChange {
  char Style = 'B';
  int Action = 0;
  bool operator==(const TStyleChange &) const = default;
};

// One parsed piece. Text only for ckText; Data is the colour (ckColor), the pixel count
// (ckHSpace) or the image index (ckImage); StyleChange only for ckStyle.
struct TFormatChunk {
  std::string Text;
  TFormatChunkKind Kind = ckText;
  std::int64_t Data = 0;
  TStyleChange StyleChange;
};

// The chunks of one entry, in order.
class TFormatChunkList {
public:
  int Count() const { return static_cast<int>(FChunks.size()); }
  const TFormatChunk &operator[](int i) const { return FChunks[static_cast<std::size_t>(i)]; }
  void Add(TFormatChunk chunk) { FChunks.push_back(std::move(chunk)); }
  void Clear() { FChunks.clear(); }
  std::vector<TFormatChunk>::const_iterator begin() const { return FChunks.begin(); }
  std::vector<TFormatChunk>::const_iterator end() const { return FChunks.end(); }

private:
  std::vector<TFormatChunk> FChunks;
};

// A column stop of formatted entries: the column is as wide as BiggestWord plus one blank in
// the font in effect when the column is left, and its text starts in DefaultFontStyle.
struct TProposalColumn {
  std::string BiggestWord = "CONSTRUCTOR";
  kzp::TFontStyles DefaultFontStyle = 0;
  void Assign(const TProposalColumn &source) { *this = source; }
};

class TProposalColumns {
public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TProposalColumn &operator[](int i) { return FItems[static_cast<std::size_t>(i)]; }
  const TProposalColumn &operator[](int i) const { return FItems[static_cast<std::size_t>(i)]; }
  TProposalColumn &Add() { return FItems.emplace_back(); }
  void Clear() { FItems.clear(); }

private:
  std::vector<TProposalColumn> FItems;
};

// The images an "IMAGE" command draws; the host supplies one if it wants images.
class TKzImageList {
public:
  virtual ~TKzImageList() = default;
  virtual int Width() const = 0;
  virtual int Count() const = 0;
  virtual void Draw(kzp::TCanvas &canvas, int x, int y, int index, bool enabled) = 0;
};

// Gives a canvas its font back when the scope ends, on every way out; optionally selects
// another font for the scope.
class TCanvasFontGuard {
public:
  explicit TCanvasFontGuard(kzp::TCanvas &canvas) : FCanvas(canvas), FFont(canvas.Font()) {}
  TCanvasFontGuard(kzp::TCanvas &canvas, const kzp::TFont &font) : TCanvasFontGuard(canvas) {
    canvas.SetFont(font);
  }
  ~TCanvasFontGuard() { FCanvas.SetFont(FFont); }
  TCanvasFontGuard(const TCanvasFontGuard &) = delete;
  TCanvasFontGuard &operator=(const TCanvasFontGuard &) = delete;

private:
  kzp::TCanvas &FCanvas;
  kzp::TFont FFont;
};

// The colour of an identifier such as "clRed" or "clBtnFace" (any case); nothing when the
// name is unknown.
std::optional<kzp::TColor> ColorOfIdent(std::string_view name);
// An integer as a command argument takes it: decimal with an optional sign, or hexadecimal
// after "$" (up to 32 bits). Nothing for anything else or a value beyond 32 bits.
std::optional<std::int64_t> ParseCommandInteger(std::string_view text);

// Appends the chunks of `text` to `list`, leaving out commands whose kind is in `strip`.
// Unknown or malformed commands are dropped without a word.
void ParseFormattedText(std::string_view text, TFormatChunkList &list, TFormatChunkKinds strip);

// Walks the chunks from rect's left edge and returns the x reached. Text is drawn with its top
// left at (x, rect.Top) unless `measureOnly`; style changes apply in both modes. The canvas
// font is restored and the brush made solid again when the walk ends.
int RenderChunks(kzp::TCanvas &canvas, const kzp::TRect &rect, const TFormatChunkList &chunks,
                 const TProposalColumns *columns, TKzImageList *images, bool measureOnly);

// Draws an entry; a selected row ignores its colour commands, so the caller's highlight
// text colour stays.
void DrawFormattedText(kzp::TCanvas &canvas, const kzp::TRect &rect, std::string_view text,
                       bool selected, const TProposalColumns *columns, TKzImageList *images);
// The width in pixels an entry takes.
int MeasureFormattedText(kzp::TCanvas &canvas, std::string_view text,
                         const TProposalColumns *columns, TKzImageList *images);
// The entry without any command: what typed text is matched against.
std::string PlainTextOf(std::string_view text);
// Appends the plain text to `out` (which is cleared first); for callers that reuse a buffer.
void PlainTextInto(std::string_view text, std::string &out);

// A parameter list (comma text) joined by blanks, the item at `current` (0-based) set in
// bold by two toggles; an index outside the list bolds nothing.
std::string BoldParameterList(std::string_view parameters, int current);
// The items of comma text: separated by commas and runs of blanks and control characters; an
// item in double quotes keeps such characters, a doubled quote inside stands for one.
std::vector<std::string> SplitCommaText(std::string_view text);
