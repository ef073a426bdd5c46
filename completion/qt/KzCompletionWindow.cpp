// The completion pop-up on Qt: painting through the model onto two surfaces, the scroll bar,
// the sizing frame, keyboard, mouse and wheel, and the window services of the host.
#include "completion/qt/KzCompletionWindow.h"

#include "completion/KzCompletionForm.h"
#include "editor/KzEdit.h"
#include "editor/qt/KzEditWidget.h"
#include "platform/CodePage.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtKeys.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

namespace {

constexpr int kSizingFrame = 4;

enum : int { EdgeLeft = 1, EdgeTop = 2, EdgeRight = 4, EdgeBottom = 8 };

kzp::TCanvas &ScreenMeasureCanvas() {
  static QImage image(1, 1, QImage::Format_RGB32);
  static kzp::TQtCanvas canvas(&image);
  return canvas;
}

Qt::CursorShape CursorFor(int edges) {
  switch (edges) {
  case EdgeLeft:
  case EdgeRight: return Qt::SizeHorCursor;
  case EdgeTop:
  case EdgeBottom: return Qt::SizeVerCursor;
  case EdgeLeft | EdgeTop:
  case EdgeRight | EdgeBottom: return Qt::SizeFDiagCursor;
  case EdgeRight | EdgeTop:
  case EdgeLeft | EdgeBottom: return Qt::SizeBDiagCursor;
  default: return Qt::ArrowCursor;
  }
}

} // namespace

TKzCompletionWindow::TKzCompletionWindow(QWidget *parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("CPSWindow"));
  // The list paints every pixel itself.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  FScrollBar = new QScrollBar(Qt::Vertical, this);
  // The list keeps the keyboard; the bar never becomes the focused child.
  FScrollBar->setFocusPolicy(Qt::NoFocus);
  FScrollBar->setSingleStep(1);
  connect(FScrollBar, &QScrollBar::valueChanged, this, [this](int value) {
    if (!FSettingScrollBar && FForm)
      FForm->ScrollBarScrolled(value);
  });
  connect(qApp, &QGuiApplication::applicationStateChanged, this,
          &TKzCompletionWindow::ApplicationStateChanged);
}

TKzCompletionWindow::~TKzCompletionWindow() {
  // Going away is no loss of the keyboard to report.
  FHiding = true;
  FForm = nullptr;
}

// ---- host services ----

void TKzCompletionWindow::ShowWindow(bool activate) {
  if (!activate)
    setAttribute(Qt::WA_ShowWithoutActivating);
  // A pop-up stays above the other windows by itself.
  show();
  if (activate)
    TakeFocus();
}

void TKzCompletionWindow::HideWindow() {
  FHiding = true;
  FDragEdges = 0;
  hide();
  FHiding = false;
}

void TKzCompletionWindow::SetWindowBounds(int left, int top, int width, int height) {
  setGeometry(left, top, width, height);
}

void TKzCompletionWindow::FrameChanged(KzCompletionType kind, bool resizeable) {
  FKind = kind;
  FResizeable = resizeable;
  update();
}

void TKzCompletionWindow::TakeFocus() {
  if (!isVisible())
    return;
  activateWindow();
  setFocus(Qt::PopupFocusReason);
}

void TKzCompletionWindow::Invalidate() { update(); }

void TKzCompletionWindow::RepaintNow() {
  if (isVisible())
    repaint();
}

void TKzCompletionWindow::SetScrollBar(const TKzListScrollBar &bar) {
  FSettingScrollBar = true;
  const int fw = FrameWidth();
  FScrollBar->setRange(0, std::max(bar.Max, 0));
  FScrollBar->setPageStep(std::max(bar.LargeChange, 1));
  FScrollBar->setValue(bar.Position);
  FScrollBar->setEnabled(bar.Enabled);
  FScrollBar->setGeometry(fw + bar.Left, fw + bar.Top, ScrollBarWidth(), std::max(bar.Height, 0));
  FScrollBar->setVisible(bar.Visible);
  FSettingScrollBar = false;
}

int TKzCompletionWindow::SizingFrameHeight() const { return kSizingFrame; }

int TKzCompletionWindow::ScrollBarWidth() const {
  return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, FScrollBar);
}

