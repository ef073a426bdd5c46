// QPainter implementation of the canvas. Text forced onto explicit advances is drawn as one
// glyph run per call, so a painted row costs a handful of calls, not one per character.
#include "platform/qt/QtCanvas.h"

#include "platform/CodePage.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPaintDevice>
#include <QPainter>
#include <QPalette>
#include <QRawFont>
#include <QVarLengthArray>

#include <map>
#include <memory>
#include <tuple>

namespace kzp {

QColor ToQColor(TColor color) {
  TColor rgb = ColorToRGB(color);
  return QColor(static_cast<int>(RedOf(rgb)), static_cast<int>(GreenOf(rgb)),
                static_cast<int>(BlueOf(rgb)));
}

QFont ToQFont(const TFont &font) {
  QFont f(QString::fromStdString(font.Name));
  // Fixed-pitch names fall back to a monospaced family where the name itself is missing.
  f.setStyleHint(font.Name.find("Courier") != std::string::npos || font.Name == "Terminal"
                     ? QFont::TypeWriter
                     : QFont::AnyStyle);
  f.setKerning(false);
  f.setBold(font.Style & fsBold);
  f.setItalic(font.Style & fsItalic);
  f.setUnderline(font.Style & fsUnderline);
  f.setStrikeOut(font.Style & fsStrikeOut);
  if (font.Height < 0) {
    f.setPixelSize(-font.Height);
  } else if (font.Height > 0) {
    // A positive height is the whole cell: scale the em size until the cell matches.
    f.setPixelSize(font.Height);
    QFontMetrics fm(f);
    if (fm.height() > 0)
      f.setPixelSize(std::max(1, font.Height * font.Height / fm.height()));
  } else {
    f.setPixelSize(13);
  }
  return f;
}

namespace {

TColor gQtPalette[25];

TColor FromQColor(const QColor &c) { return RGBColor(c.red(), c.green(), c.blue()); }

TColor QtPaletteColor(int index) {
  if (index < 0 || index >= 25)
    return clBlack;
  return gQtPalette[index];
}

} // namespace

void InstallQtSystemPalette() {
  QPalette p = QApplication::palette();
  for (int i = 0; i < 25; ++i)
    gQtPalette[i] = DefaultSystemColor(i);
  gQtPalette[clWindow & 0xFF] = FromQColor(p.color(QPalette::Base));
  gQtPalette[clWindowText & 0xFF] = FromQColor(p.color(QPalette::Text));
  gQtPalette[clBtnFace & 0xFF] = FromQColor(p.color(QPalette::Button));
  gQtPalette[clBtnText & 0xFF] = FromQColor(p.color(QPalette::ButtonText));
  gQtPalette[clBtnShadow & 0xFF] = FromQColor(p.color(QPalette::Dark));
  gQtPalette[clBtnHighlight & 0xFF] = FromQColor(p.color(QPalette::Light));
  gQtPalette[clHighlight & 0xFF] = FromQColor(p.color(QPalette::Highlight));
  gQtPalette[clHighlightText & 0xFF] = FromQColor(p.color(QPalette::HighlightedText));
  gQtPalette[clInfoBk & 0xFF] = FromQColor(p.color(QPalette::ToolTipBase));
  gQtPalette[clInfoText & 0xFF] = FromQColor(p.color(QPalette::ToolTipText));
  gQtPalette[clGrayText & 0xFF] = FromQColor(p.color(QPalette::Disabled, QPalette::Text));
  gQtPalette[clMenu & 0xFF] = FromQColor(p.color(QPalette::Window));
  gQtPalette[clMenuText & 0xFF] = FromQColor(p.color(QPalette::WindowText));
  SetSystemPalette(&QtPaletteColor);
}

// Everything derived from one font description at one resolution; fonts are few, so the
// cache lives as long as the application.
struct TQtFontCache {
  QFont Font;
  QFontMetrics Metrics;
  QRawFont Raw;
  QColor Color;
  quint32 Glyphs[256] = {};
  bool GlyphsKnown = false;
  // Whole-pixel advance of each character as text is drawn; measuring adds the same values,
  // so a piece drawn after a measured one starts where the first really ends.
  int Advances[256] = {};
  bool AdvancesKnown = false;
  const int *CharAdvances() {
    if (!AdvancesKnown) {
      for (int c = 0; c < 256; ++c)
        Advances[c] = Metrics.horizontalAdvance(QChar(static_cast<char16_t>(
            codepage::ToUnicode(static_cast<unsigned char>(c < 32 ? ' ' : c)))));
      AdvancesKnown = true;
    }
    return Advances;
  }
  TQtFontCache(const QFont &f, QPaintDevice *device) : Font(f), Metrics(f, device) {
    Raw = QRawFont::fromFont(f);
  }
};

namespace {

using TCacheKey = std::tuple<std::string, int, int, int, int>;
using TCacheMap = std::map<TCacheKey, std::unique_ptr<TQtFontCache>>;

// The map itself is never destroyed: a static map would die among the static destructors,
// possibly before an application object that is itself function-static, whose clean-up
// routine then cleared freed memory. Its fonts go in that clean-up, while the application
// still exists; a later application registers the routine anew.
bool gCleanupRegistered = false;
// Counts the clean-ups, so a canvas that outlived one does not use the font it had taken.
unsigned gCacheGeneration = 0;

TCacheMap &FontCaches() {
  static TCacheMap *const caches = new TCacheMap;
  return *caches;
}

void ReleaseFontCaches() {
  FontCaches().clear();
  gCleanupRegistered = false;
  ++gCacheGeneration;
}

int DeviceDpi(QPaintDevice *device) { return device ? device->logicalDpiY() : 96; }

} // namespace

TQtCanvas::TQtCanvas(QPainter *painter)
    : FPainter(painter), FDevice(painter ? painter->device() : nullptr) {
  if (FPainter)
    FPainter->setRenderHint(QPainter::Antialiasing, false);
}

TQtCanvas::TQtCanvas(QPaintDevice *device) : FDevice(device) {}

TQtCanvas::~TQtCanvas() = default;

int TQtCanvas::PixelsPerInch() const { return DeviceDpi(FDevice); }

std::string TQtCanvas::MetricsKey() const { return "qt:" + std::to_string(PixelsPerInch()); }

TQtFontCache &TQtCanvas::Cache() {
  if (FCache && FCacheGeneration == gCacheGeneration)
    return *FCache;
  const TFont &f = Font();
  TCacheKey key{f.Name, f.Height, f.Style & 15, f.Charset, PixelsPerInch()};
  auto &caches = FontCaches();
  auto it = caches.find(key);
  if (it == caches.end()) {
    if (!gCleanupRegistered && QCoreApplication::instance()) {
      qAddPostRoutine(&ReleaseFontCaches);
      gCleanupRegistered = true;
    }
    it = caches.emplace(key, std::make_unique<TQtFontCache>(ToQFont(f), FDevice)).first;
  }
  FCache = it->second.get();
  FCacheGeneration = gCacheGeneration;
  return *FCache;
}

void TQtCanvas::FontChanged() { FCache = nullptr; }

void TQtCanvas::ClipChanged() {
  if (!FPainter)
    return;
  if (HasClip()) {
    const TRect &r = ClipRect();
    FPainter->setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()));
  } else {
    FPainter->setClipping(false);
  }
}

