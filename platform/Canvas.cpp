// State handling shared by every canvas, and the colour palette.
#include "platform/Canvas.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace kzp {

namespace {

// Classic desktop colours, indexed by system colour number.
constexpr TColor kDefaultPalette[] = {
    RGBColor(212, 208, 200), // scroll bar
    RGBColor(58, 110, 165),  // desktop background
    RGBColor(10, 36, 106),   // active caption
    RGBColor(128, 128, 128), // inactive caption
    RGBColor(212, 208, 200), // menu
    RGBColor(255, 255, 255), // window
    RGBColor(0, 0, 0),       // window frame
    RGBColor(0, 0, 0),       // menu text
    RGBColor(0, 0, 0),       // window text
    RGBColor(255, 255, 255), // caption text
    RGBColor(212, 208, 200), // active border
    RGBColor(212, 208, 200), // inactive border
    RGBColor(128, 128, 128), // application work space
    RGBColor(10, 36, 106),   // highlight
    RGBColor(255, 255, 255), // highlight text
    RGBColor(212, 208, 200), // button face
    RGBColor(128, 128, 128), // button shadow
    RGBColor(128, 128, 128), // grey text
    RGBColor(0, 0, 0),       // button text
    RGBColor(212, 208, 200), // inactive caption text
    RGBColor(255, 255, 255), // button highlight
    RGBColor(64, 64, 64),    // 3-D dark shadow
    RGBColor(212, 208, 200), // 3-D light
    RGBColor(0, 0, 0),       // info text
    RGBColor(255, 255, 225), // info background
};

TSystemPalette gPalette = nullptr;

} // namespace

TColor DefaultSystemColor(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kDefaultPalette)))
    return clBlack;
  return kDefaultPalette[index];
}

void SetSystemPalette(TSystemPalette palette) { gPalette = palette; }

TColor ColorToRGB(TColor c) {
  if (c == clNone || c == clDefault)
    return clBlack;
  if (IsSystemColor(c)) {
    int index = static_cast<int>(c & 0xFF);
    return gPalette ? gPalette(index) : DefaultSystemColor(index);
  }
  return c & 0x00FFFFFF;
}

TRect TRect::Intersected(const TRect &o) const {
  TRect r{std::max(Left, o.Left), std::max(Top, o.Top), std::min(Right, o.Right),
          std::min(Bottom, o.Bottom)};
  if (r.Right < r.Left)
    r.Right = r.Left;
  if (r.Bottom < r.Top)
    r.Bottom = r.Top;
  return r;
}

int TFont::Size(int pixelsPerInch) const {
  if (pixelsPerInch <= 0)
    pixelsPerInch = 96;
  return static_cast<int>(std::lround(-Height * 72.0 / pixelsPerInch));
}

void TFont::SetSize(int points, int pixelsPerInch) {
  if (pixelsPerInch <= 0)
    pixelsPerInch = 96;
  Height = -static_cast<int>(std::lround(points * static_cast<double>(pixelsPerInch) / 72.0));
}

void TCanvas::SetFont(const TFont &font) {
  if (font == FFont)
    return;
  FFont = font;
  FontChanged();
}

void TCanvas::SetFontStyle(TFontStyles style) {
  if (FFont.Style == style)
    return;
  FFont.Style = style;
  FontChanged();
}

void TCanvas::SetFontColor(TColor color) {
  if (FFont.Color == color)
    return;
  FFont.Color = color;
  FontChanged();
}

void TCanvas::SetClipRect(const TRect &r) {
  FHasClip = true;
  FClip = r;
  ClipChanged();
}

void TCanvas::ResetClip() {
  FHasClip = false;
  FClip = {};
  ClipChanged();
}

void TCanvas::SaveState() { FSaved.push_back({FFont, FPen, FBrush, FTextAlign, FHasClip, FClip}); }

void TCanvas::RestoreState() {
  assert(!FSaved.empty() && "RestoreState without SaveState");
  if (FSaved.empty())
    return;
  TState s = std::move(FSaved.back());
  FSaved.pop_back();
  bool fontChanged = !(s.Font == FFont);
  bool clipChanged = s.HasClip != FHasClip || !(s.Clip == FClip);
  FFont = std::move(s.Font);
  FPen = s.Pen;
  FBrush = s.Brush;
  FTextAlign = s.Align;
  FHasClip = s.HasClip;
  FClip = s.Clip;
  if (fontChanged)
    FontChanged();
  if (clipChanged)
    ClipChanged();
}

void TCanvas::FrameRect(const TRect &r) {
  if (r.IsEmpty())
    return;
  FillRect({r.Left, r.Top, r.Right, r.Top + 1});
  FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
  FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
  FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
}

void TCanvas::Rectangle(const TRect &r) {
  if (r.IsEmpty())
    return;
  if (FBrush.Style == TBrushStyle::bsSolid)
    FillRect(r);
  if (FPen.Style == TPenStyle::psClear)
    return;
  // Around the corners; each line leaves out its end point, which the next line paints.
  const int right = r.Right - 1, bottom = r.Bottom - 1;
  Line(r.Left, r.Top, right, r.Top);
  Line(right, r.Top, right, bottom);
  Line(right, bottom, r.Left, bottom);
  Line(r.Left, bottom, r.Left, r.Top);
}

void TCanvas::LineTo(int x, int y) {
  Line(FPenPos.X, FPenPos.Y, x, y);
  FPenPos = {x, y};
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  if (FBrush.Style == TBrushStyle::bsSolid) {
    TSize ext = TextExtent(text);
    int top = y;
    if (FTextAlign == TTextAlign::taBaseline)
      top -= TextMetrics().Ascent;
    TRect r{x, top, x + ext.cx, top + ext.cy};
    ExtTextOut(x, y, etoOpaque, &r, text, nullptr);
  } else {
    ExtTextOut(x, y, 0, nullptr, text, nullptr);
  }
}

} // namespace kzp
