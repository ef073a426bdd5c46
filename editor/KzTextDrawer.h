// The character grid the editor draws on, and the shared stock of font style variants.
#pragma once

#include "platform/Canvas.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Raised when the drawer or the font stock is given no base font.
class EKzTextDrawerError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Cell metrics of one style variant of a font on one kind of device.
struct TheFontMetrics {
  int CharAdvance = 0; // advance of "M" (ABC sum, else the average width) plus the overhang
  int Overhang = 0;
  int Height = 0; // the font's cell height
  int Ascent = 0;
};

struct TheSharedFont;

// One font with up to 16 style variants (bold, italic, underline, strike-out). Fonts whose
// descriptions differ only in style or colour share one entry with every other stock in the
// program; the entry lives as long as some stock refers to it.
class TheFontStock {
public:
  explicit TheFontStock(const kzp::TFont *baseFont);
  ~TheFontStock();
  TheFontStock(const TheFontStock &) = delete;
  TheFontStock &operator=(const TheFontStock &) = delete;

  // Raises "SetBaseFont: 'Value' must be specified." for nullptr.
  void SetBaseFont(const kzp::TFont *value);
  const kzp::TFont &BaseFont() const;

  // The variant in use; its font is the base font with that style.
  void SetStyle(kzp::TFontStyles style);
  kzp::TFontStyles Style() const { return FStyle; }
  kzp::TFont VariantFont(kzp::TFontStyles style) const;
  // Metrics of a variant on the canvas's kind of device, measured on first use.
  const TheFontMetrics &Metrics(kzp::TCanvas &canvas, kzp::TFontStyles style);

  // How many stocks use this stock's shared font; how many shared fonts exist in the program.
  long ShareCount() const;
  static int SharedFontCount();
  // How many variants were measured so far on any device (for tests of the caching).
  int MeasuredVariants() const;

private:
  std::shared_ptr<TheSharedFont> FShared;
  kzp::TFontStyles FStyle = 0;
};

// Draws text on a fixed grid: every character advances by one cell width. Begin/EndDrawing
// bracket drawing on a canvas and nest; only the outermost pair saves and restores the
// canvas state.
class TheTextDrawer {
public:
  TheTextDrawer(kzp::TFontStyles calcExtentBaseStyle, const kzp::TFont &baseFont);

  // -- the grid --
  // Raises "SetBaseFont: 'Value' must be specified." for nullptr.
  void SetBaseFont(const kzp::TFont *value);
  const kzp::TFont &BaseFont() const { return FStock.BaseFont(); }
  // Style of the base font used for the grid when no highlighter tells which styles occur.
  void SetBaseStyle(kzp::TFontStyles style);
  kzp::TFontStyles BaseStyle() const { return FBaseStyle; }
  // Measures the grid on the canvas: the largest cell over the bold/italic combinations in
  // boldItalicMask (bit n set for the combination whose style & 3 is n: 0 plain, 1 bold,
  // 2 italic, 3 bold italic); an empty mask measures the base style's combination.
  void CalcExtent(kzp::TCanvas &canvas, unsigned boldItalicMask = 0);
  int CharWidth() const { return FCharWidth; }
  int CharHeight() const { return FCharHeight; }
  // Extra width of the widest measured variant's characters beyond the cell.
  int CharOverhang() const { return FOverhang; }

  // -- drawing --
  void BeginDrawing(kzp::TCanvas *canvas);
  void EndDrawing();
  int DrawingCount() const { return FDrawingCount; }
  kzp::TCanvas *Canvas() const { return FCanvas; }

  void SetStyle(kzp::TFontStyles style);
  kzp::TFontStyles Style() const { return FStock.Style(); }
  void SetForeColor(kzp::TColor color);
  void SetBackColor(kzp::TColor color);
  kzp::TColor ForeColor() const { return FForeColor; }
  kzp::TColor BackColor() const { return FBackColor; }

  // Text at (x, y), one cell per character; the rectangle is filled in the back colour first
  // with etoOpaque and the text clipped to it with etoClipped.
  void ExtTextOut(int x, int y, kzp::TTextOutOptions options, const kzp::TRect &rect,
                  std::string_view text);
  void TextOut(int x, int y, std::string_view text);

private:
  void ApplyFont();
  TheFontStock FStock;
  kzp::TFontStyles FBaseStyle;
  int FCharWidth = 8;
  int FCharHeight = 16;
  int FOverhang = 0;
  kzp::TCanvas *FCanvas = nullptr;
  int FDrawingCount = 0;
  kzp::TColor FForeColor = kzp::clWindowText;
  kzp::TColor FBackColor = kzp::clWindow;
  std::vector<int> FAdvances; // reused, so drawing a run allocates nothing
};
