// The Qt widget's side of painting and scrolling: the core's bar state on Qt's scroll bars,
// Qt's slider actions back as scroll codes, wheel events, and real pixels from paintEvent.
#include "QtApp.h"
#include "editor/KzEditGutter.h"
#include "editor/qt/KzEditWidget.h"
#include "platform/qt/QtCanvas.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

std::string Lines(int n) {
  std::string text;
  for (int i = 0; i < n; ++i)
    text += "line " + std::to_string(i + 1) + (i + 1 < n ? "\r\n" : "");
  return text;
}

// Gives the widget its size and lets Qt show it, so its scroll bars and viewport exist.
void ShowSized(TKzEdit &w, int width, int height) {
  w.resize(width, height);
  w.show();
  QApplication::processEvents();
}

} // namespace

TEST(WidgetPaint, QtBarsShowTheComputedRangePageAndPosition) {
  EnsureQtApp();
  TKzEdit w;
  ShowSized(w, 400, 300);
  TCustomKzEdit &e = w.Editor();
  e.SetText(Lines(100));
  e.SetTopLine(7);
  const TKzScrollBarState &v = e.VertScrollBar();
  QScrollBar *bar = w.verticalScrollBar();
  EXPECT_EQ(bar->minimum(), 1);
  EXPECT_EQ(bar->maximum(), v.Max - v.Page + 1); // Qt's maximum is the last thumb position
  EXPECT_EQ(bar->pageStep(), e.LinesInWindow());
  EXPECT_EQ(bar->value(), 7);
  EXPECT_TRUE(bar->isEnabled());
  EXPECT_EQ(w.horizontalScrollBar()->maximum(), 1024 - e.CharsInWindow() + 1);
  // A short text leaves the bar in place but disabled.
  e.SetText(Lines(2));
  EXPECT_FALSE(bar->isEnabled());
  EXPECT_EQ(w.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST(WidgetPaint, SliderActionsAndWheelMoveTheView) {
  EnsureQtApp();
  TKzEdit w;
  ShowSized(w, 400, 300);
  TCustomKzEdit &e = w.Editor();
  e.SetText(Lines(300));
  w.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(e.TopLine(), 2);
  w.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(e.TopLine(), 2 + e.LinesInWindow());
  EXPECT_EQ(w.verticalScrollBar()->value(), e.TopLine());
  w.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(e.TopLine(), 300 - e.LinesInWindow() + 1);
  w.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(e.LeftChar(), 2);

  e.SetTopLine(50);
  QWheelEvent wheel(QPointF(50, 50), w.mapToGlobal(QPoint(50, 50)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w.viewport(), &wheel);
  EXPECT_EQ(e.TopLine(), 50 + QApplication::wheelScrollLines());
}

TEST(WidgetPaint, PaintEventDrawsGutterTextAndBackground) {
  EnsureQtApp();
  TKzEdit w;
  ShowSized(w, 300, 200);
  TCustomKzEdit &e = w.Editor();
  e.SetText("MMMM");
  e.Gutter().SetColor(kzp::clRed);
  e.SetColor(kzp::clYellow);
  QImage img = w.viewport()->grab().toImage();
  EXPECT_EQ(img.pixel(5, 50), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(28, 50), qRgb(255, 255, 0)); // middle border in the editor colour
  EXPECT_EQ(img.pixel(29, 50), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(250, 100), qRgb(255, 255, 0));
  // The text ink lies inside its four cells.
  int from = 1000, to = -1;
  for (int y = 0; y < e.LineHeight(); ++y)
    for (int x = 32; x < 200; ++x)
      if (img.pixel(x, y) != qRgb(255, 255, 0)) {
        from = std::min(from, x);
        to = std::max(to, x);
      }
  EXPECT_GE(from, 32);
  EXPECT_LT(to, 32 + 4 * e.CharWidth());
  EXPECT_GT(to, 32 + 3 * e.CharWidth());
}
