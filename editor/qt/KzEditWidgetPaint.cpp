// Painting and scrolling of the editor widget: Qt's paint, resize, wheel and scroll-bar
// events turned into calls of the core, and the core's painting services.
#include "editor/qt/KzEditWidget.h"

#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtCodePage.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

namespace {

// Every editor measures its grid on the screen's resolution through one shared canvas.
kzp::TCanvas &ScreenMeasureCanvas() {
  static QImage image(1, 1, QImage::Format_RGB32);
  static kzp::TQtCanvas canvas(&image);
  return canvas;
}

// The one hint window all editors share, created on first use and kept for the program.
QLabel &ScrollHintWindow() {
  static QPointer<QLabel> hint;
  if (!hint) {
    hint = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
    hint->setMargin(2);
    hint->setFrameStyle(QFrame::Box | QFrame::Plain);
    hint->setAutoFillBackground(true);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, hint.data(), &QObject::deleteLater);
  }
  return *hint;
}

// Qt's slider actions as the scroll-bar codes the core knows.
int ScrollCode(int action) {
  switch (action) {
  case QAbstractSlider::SliderSingleStepSub: return 0;
  case QAbstractSlider::SliderSingleStepAdd: return 1;
  case QAbstractSlider::SliderPageStepSub: return 2;
  case QAbstractSlider::SliderPageStepAdd: return 3;
  case QAbstractSlider::SliderMove: return 5;
  case QAbstractSlider::SliderToMinimum: return 6;
  case QAbstractSlider::SliderToMaximum: return 7;
  default: return -1;
  }
}

} // namespace

void TKzEdit::paintEvent(QPaintEvent *e) {
  if (!FEditor->MeasureCanvas())
    FEditor->SetMeasureCanvas(&ScreenMeasureCanvas());
  QPainter painter(viewport());
  kzp::TQtCanvas canvas(&painter);
  QRect r = e->rect();
  FEditor->Paint(canvas, {r.left(), r.top(), r.right() + 1, r.bottom() + 1});
  // The caret goes over the finished text, inverting what lies under it.
  if (CaretShown()) {
    painter.setClipRect(r);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(CaretRect(), Qt::white);
  }
}

void TKzEdit::resizeEvent(QResizeEvent *e) {
  QAbstractScrollArea::resizeEvent(e);
  if (!FEditor->MeasureCanvas())
    FEditor->SetMeasureCanvas(&ScreenMeasureCanvas()); // measures and sizes
  else
    FEditor->SizeOrFontChanged(false);
}

void TKzEdit::wheelEvent(QWheelEvent *e) {
  TShiftState shift = 0;
  if (e->modifiers() & Qt::ControlModifier)
    shift |= ssCtrl;
  if (e->modifiers() & Qt::ShiftModifier)
    shift |= ssShift;
  if (e->modifiers() & Qt::AltModifier)
    shift |= ssAlt;
  int delta = e->angleDelta().y();
  if (delta != 0)
    FEditor->MouseWheel(delta, shift);
  e->accept();
}

// The core moves the view itself; Qt's own scrolling of the viewport is not used.
void TKzEdit::scrollContentsBy(int, int) {}

void TKzEdit::VerticalScrollAction(int action) {
  int code = ScrollCode(action);
  if (code >= 0)
    FEditor->ScrollBarMessage(true, code, verticalScrollBar()->sliderPosition());
}

void TKzEdit::HorizontalScrollAction(int action) {
  int code = ScrollCode(action);
  if (code >= 0)
    FEditor->ScrollBarMessage(false, code, horizontalScrollBar()->sliderPosition());
}

void TKzEdit::ConnectScrollBars() {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
          &TKzEdit::VerticalScrollAction);
  connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
          &TKzEdit::HorizontalScrollAction);
  // Releasing the thumb ends the scrolling: the last position, then the end code.
  connect(verticalScrollBar(), &QAbstractSlider::sliderReleased, this, [this] {
    FEditor->ScrollBarMessage(true, 4, verticalScrollBar()->sliderPosition());
    FEditor->ScrollBarMessage(true, 8, 0);
  });
  connect(horizontalScrollBar(), &QAbstractSlider::sliderReleased, this, [this] {
    FEditor->ScrollBarMessage(false, 4, horizontalScrollBar()->sliderPosition());
    FEditor->ScrollBarMessage(false, 8, 0);
  });
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  kzp::InstallQtSystemPalette();
  FEditor->SetMeasureCanvas(&ScreenMeasureCanvas());
}

void TKzEdit::InvalidateRect(int left, int top, int right, int bottom) {
  if (right > left && bottom > top)
    viewport()->update(left, top, right - left, bottom - top);
}

void TKzEdit::InvalidateAll() { viewport()->update(); }

void TKzEdit::ScrollPixels(int dx, int dy, int left, int top, int right, int bottom) {
  viewport()->scroll(dx, dy, QRect(left, top, right - left, bottom - top));
}

// Paints what is pending now rather than at the next turn of the event loop.
void TKzEdit::UpdateNow() { QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest); }

void TKzEdit::SetScrollBar(bool vertical, const TKzScrollBarState &state) {
  QScrollBar *bar = vertical ? verticalScrollBar() : horizontalScrollBar();
  // Qt's maximum is the last thumb position; the bar's range end is one page further.
  const QSignalBlocker blocker(bar);
  bar->setRange(state.Min, std::max(state.Min, state.Max - std::max(state.Page, 1) + 1));
  bar->setPageStep(std::max(state.Page, 1));
  bar->setSingleStep(1);
  bar->setValue(state.Pos);
  // Qt cannot disable one arrow alone; a bar whose arrows are both off is shown disabled.
  bar->setEnabled(state.Enabled && (state.FirstArrowEnabled || state.SecondArrowEnabled));
  Qt::ScrollBarPolicy policy = state.Visible ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  if (vertical) {
    if (verticalScrollBarPolicy() != policy)
      setVerticalScrollBarPolicy(policy);
  } else if (horizontalScrollBarPolicy() != policy) {
    setHorizontalScrollBarPolicy(policy);
  }
}

int TKzEdit::ScrollBarTrackPos(bool vertical) const {
  return vertical ? verticalScrollBar()->sliderPosition() : horizontalScrollBar()->sliderPosition();
}

int TKzEdit::ScrollArrowHeight() const { return style()->pixelMetric(QStyle::PM_ScrollBarExtent); }

void TKzEdit::ShowScrollHint(const std::string &text, int x, int y, std::uint32_t colour) {
  QLabel &hint = ScrollHintWindow();
  QPalette pal = hint.palette();
  pal.setColor(QPalette::Window, kzp::ToQColor(colour));
  pal.setColor(QPalette::WindowText, kzp::ToQColor(kzp::clInfoText));
  hint.setPalette(pal);
  hint.setText(kzp::codepage::ToQString(text));
  hint.setMaximumWidth(200);
  hint.adjustSize();
  hint.move(viewport()->mapToGlobal(QPoint(x, y)));
  hint.show();
  hint.raise();
  hint.repaint();
}

void TKzEdit::HideScrollHint() {
  if (QApplication::instance())
    ScrollHintWindow().hide();
}

int TKzEdit::WheelScrollLines() const { return QApplication::wheelScrollLines(); }
