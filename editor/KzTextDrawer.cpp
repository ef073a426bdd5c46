// The grid text drawer and the program-wide font stock.
#include "editor/KzTextDrawer.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <map>
#include <optional>
#include <tuple>

namespace {

const char *const kNoBaseFont = "SetBaseFont: 'Value' must be specified.";

// The base description: style and colour play no part in which font it is.
kzp::TFont BaseOf(const kzp::TFont &f) {
  kzp::TFont b = f;
  b.Style = 0;
  b.Color = kzp::clWindowText;
  return b;
}

} // namespace

// One font's variants. Metrics are kept per kind of device, since the same font measures
// differently on the screen and on a printer.
struct TheSharedFont {
  kzp::TFont Base;
  std::map<std::string, std::array<std::optional<TheFontMetrics>, 16>> Measured;
};

namespace {

struct TheFontKey {
  std::string Name;
  int Height;
  int Charset;
  bool operator<(const TheFontKey &o) const {
    return std::tie(Name, Height, Charset) < std::tie(o.Name, o.Height, o.Charset);
  }
};

// Never destroyed: a stock that lives in a static object may release its font after the
// static destructors have run, and the release looks the font up here.
std::map<TheFontKey, std::weak_ptr<TheSharedFont>> &SharedFonts() {
  static auto *const fonts = new std::map<TheFontKey, std::weak_ptr<TheSharedFont>>;
  return *fonts;
}

std::shared_ptr<TheSharedFont> AcquireShared(const kzp::TFont &font) {
  auto &fonts = SharedFonts();
  TheFontKey key{font.Name, font.Height, font.Charset};
  auto it = fonts.find(key);
  if (it != fonts.end())
    if (auto shared = it->second.lock())
      return shared;
  auto shared =
      std::shared_ptr<TheSharedFont>(new TheSharedFont{BaseOf(font), {}}, [key](TheSharedFont *p) {
        auto &all = SharedFonts();
        auto found = all.find(key);
        if (found != all.end() && found->second.expired())
          all.erase(found);
        delete p;
      });
  fonts[key] = shared;
  return shared;
}

} // namespace

// ---- TheFontStock ----

TheFontStock::TheFontStock(const kzp::TFont *baseFont) { SetBaseFont(baseFont); }

TheFontStock::~TheFontStock() = default;

void TheFontStock::SetBaseFont(const kzp::TFont *value) {
  if (!value)
    throw EKzTextDrawerError(kNoBaseFont);
  if (FShared && FShared->Base.SameBase(*value))
    return;
  FShared = AcquireShared(*value);
}

const kzp::TFont &TheFontStock::BaseFont() const { return FShared->Base; }

void TheFontStock::SetStyle(kzp::TFontStyles style) { FStyle = style & 15; }

kzp::TFont TheFontStock::VariantFont(kzp::TFontStyles style) const {
  kzp::TFont f = FShared->Base;
  f.Style = style & 15;
  return f;
}

const TheFontMetrics &TheFontStock::Metrics(kzp::TCanvas &canvas, kzp::TFontStyles style) {
  style &= 15;
  auto &slot = FShared->Measured[canvas.MetricsKey()][style];
  if (!slot) {
    canvas.SaveState();
    kzp::TFont f = VariantFont(style);
    f.Color = canvas.Font().Color;
    canvas.SetFont(f);
    kzp::TTextMetrics tm = canvas.TextMetrics();
    kzp::TABCWidths abc;
    int advance = canvas.CharABCWidths('M', abc) ? abc.Sum() : tm.AveCharWidth;
    canvas.RestoreState();
    TheFontMetrics m;
    m.Overhang = tm.Overhang;
    m.CharAdvance = advance + tm.Overhang;
    m.Height = tm.Height;
    m.Ascent = tm.Ascent;
    slot = m;
  }
  return *slot;
}

long TheFontStock::ShareCount() const { return FShared.use_count(); }

int TheFontStock::SharedFontCount() {
  int n = 0;
  for (const auto &[key, weak] : SharedFonts())
    if (!weak.expired())
      ++n;
  return n;
}

