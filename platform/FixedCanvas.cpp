// The recording test canvas.
#include "platform/FixedCanvas.h"

namespace kzp {

namespace {

std::array<TFixedMetrics, 16> Filled(const TFixedMetrics &metrics) {
  std::array<TFixedMetrics, 16> all;
  for (TFixedMetrics &m : all)
    m = metrics;
  return all;
}

} // namespace

TFixedCanvas::TFixedCanvas(const TFixedMetrics &metrics) : PerStyle(Filled(metrics)) {}

void TFixedCanvas::SetAllMetrics(const TFixedMetrics &metrics) { PerStyle = Filled(metrics); }

std::vector<TCanvasCall> TFixedCanvas::CallsOf(TCanvasOp op) const {
  std::vector<TCanvasCall> out;
  for (const auto &c : Calls)
    if (c.Op == op)
      out.push_back(c);
  return out;
}

std::string TFixedCanvas::TextAt(int y) const {
  std::string out;
  for (const auto &c : Calls)
    if (c.Op == TCanvasOp::Text && (y < 0 || c.Y == y))
      out += c.Text;
  return out;
}

std::string TFixedCanvas::MetricsKey() const {
  // Two canvases with equal metrics measure alike, so the key is the metrics themselves.
  std::string key = "fixed:" + std::to_string(FPixelsPerInch);
  for (const auto &m : PerStyle) {
    key += ':';
    for (int v : {m.CharWidth, m.Height, m.Ascent, m.InternalLeading, m.ExternalLeading, m.Overhang,
                  m.AveCharWidth, m.HasABC ? 1 : 0}) {
      key += std::to_string(v);
      key += ',';
    }
  }
  return key;
}

TCanvasCall TFixedCanvas::Record(TCanvasOp op) const {
  TCanvasCall c;
  c.Op = op;
  c.Font = Font();
  c.Pen = Pen();
  c.Brush = Brush();
  c.Align = TextAlign();
  c.HasClip = HasClip();
  c.Clip = ClipRect();
  return c;
}

void TFixedCanvas::FillRect(const TRect &r) {
  TCanvasCall c = Record(TCanvasOp::FillRect);
  c.Rect = r;
  c.HasRect = true;
  Calls.push_back(std::move(c));
}

void TFixedCanvas::Polygon(const std::vector<TPoint> &points) {
  TCanvasCall c = Record(TCanvasOp::Polygon);
  c.Points = points;
  Calls.push_back(std::move(c));
}

void TFixedCanvas::Line(int x1, int y1, int x2, int y2) {
  TCanvasCall c = Record(TCanvasOp::Line);
  c.X = x1;
  c.Y = y1;
  c.X2 = x2;
  c.Y2 = y2;
  Calls.push_back(std::move(c));
}

void TFixedCanvas::ExtTextOut(int x, int y, TTextOutOptions options, const TRect *rect,
                              std::string_view text, const int *advances) {
  TCanvasCall c = Record(TCanvasOp::Text);
  c.X = x;
  c.Y = y;
  c.Options = options;
  if (rect) {
    c.Rect = *rect;
    c.HasRect = true;
  }
  c.Text.assign(text);
  if (advances)
    c.Advances.assign(advances, advances + text.size());
  Calls.push_back(std::move(c));
}

TSize TFixedCanvas::TextExtent(std::string_view text) {
  const TFixedMetrics &m = Current();
  return {static_cast<int>(text.size()) * m.CharWidth + (text.empty() ? 0 : m.Overhang), m.Height};
}

TTextMetrics TFixedCanvas::TextMetrics() {
  const TFixedMetrics &m = Current();
  TTextMetrics tm;
  tm.Height = m.Height;
  tm.Ascent = m.Ascent;
  tm.Descent = m.Height - m.Ascent;
  tm.InternalLeading = m.InternalLeading;
  tm.ExternalLeading = m.ExternalLeading;
  tm.AveCharWidth = m.AveCharWidth;
  tm.MaxCharWidth = m.CharWidth;
  tm.Overhang = m.Overhang;
  return tm;
}

bool TFixedCanvas::CharABCWidths(unsigned char, TABCWidths &widths) {
  const TFixedMetrics &m = Current();
  if (!m.HasABC)
    return false;
  widths = {0, m.CharWidth, 0};
  return true;
}

} // namespace kzp
