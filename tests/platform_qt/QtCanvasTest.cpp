// The Qt canvas on an off-screen image: exact pixels for fills and lines, glyphs inside their
// forced cells, and Windows-1252 text.
#include "platform/qt/QtCanvas.h"
#include "QtApp.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>

#include <gtest/gtest.h>

#include <utility>

using namespace kzp;

namespace {

QImage WhiteImage(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

// The columns [from, to) that hold any non-white pixel.
std::pair<int, int> InkColumns(const QImage &img) {
  int from = img.width(), to = -1;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (img.pixel(x, y) != qRgb(255, 255, 255)) {
        from = std::min(from, x);
        to = std::max(to, x + 1);
      }
  return {from, to};
}

} // namespace

TEST(QtCanvas, FillsFramesAndLinesHitExactPixels) {
  EnsureQtApp();
  QImage img = WhiteImage(40, 40);
  {
    QPainter p(&img);
    TQtCanvas c(&p);
    c.SetBrushColor(clRed);
    c.FillRect({2, 3, 6, 5});
    c.SetBrushColor(RGBColor(0, 0, 255));
    c.FrameRect({10, 10, 20, 20});
    c.SetPenColor(clGreen);
    c.MoveTo(30, 0);
    c.LineTo(30, 10); // end point not painted
  }
  EXPECT_EQ(img.pixel(2, 3), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(5, 4), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(6, 4), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(5, 5), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(10, 15), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(19, 19), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(15, 15), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(30, 9), qRgb(0, 128, 0));
  EXPECT_EQ(img.pixel(30, 10), qRgb(255, 255, 255));
}

// A rectangle is filled with the brush and outlined with the pen just inside its edges: all
// four corners are painted, nothing outside is.
TEST(QtCanvas, RectangleOutlinesEveryEdgePixelInsideItsBounds) {
  EnsureQtApp();
  QImage img = WhiteImage(20, 20);
  {
    QPainter p(&img);
    TQtCanvas c(&p);
    c.SetBrushColor(clYellow);
    c.SetPen({clBlue, 1, TPenStyle::psSolid});
    c.Rectangle({4, 5, 10, 12});
    c.SetBrushStyle(TBrushStyle::bsClear);
    c.Rectangle({13, 2, 16, 4});
  }
  const QRgb blue = qRgb(0, 0, 255), yellow = qRgb(255, 255, 0), white = qRgb(255, 255, 255);
  for (auto [x, y] : {std::pair{4, 5}, {9, 5}, {9, 11}, {4, 11}, {7, 5}, {9, 8}, {6, 11}, {4, 9}})
    EXPECT_EQ(img.pixel(x, y), blue) << x << "," << y;
  EXPECT_EQ(img.pixel(5, 6), yellow);
  EXPECT_EQ(img.pixel(8, 10), yellow);
  for (auto [x, y] : {std::pair{3, 5}, {10, 5}, {4, 4}, {4, 12}, {10, 12}})
    EXPECT_EQ(img.pixel(x, y), white) << x << "," << y;
  // With a clear brush only the outline: a 3 x 2 rectangle is all edge.
  for (int x = 13; x < 16; ++x)
    for (int y = 2; y < 4; ++y)
      EXPECT_EQ(img.pixel(x, y), blue) << x << "," << y;
  EXPECT_EQ(img.pixel(16, 3), white);
}

TEST(QtCanvas, ClipLimitsDrawingAndRestoreLiftsIt) {
  EnsureQtApp();
  QImage img = WhiteImage(20, 20);
  {
    QPainter p(&img);
    TQtCanvas c(&p);
    c.SaveState();
    c.SetClipRect({0, 0, 5, 5});
    c.SetBrushColor(clBlack);
    c.FillRect({0, 0, 20, 20});
    c.RestoreState();
    c.SetBrushColor(clBlue);
    c.FillRect({15, 15, 20, 20});
  }
  EXPECT_EQ(img.pixel(4, 4), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(5, 5), qRgb(255, 255, 255));
  EXPECT_EQ(img.pixel(16, 16), qRgb(0, 0, 255));
}

TEST(QtCanvas, TextWithAdvancesStaysInsideItsCellsOverAnOpaqueBackground) {
  EnsureQtApp();
  QImage img = WhiteImage(200, 30);
  TFont f;
  f.Name = "Courier New";
  f.Height = -13;
  f.Color = clBlack;
  int cellHeight = 0;
  {
    QPainter p(&img);
    TQtCanvas c(&p);
    c.SetFont(f);
    cellHeight = c.TextMetrics().Height;
    int adv[3] = {30, 30, 30};
    c.ExtTextOut(60, 2, 0, nullptr, "|||", adv);
  }
  EXPECT_GT(cellHeight, 10);
  auto [from, to] = InkColumns(img);
  // Three bars 30 px apart: ink starts in the first cell and ends inside the third.
  EXPECT_GE(from, 60);
  EXPECT_LT(from, 90);
  EXPECT_GE(to, 120);
  EXPECT_LE(to, 150);
  // Ink in the second cell proves the advance was used rather than the font's own width.
  bool second = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 90; x < 120; ++x)
      second |= img.pixel(x, y) != qRgb(255, 255, 255);
  EXPECT_TRUE(second);