int TheFontStock::MeasuredVariants() const {
  int n = 0;
  for (const auto &[device, variants] : FShared->Measured)
    for (const auto &v : variants)
      if (v)
        ++n;
  return n;
}

// ---- TheTextDrawer ----

TheTextDrawer::TheTextDrawer(kzp::TFontStyles calcExtentBaseStyle, const kzp::TFont &baseFont)
    : FStock(&baseFont), FBaseStyle(calcExtentBaseStyle & 15) {
  FStock.SetStyle(FBaseStyle);
}

void TheTextDrawer::SetBaseFont(const kzp::TFont *value) {
  if (!value)
    throw EKzTextDrawerError(kNoBaseFont);
  FStock.SetBaseFont(value);
  ApplyFont();
}

void TheTextDrawer::SetBaseStyle(kzp::TFontStyles style) { FBaseStyle = style & 15; }

void TheTextDrawer::CalcExtent(kzp::TCanvas &canvas, unsigned boldItalicMask) {
  if ((boldItalicMask & 15) == 0)
    boldItalicMask = 1u << (FBaseStyle & 3);
  int width = 0, height = 0, overhang = 0;
  for (unsigned combination = 0; combination < 4; ++combination) {
    if (!(boldItalicMask & (1u << combination)))
      continue;
    const TheFontMetrics &m = FStock.Metrics(canvas, static_cast<kzp::TFontStyles>(combination));
    width = std::max(width, m.CharAdvance);
    height = std::max(height, m.Height);
    overhang = std::max(overhang, m.Overhang);
  }
  FCharWidth = std::max(1, width);
  FCharHeight = std::max(1, height);
  FOverhang = overhang;
}

void TheTextDrawer::BeginDrawing(kzp::TCanvas *canvas) {
  assert(canvas && "BeginDrawing needs a canvas");
  if (FDrawingCount == 0) {
    FCanvas = canvas;
    FCanvas->SaveState();
    ApplyFont();
    FCanvas->SetBrushColor(FBackColor);
  } else {
    assert(canvas == FCanvas && "nested BeginDrawing on another canvas");
  }
  ++FDrawingCount;
}

void TheTextDrawer::EndDrawing() {
  assert(FDrawingCount > 0 && "EndDrawing without BeginDrawing");
  if (FDrawingCount <= 0)
    return;
  if (--FDrawingCount == 0) {
    FCanvas->RestoreState();
    FCanvas = nullptr;
  }
}

void TheTextDrawer::ApplyFont() {
  if (!FCanvas)
    return;
  kzp::TFont f = FStock.VariantFont(FStock.Style());
  f.Color = FForeColor;
  FCanvas->SetFont(f);
}

void TheTextDrawer::SetStyle(kzp::TFontStyles style) {
  style &= 15;
  if (style == FStock.Style())
    return;
  FStock.SetStyle(style);
  if (FCanvas)
    FCanvas->SetFontStyle(style);
}

void TheTextDrawer::SetForeColor(kzp::TColor color) {
  FForeColor = color;
  if (FCanvas)
    FCanvas->SetFontColor(color);
}

void TheTextDrawer::SetBackColor(kzp::TColor color) {
  FBackColor = color;
  if (FCanvas)
    FCanvas->SetBrushColor(color);
}

void TheTextDrawer::ExtTextOut(int x, int y, kzp::TTextOutOptions options, const kzp::TRect &rect,
                               std::string_view text) {
  assert(FCanvas && "drawing outside BeginDrawing/EndDrawing");
  if (!FCanvas)
    return;
  if (FAdvances.size() < text.size())
    FAdvances.resize(std::max<size_t>(text.size(), 256), FCharWidth);
  std::fill(FAdvances.begin(), FAdvances.begin() + static_cast<std::ptrdiff_t>(text.size()),
            FCharWidth);
  FCanvas->ExtTextOut(x, y, options, &rect, text, FAdvances.data());
}

void TheTextDrawer::TextOut(int x, int y, std::string_view text) {
  kzp::TRect r{x, y, x + static_cast<int>(text.size()) * FCharWidth, y + FCharHeight};
  ExtTextOut(x, y, 0, r, text);
}
