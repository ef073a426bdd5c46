// The canvas over QPainter and QFontMetrics, and the palette read from the application.
#pragma once

#include "platform/Canvas.h"

#include <QColor>
#include <QFont>

class QPainter;
class QPaintDevice;

namespace kzp {

struct TQtFontCache;

// The Qt font for a font description (family, pixel size from the height, style flags).
QFont ToQFont(const TFont &font);
QColor ToQColor(TColor color);

// Installs a system palette taken from the application's QPalette.
void InstallQtSystemPalette();

class TQtCanvas : public TCanvas {
public:
  // Draws with an active painter (not owned); the painter's transformation stays as it is.
  explicit TQtCanvas(QPainter *painter);
  // Measures only, for the resolution of device (not owned); drawing calls are ignored.
  explicit TQtCanvas(QPaintDevice *device);
  ~TQtCanvas() override;

  int PixelsPerInch() const override;
  std::string MetricsKey() const override;

  void FillRect(const TRect &r) override;
  void Polygon(const std::vector<TPoint> &points) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void ExtTextOut(int x, int y, TTextOutOptions options, const TRect *rect, std::string_view text,
                  const int *advances) override;
  TSize TextExtent(std::string_view text) override;
  TTextMetrics TextMetrics() override;
  bool CharABCWidths(unsigned char c, TABCWidths &widths) override;

protected:
  void FontChanged() override;
  void ClipChanged() override;

private:
  TQtFontCache &Cache();
  void ApplyPen();
  QPainter *FPainter = nullptr;
  QPaintDevice *FDevice = nullptr;
  TQtFontCache *FCache = nullptr; // shared, per font description and resolution
  unsigned FCacheGeneration = 0;  // the font caches' generation FCache belongs to
};

} // namespace kzp
