// A canvas with fixed font metrics that records every drawing call, for exact tests.
#pragma once

#include "platform/Canvas.h"

#include <array>
#include <string>
#include <vector>

namespace kzp {

// Metrics of one font style on the fixed canvas; every character is CharWidth wide.
struct TFixedMetrics {
  int CharWidth = 8;
  int Height = 16;
  int Ascent = 13;
  int InternalLeading = 3;
  int ExternalLeading = 0;
  int Overhang = 0;
  int AveCharWidth = 8;
  bool HasABC = true; // false: CharABCWidths fails, as for fonts without outline data
};

enum class TCanvasOp { FillRect, Polygon, Line, Text };

// One recorded call with the canvas state in force when it was made.
struct TCanvasCall {
  TCanvasOp Op = TCanvasOp::FillRect;
  TRect Rect; // the rectangle; for Text the ExtTextOut rectangle (if any)
  bool HasRect = false;
  int X = 0, Y = 0;           // Text position, or the start of a Line
  int X2 = 0, Y2 = 0;         // end of a Line (not painted)
  std::vector<TPoint> Points; // Polygon
  std::string Text;
  std::vector<int> Advances; // empty when the font's own widths were used
  TTextOutOptions Options = 0;
  TFont Font;
  TPen Pen;
  TBrush Brush;
  TTextAlign Align = TTextAlign::taTop;
  bool HasClip = false;
  TRect Clip;
};

class TFixedCanvas : public TCanvas {
public:
  explicit TFixedCanvas(const TFixedMetrics &metrics = {});

  // Metrics per style (index = style & 15); all equal unless a test changes one.
  std::array<TFixedMetrics, 16> PerStyle;
  void SetAllMetrics(const TFixedMetrics &metrics);

  std::vector<TCanvasCall> Calls;
  void ClearCalls() { Calls.clear(); }
  // The recorded calls of one kind, in order.
  std::vector<TCanvasCall> CallsOf(TCanvasOp op) const;
  // The concatenated text of all Text calls whose top y equals y (any y when y < 0).
  std::string TextAt(int y = -1) const;

  int PixelsPerInch() const override { return FPixelsPerInch; }
  void SetPixelsPerInch(int ppi) { FPixelsPerInch = ppi; }
  std::string MetricsKey() const override;

  void FillRect(const TRect &r) override;
  void Polygon(const std::vector<TPoint> &points) override;
  void Line(int x1, int y1, int x2, int y2) override;
  void ExtTextOut(int x, int y, TTextOutOptions options, const TRect *rect, std::string_view text,
                  const int *advances) override;
  TSize TextExtent(std::string_view text) override;
  TTextMetrics TextMetrics() override;
  bool CharABCWidths(unsigned char c, TABCWidths &widths) override;

private:
  const TFixedMetrics &Current() const { return PerStyle[Font().Style & 15]; }
  TCanvasCall Record(TCanvasOp op) const;
  int FPixelsPerInch = 96;
};

} // namespace kzp