  QImage bg = WhiteImage(40, 20);
  {
    QPainter p(&bg);
    TQtCanvas c(&p);
    c.SetFont(f);
    c.SetBrushColor(clYellow);
    TRect r{0, 0, 40, 20};
    int adv[1] = {8};
    c.ExtTextOut(0, 0, etoOpaque, &r, " ", adv);
  }
  EXPECT_EQ(bg.pixel(39, 19), qRgb(255, 255, 0));
}

TEST(QtCanvas, MetricsOfTheMonospacedEditorFont) {
  EnsureQtApp();
  QImage img = WhiteImage(10, 10);
  TQtCanvas c(&img);
  TFont f;
  f.Name = "Courier New";
  f.Height = -13;
  c.SetFont(f);
  TABCWidths m, i;
  ASSERT_TRUE(c.CharABCWidths('M', m));
  ASSERT_TRUE(c.CharABCWidths('i', i));
  EXPECT_EQ(m.Sum(), i.Sum()); // fixed pitch
  // A text measures as the cells it is drawn in.
  EXPECT_EQ(c.TextWidth("MMMM"), 4 * m.Sum());
  TTextMetrics tm = c.TextMetrics();
  EXPECT_EQ(tm.Height, tm.Ascent + tm.Descent);
  EXPECT_GT(tm.AveCharWidth, 0);
  // Windows-1252 text measures like its Unicode twin: the euro sign (0x80) and a-umlaut.
  EXPECT_EQ(c.TextWidth("\x80\xE4"), c.TextWidth("MM"));
  EXPECT_GT(c.TextWidth("\x80"), 0);
}

TEST(QtCanvas, ProportionalTextMeasuresAsItIsDrawnSoPiecesJoinWithoutOverlap) {
  EnsureQtApp();
  TFont f;
  f.Name = "Arial";
  f.Height = -11;
  f.Style = fsBold;
  f.Color = clBlack;
  QImage img = WhiteImage(200, 20);
  QPainter p(&img);
  TQtCanvas c(&p);
  c.SetFont(f);
  c.SetBrushStyle(TBrushStyle::bsClear);
  // Pieces of formatted text are drawn one after the other at the measured widths.
  EXPECT_EQ(c.TextWidth("msg_count"), c.TextWidth("msg_") + c.TextWidth("count"));
  EXPECT_EQ(c.TextWidth("AVAWAy"), c.TextWidth("AV") + c.TextWidth("AW") + c.TextWidth("Ay"));
  c.TextOut(0, 2, "msg_count");
  p.end();
  EXPECT_LE(InkColumns(img).second, c.TextWidth("msg_count") + 1);
}

TEST(QtCanvas, InstalledPaletteComesFromTheApplication) {
  EnsureQtApp();
  InstallQtSystemPalette();
  QColor base = QApplication::palette().color(QPalette::Base);
  EXPECT_EQ(ColorToRGB(clWindow), RGBColor(base.red(), base.green(), base.blue()));
  SetSystemPalette(nullptr);
}