void TQtCanvas::ApplyPen() {
  const TPen &p = Pen();
  if (p.Style == TPenStyle::psClear) {
    FPainter->setPen(Qt::NoPen);
    return;
  }
  QPen pen(ToQColor(p.Color));
  pen.setWidth(p.Width <= 1 ? 0 : p.Width);
  pen.setStyle(p.Style == TPenStyle::psDash  ? Qt::DashLine
               : p.Style == TPenStyle::psDot ? Qt::DotLine
                                             : Qt::SolidLine);
  FPainter->setPen(pen);
}

void TQtCanvas::FillRect(const TRect &r) {
  if (!FPainter || r.IsEmpty())
    return;
  FPainter->fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()), ToQColor(Brush().Color));
}

void TQtCanvas::Polygon(const std::vector<TPoint> &points) {
  if (!FPainter || points.size() < 2)
    return;
  QVarLengthArray<QPoint, 16> pts;
  for (const auto &p : points)
    pts.append(QPoint(p.X, p.Y));
  ApplyPen();
  if (Brush().Style == TBrushStyle::bsSolid)
    FPainter->setBrush(ToQColor(Brush().Color));
  else
    FPainter->setBrush(Qt::NoBrush);
  FPainter->drawPolygon(pts.data(), static_cast<int>(pts.size()));
  FPainter->setBrush(Qt::NoBrush);
}

void TQtCanvas::Line(int x1, int y1, int x2, int y2) {
  if (!FPainter || Pen().Style == TPenStyle::psClear)
    return;
  // The end point is not painted, so that lines drawn end to end do not overlap.
  if (x1 == x2 && y1 == y2)
    return;
  if (x1 == x2)
    y2 += y2 > y1 ? -1 : 1;
  else if (y1 == y2)
    x2 += x2 > x1 ? -1 : 1;
  ApplyPen();
  FPainter->drawLine(x1, y1, x2, y2);
}

