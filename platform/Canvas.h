// The one drawing surface that the editor, the completion list and the print job paint on.
#pragma once

#include "platform/Colors.h"

#include <string>
#include <string_view>
#include <vector>

namespace kzp {

// Character sets of a font description; only the default one is used by this program.
inline constexpr int DEFAULT_CHARSET = 1;

// A font as a value. Height follows the desktop convention: a negative value is the height of
// the characters without internal leading (the em size) in pixels, a positive value the height
// of the whole character cell; Size is the same in points at a given resolution.
struct TFont {
  std::string Name = "Courier New";
  int Height = -13;
  TFontStyles Style = 0;
  TColor Color = clWindowText;
  int Charset = DEFAULT_CHARSET;

  // Points, for the resolution of the device the font is used on (96 for the screen).
  int Size(int pixelsPerInch = 96) const;
  void SetSize(int points, int pixelsPerInch = 96);

  // Two fonts with the same description except style and colour are variants of one font.
  bool SameBase(const TFont &o) const {
    return Name == o.Name && Height == o.Height && Charset == o.Charset;
  }
  friend bool operator==(const TFont &, const TFont &) = default;
};

enum class TPenStyle { psSolid, psDash, psDot, psClear };
struct TPen {
  TColor Color = clBlack;
  int Width = 1;
  TPenStyle Style = TPenStyle::psSolid;
  friend bool operator==(const TPen &, const TPen &) = default;
};

enum class TBrushStyle { bsSolid, bsClear };
struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
  friend bool operator==(const TBrush &, const TBrush &) = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const TSize &, const TSize &) = default;
};

// Metrics of the font currently selected into a canvas, in pixels.
struct TTextMetrics {
  int Height = 0; // ascent + descent: the character cell height
  int Ascent = 0; // baseline below the cell top
  int Descent = 0;
  int InternalLeading = 0; // room for accents inside Height
  int ExternalLeading = 0; // suggested gap between lines, outside Height
  int AveCharWidth = 0;
  int MaxCharWidth = 0;
  int Overhang = 0; // extra width that synthesised bold or italic adds to a string
};

// Widths of one character: a is the space before the glyph, b the glyph, c the space after;
// a and c may be negative. Their sum is the character's advance.
struct TABCWidths {
  int A = 0;
  int B = 0;
  int C = 0;
  int Sum() const { return A + B + C; }
};

// Where the y of a text call lies: at the top of the character cell or at the baseline.
enum class TTextAlign { taTop, taBaseline };

// Options of ExtTextOut.
using TTextOutOptions = unsigned;
inline constexpr TTextOutOptions etoOpaque = 1;  // fill the rectangle with the brush colour first
inline constexpr TTextOutOptions etoClipped = 2; // clip the text to the rectangle

// A stateful canvas: the font, pen, brush, text alignment and clip are set first and then
// used by the drawing calls. Text is 8-bit in the program's code page. Colours may be RGB or
// system colours, never clNone. Coordinates are device pixels.
class TCanvas {
public:
  TCanvas() = default;
  TCanvas(const TCanvas &) = delete;
  TCanvas &operator=(const TCanvas &) = delete;
  virtual ~TCanvas() = default;

  const TFont &Font() const { return FFont; }
  void SetFont(const TFont &font);
  void SetFontStyle(TFontStyles style);
  void SetFontColor(TColor color);
  const TPen &Pen() const { return FPen; }
  void SetPen(const TPen &pen) { FPen = pen; }
  void SetPenColor(TColor color) { FPen.Color = color; }
  const TBrush &Brush() const { return FBrush; }
  void SetBrush(const TBrush &brush) { FBrush = brush; }
  void SetBrushColor(TColor color) {
    FBrush.Color = color;
    FBrush.Style = TBrushStyle::bsSolid;
  }
  void SetBrushStyle(TBrushStyle style) { FBrush.Style = style; }
  TTextAlign TextAlign() const { return FTextAlign; }
  void SetTextAlign(TTextAlign align) { FTextAlign = align; }

  // The clip rectangle limits every drawing call; without one the whole device is drawable.
  bool HasClip() const { return FHasClip; }
  const TRect &ClipRect() const { return FClip; }
  void SetClipRect(const TRect &r);
  void ResetClip();

  // Saves font, pen, brush, alignment and clip; Restore brings back the last saved set.
  void SaveState();
  void RestoreState();
  int SavedStates() const { return static_cast<int>(FSaved.size()); }

  // Resolution of the device, for point sizes.
  virtual int PixelsPerInch() const { return 96; }
  // Identifies the metrics a device gives, so measurements can be cached per device kind.
  virtual std::string MetricsKey() const = 0;

  // Filling and outlines. FillRect fills in the brush colour; FrameRect draws a one-pixel
  // border just inside the rectangle in the brush colour; Rectangle fills with the brush
  // (unless the brush is clear), then outlines just inside the rectangle with the pen. Both
  // are made of fills and lines, so every device draws them alike.
  virtual void FillRect(const TRect &r) = 0;
  void FrameRect(const TRect &r);
  void Rectangle(const TRect &r);
  // A closed polygon, outlined with the pen and filled with the brush.
  virtual void Polygon(const std::vector<TPoint> &points) = 0;
  // Lines with the pen; LineTo does not paint its end point.
  void MoveTo(int x, int y) { FPenPos = {x, y}; }
  void LineTo(int x, int y);
  TPoint PenPos() const { return FPenPos; }
  virtual void Line(int x1, int y1, int x2, int y2) = 0;

  // Text. advances, when given, holds one x advance per byte of text and forces the
  // characters onto those positions; otherwise the font's own widths are used.
  virtual void ExtTextOut(int x, int y, TTextOutOptions options, const TRect *rect,
                          std::string_view text, const int *advances) = 0;
  // Text with the font's own widths; with a solid brush the text's cell is filled first.
  void TextOut(int x, int y, std::string_view text);
  virtual TSize TextExtent(std::string_view text) = 0;
  int TextWidth(std::string_view text) { return TextExtent(text).cx; }
  int TextHeight(std::string_view text) { return TextExtent(text).cy; }
  virtual TTextMetrics TextMetrics() = 0;
  // False when the font does not give ABC widths (the caller then uses AveCharWidth).
  virtual bool CharABCWidths(unsigned char c, TABCWidths &widths) = 0;

protected:
  // Called after the font or the clip changed, for implementations that cache device state.
  virtual void FontChanged() {}
  virtual void ClipChanged() {}

private:
  struct TState {
    TFont Font;
    TPen Pen;
    TBrush Brush;
    TTextAlign Align;
    bool HasClip;
    TRect Clip;
  };
  TFont FFont;
  TPen FPen;
  TBrush FBrush;
  TTextAlign FTextAlign = TTextAlign::taTop;
  bool FHasClip = false;
  TRect FClip;
  TPoint FPenPos;
  std::vector<TState> FSaved;
};

} // namespace kzp