kzp::TRect TKzCompletionWindow::DesktopRect() const {
  QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (!screen)
    return {0, 0, 1024, 768};
  const QRect r = screen->availableGeometry();
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

int TKzCompletionWindow::WheelScrollLines() const { return QApplication::wheelScrollLines(); }

kzp::TCanvas &TKzCompletionWindow::MeasureCanvas() { return ScreenMeasureCanvas(); }

bool TKzCompletionWindow::ApplicationActive() const {
  return QGuiApplication::applicationState() == Qt::ApplicationActive ||
         QApplication::activeWindow() != nullptr;
}

void TKzCompletionWindow::ProcessMessages() {
  // Paints and timers queued meanwhile; input waits, so no key is handled inside another.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

kzp::TPoint TKzCompletionWindow::EditorClientToScreen(const TCustomKzEdit &editor,
                                                      kzp::TPoint p) const {
  auto *widget = dynamic_cast<TKzEdit *>(&editor.Host());
  if (!widget)
    return p;
  const QPoint g = widget->viewport()->mapToGlobal(QPoint(p.X, p.Y));
  return {g.x(), g.y()};
}

kzp::TPoint TKzCompletionWindow::MouseCursorPos() const {
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

// ---- events ----

int TKzCompletionWindow::FrameWidth() const { return FForm ? FForm->FrameSize() / 2 : 0; }

int TKzCompletionWindow::FrameEdgesAt(const QPoint &p) const {
  if (!FResizeable || FKind != ctCode)
    return 0;
  const int fw = FrameWidth();
  int edges = 0;
  if (p.x() < fw)
    edges |= EdgeLeft;
  if (p.x() >= width() - fw)
    edges |= EdgeRight;
  if (p.y() < fw)
    edges |= EdgeTop;
  if (p.y() >= height() - fw)
    edges |= EdgeBottom;
  return edges;
}

bool TKzCompletionWindow::event(QEvent *e) {
  // Tab belongs to the list, not to focus navigation.
  if (e->type() == QEvent::KeyPress) {
    auto *k = static_cast<QKeyEvent *>(e);
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      keyPressEvent(k);
      return true;
    }
  }
  return QWidget::event(e);
}

void TKzCompletionWindow::keyPressEvent(QKeyEvent *e) {
  e->accept();
  if (!FForm)
    return;
  const kzp::TVirtualKey vk = kzp::VirtualKeyOf(*e);
  if (vk.Key != 0)
    FForm->KeyDown(vk.Key, vk.Shift);
  // The characters of the same key press follow their key-down, as they would as messages
  // of their own; a key-down that closed the list still sends them to it.
  for (QChar ch : e->text()) {
    const int c = kzp::codepage::FromUnicode(ch.unicode());
    if (c > 0)
      FForm->KeyPress(static_cast<char>(c));
  }
}

void TKzCompletionWindow::mousePressEvent(QMouseEvent *e) {
  e->accept();
  const QPoint p = e->position().toPoint();
  if (!rect().contains(p)) {
    // A press outside closes a pop-up; Qt does the hiding, hideEvent reports it.
    QWidget::mousePressEvent(e);
    return;
  }
  if (!FForm)
    return;
  if (const int edges = FrameEdgesAt(p); edges != 0 && e->button() == Qt::LeftButton) {
    FDragEdges = edges;
    FDragStart = e->globalPosition().toPoint();
    FDragGeometry = geometry();
    return;
  }
  FForm->MouseDown(p.y() - FrameWidth());
}

void TKzCompletionWindow::mouseMoveEvent(QMouseEvent *e) {
  e->accept();
  if (!FForm)
    return;
  if (FDragEdges == 0) {
    setCursor(CursorFor(FrameEdgesAt(e->position().toPoint())));
    return;
  }
  const QPoint d = e->globalPosition().toPoint() - FDragStart;
  const QRect g = FDragGeometry;
  int w = g.width(), h = g.height();
  if (FDragEdges & EdgeRight)
    w += d.x();
  if (FDragEdges & EdgeLeft)
    w -= d.x();
  if (FDragEdges & EdgeBottom)
    h += d.y();
  if (FDragEdges & EdgeTop)
    h -= d.y();
  FForm->ProposeSize(w, h);
  // The edge not dragged stays where it was.
  const int left = (FDragEdges & EdgeLeft) ? g.left() + g.width() - w : g.left();
  const int top = (FDragEdges & EdgeTop) ? g.top() + g.height() - h : g.top();
  FForm->SetBounds(left, top, w, h);
}

void TKzCompletionWindow::mouseReleaseEvent(QMouseEvent *e) {
  e->accept();
  FDragEdges = 0;
}

void TKzCompletionWindow::mouseDoubleClickEvent(QMouseEvent *e) {
  e->accept();
  const QPoint p = e->position().toPoint();
  if (FForm && rect().contains(p) && FrameEdgesAt(p) == 0 && e->button() == Qt::LeftButton)
    FForm->DoubleClick();
}

void TKzCompletionWindow::wheelEvent(QWheelEvent *e) {
  e->accept();
  if (FForm)
    FForm->MouseWheel(e->angleDelta().y(), kzp::ShiftBitsFromQt(e->modifiers()));
}

void TKzCompletionWindow::paintEvent(QPaintEvent *) {
  QPainter painter(this);
  const QPalette &pal = palette();
  // The frame: raised, in the button colours.
  const int fw = FrameWidth();
  painter.fillRect(rect(), pal.color(QPalette::Button));
  if (fw > 0) {
    painter.setPen(pal.color(QPalette::Light));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.drawLine(0, 0, 0, height() - 1);
    painter.setPen(pal.color(QPalette::Shadow));
    painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
  }
  if (!FForm)
    return;
  const kzp::TSize listSize = FForm->ListSurfaceSize();
  const kzp::TSize titleSize = FForm->TitleSurfaceSize();
  QPixmap list(std::max(listSize.cx, 1), std::max(listSize.cy, 1));
  QPixmap title(std::max(titleSize.cx, 1), std::max(titleSize.cy, 1));
  {
    QPainter lp(&list);
    QPainter tp(&title);
    kzp::TQtCanvas listCanvas(&lp);
    kzp::TQtCanvas titleCanvas(&tp);
    FForm->Paint(listCanvas, titleCanvas);
  }
  if (listSize.cx > 0 && listSize.cy > 0)
    painter.drawPixmap(fw, fw + FForm->TitleHeight(), list);
  if (titleSize.cx > 0 && titleSize.cy > 0)
    painter.drawPixmap(fw, fw, title);
}

void TKzCompletionWindow::hideEvent(QHideEvent *e) {
  QWidget::hideEvent(e);
  FDragEdges = 0;
  // Hidden by Qt itself: a click outside the pop-up closed it.
  if (!FHiding && FForm)
    FForm->WindowDeactivated();
}

void TKzCompletionWindow::ApplicationStateChanged(Qt::ApplicationState state) {
  // The user went to another program: the list goes, as a cancel.
  if (state != Qt::ApplicationActive && isVisible() && FForm)
    FForm->WindowDeactivated();
}