void TQtCanvas::ExtTextOut(int x, int y, TTextOutOptions options, const TRect *rect,
                           std::string_view text, const int *advances) {
  if (!FPainter)
    return;
  if (rect && (options & etoOpaque))
    FPainter->fillRect(QRect(rect->Left, rect->Top, rect->Width(), rect->Height()),
                       ToQColor(Brush().Color));
  if (text.empty())
    return;
  TQtFontCache &cache = Cache();
  bool clipped = rect && (options & etoClipped);
  if (clipped) {
    FPainter->save();
    FPainter->setClipRect(QRect(rect->Left, rect->Top, rect->Width(), rect->Height()),
                          Qt::IntersectClip);
  }
  int baseline = TextAlign() == TTextAlign::taBaseline ? y : y + cache.Metrics.ascent();
  QColor color = ToQColor(Font().Color);

  if (cache.Raw.isValid()) {
    if (!cache.GlyphsKnown) {
      for (int c = 0; c < 256; ++c) {
        // Control characters (tab runs among them) are drawn as blank cells.
        QChar ch =
            c < 32
                ? QChar(u' ')
                : QChar(static_cast<char16_t>(codepage::ToUnicode(static_cast<unsigned char>(c))));
        quint32 glyph = 0;
        int n = 1;
        cache.Raw.glyphIndexesForChars(&ch, 1, &glyph, &n);
        cache.Glyphs[c] = glyph;
      }
      cache.GlyphsKnown = true;
    }
    QVarLengthArray<quint32, 256> glyphs(static_cast<qsizetype>(text.size()));
    QVarLengthArray<QPointF, 256> positions(static_cast<qsizetype>(text.size()));
    const int *own = advances ? nullptr : cache.CharAdvances();
    int px = x;
    for (size_t i = 0; i < text.size(); ++i) {
      unsigned char c = static_cast<unsigned char>(text[i]);
      glyphs[static_cast<qsizetype>(i)] = cache.Glyphs[c];
      positions[static_cast<qsizetype>(i)] = QPointF(px, baseline);
      px += advances ? advances[i] : own[c];
    }
    QGlyphRun run;
    run.setRawFont(cache.Raw);
    run.setRawData(glyphs.data(), positions.data(), static_cast<int>(glyphs.size()));
    run.setUnderline(Font().Style & fsUnderline);
    run.setStrikeOut(Font().Style & fsStrikeOut);
    FPainter->setPen(color);
    FPainter->drawGlyphRun(QPointF(0, 0), run);
  } else {
    FPainter->setFont(cache.Font);
    FPainter->setPen(color);
    int px = x;
    for (size_t i = 0; i < text.size(); ++i) {
      unsigned char c = static_cast<unsigned char>(text[i]);
      QString s(QChar(static_cast<char16_t>(codepage::ToUnicode(c < 32 ? ' ' : c))));
      FPainter->drawText(px, baseline, s);
      px += advances ? advances[i] : cache.Metrics.horizontalAdvance(s);
    }
  }
  if (clipped)
    FPainter->restore();
}

TSize TQtCanvas::TextExtent(std::string_view text) {
  TQtFontCache &cache = Cache();
  // The sum of the advances the text is drawn with, not the string's own (kerned, rounded
  // once) advance: otherwise text drawn after a measured piece would overlap its end.
  const int *advances = cache.CharAdvances();
  int width = 0;
  for (char ch : text)
    width += advances[static_cast<unsigned char>(ch)];
  return {width, cache.Metrics.height()};
}

TTextMetrics TQtCanvas::TextMetrics() {
  TQtFontCache &cache = Cache();
  const QFontMetrics &fm = cache.Metrics;
  TTextMetrics tm;
  tm.Height = fm.height();
  tm.Ascent = fm.ascent();
  tm.Descent = fm.descent();
  tm.InternalLeading = std::max(0, fm.height() - cache.Font.pixelSize());
  tm.ExternalLeading = std::max(0, fm.leading());
  tm.AveCharWidth = fm.averageCharWidth();
  tm.MaxCharWidth = fm.maxWidth();
  tm.Overhang = 0;
  return tm;
}

bool TQtCanvas::CharABCWidths(unsigned char c, TABCWidths &widths) {
  TQtFontCache &cache = Cache();
  QChar ch(static_cast<char16_t>(codepage::ToUnicode(c)));
  int advance = cache.Metrics.horizontalAdvance(ch);
  widths.A = cache.Metrics.leftBearing(ch);
  widths.C = cache.Metrics.rightBearing(ch);
  widths.B = advance - widths.A - widths.C;
  return true;
}

} // namespace kzp
