// The editor widget: Qt's keyboard, mouse, focus, timer and drag events forwarded to the
// editor core, and the platform services the core asks for.
#include "editor/qt/KzEditWidget.h"

#include "platform/CodePage.h"
#include "platform/qt/QtCodePage.h"
#include "platform/qt/QtKeys.h"

#include <QApplication>
#include <QDrag>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimerEvent>
#include <cstring>
#include <set>

namespace {

// The MIME type that tells a drop which editor the text comes from.
constexpr const char *SourceMimeType = "application/x-kzedit-source";

// Every live editor widget, so a drop only trusts a source pointer that still exists.
std::set<TKzEdit *> &LiveEditors() {
  static std::set<TKzEdit *> editors;
  return editors;
}

int ButtonOf(Qt::MouseButton b) {
  switch (b) {
  case Qt::RightButton: return mbRight;
  case Qt::MiddleButton: return mbMiddle;
  default: return mbLeft;
  }
}

TShiftState ShiftOf(const QMouseEvent &e) {
  return TShiftState(kzp::ShiftBitsFromQt(e.modifiers()) | kzp::ButtonBitsFromQt(e.buttons()));
}

} // namespace

TKzEdit::TKzEdit(QWidget *parent) : QAbstractScrollArea(parent) {
  LiveEditors().insert(this);
  FEditor = std::make_unique<TCustomKzEdit>(*this);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setMouseTracking(false);
  resize(200, 150);
  ConnectScrollBars();
}

TKzEdit::~TKzEdit() {
  LiveEditors().erase(this);
  for (auto &t : FTimers)
    t.second.stop();
  FEditor.reset();
}

void TKzEdit::SetEnabled(bool value) {
  setEnabled(value);
  FEditor->SetEnabled(value);
}

TKzEdit *TKzEdit::DragSourceOf(const QMimeData *mime) {
  if (!mime || !mime->hasFormat(SourceMimeType))
    return nullptr;
  QByteArray data = mime->data(SourceMimeType);
  if (data.size() != sizeof(TKzEdit *))
    return nullptr;
  TKzEdit *source;
  std::memcpy(&source, data.constData(), sizeof source);
  return LiveEditors().count(source) ? source : nullptr;
}

// ---- host services ----

int TKzEdit::ClientWidth() const { return viewport()->width(); }
int TKzEdit::ClientHeight() const { return viewport()->height(); }

void TKzEdit::StartTimer(TKzTimerReason reason, int intervalMs) {
  FTimers[reason].start(intervalMs, this);
}

void TKzEdit::StopTimer(TKzTimerReason reason) {
  auto it = FTimers.find(reason);
  if (it != FTimers.end())
    it->second.stop();
}

void TKzEdit::CreateCaret(int width, int height) {
  viewport()->update(CaretRect());
  FCaretCreated = true;
  FCaretVisible = false;
  FCaretWidth = width;
  FCaretHeight = height;
}

void TKzEdit::DestroyCaret() {
  viewport()->update(CaretRect());
  FCaretCreated = false;
  FCaretVisible = false;
}

void TKzEdit::ShowCaret() {
  FCaretVisible = true;
  viewport()->update(CaretRect());
}

void TKzEdit::HideCaret() {
  FCaretVisible = false;
  viewport()->update(CaretRect());
}

void TKzEdit::SetCaretPos(int x, int y) {
  if (x == FCaretPosX && y == FCaretPosY)
    return;
  viewport()->update(CaretRect());
  FCaretPosX = x;
  FCaretPosY = y;
  viewport()->update(CaretRect());
  updateMicroFocus();
}

void TKzEdit::SetMouseCapture(bool) {
  // Qt keeps sending mouse events to the widget that took the press until the release.
}

bool TKzEdit::HasFocus() const { return hasFocus(); }
void TKzEdit::TakeFocus() { QWidget::setFocus(Qt::OtherFocusReason); }
int TKzEdit::DragDistance() const { return QApplication::startDragDistance(); }

void TKzEdit::BeginDrag() {
  auto *mime = new QMimeData;
  mime->setText(kzp::codepage::ToQString(FEditor->SelectedText()));
  TKzEdit *self = this;
  mime->setData(SourceMimeType, QByteArray(reinterpret_cast<const char *>(&self), sizeof self));
  auto *drag = new QDrag(this);
  drag->setMimeData(mime);
  drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
  // The drag took the button release; the core learns that the drag is over.
  QPoint p = viewport()->mapFromGlobal(QCursor::pos());
  FEditor->MouseUp(mbLeft, 0, std::max(p.x(), FEditor->GutterWidth() + 2), p.y());
}

// ---- events ----

bool TKzEdit::event(QEvent *e) {
  // A key the keystroke table knows is the editor's, even when a menu action has the same
  // shortcut: the editor runs the command itself.
  if (e->type() == QEvent::ShortcutOverride) {
    auto *k = static_cast<QKeyEvent *>(e);
    kzp::TVirtualKey vk = kzp::VirtualKeyOf(*k);
    if (vk.Key != 0 && FEditor->Enabled() && FEditor->Keystrokes().FindKey(vk.Key, vk.Shift) >= 0) {
      e->accept();
      return true;
    }
  }
  // Tab and Shift+Tab move the focus unless the editor wants them.
  if (e->type() == QEvent::KeyPress && FEditor->WantTabs()) {
    auto *k = static_cast<QKeyEvent *>(e);
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      keyPressEvent(k);
      return true;
    }
  }
  return QAbstractScrollArea::event(e);
}

void TKzEdit::keyPressEvent(QKeyEvent *e) {
  // Without WantReturns, Return belongs to the window around the editor (its default
  // button), as a dialog's other controls leave it.
  if (!FEditor->WantReturns() && (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
    e->ignore();
    return;
  }
  kzp::TVirtualKey vk = kzp::VirtualKeyOf(*e);
  std::uint16_t key = vk.Key;
  // Qt delivers the key and its text in one event: a key that ran a command types nothing.
  if (FEditor->KeyDown(key, vk.Shift)) {
    e->accept();
    return;
  }
  const QString text = e->text();
  for (QChar ch : text) {
    int c = kzp::codepage::FromUnicode(ch.unicode());
    if (c < 0)
      continue; // a character outside the code page is not inserted
    char c8 = static_cast<char>(c);
    FEditor->KeyPress(c8);
  }
  e->accept();
}

void TKzEdit::keyReleaseEvent(QKeyEvent *e) {
  kzp::TVirtualKey vk = kzp::VirtualKeyOf(*e);
  std::uint16_t key = vk.Key;
  if (key != 0)
    FEditor->KeyUp(key, vk.Shift);
  e->accept();
}

void TKzEdit::inputMethodEvent(QInputMethodEvent *e) {
  if (!e->commitString().isEmpty())
    FEditor->ImeResult(kzp::codepage::FromQString(e->commitString()), false);
  e->accept();
}

QVariant TKzEdit::inputMethodQuery(Qt::InputMethodQuery query) const {
  if (query == Qt::ImCursorRectangle)
    return CaretRect();
  return QAbstractScrollArea::inputMethodQuery(query);
}

void TKzEdit::mousePressEvent(QMouseEvent *e) {
  QPoint p = e->position().toPoint();
  FEditor->MouseDown(ButtonOf(e->button()), ShiftOf(*e), p.x(), p.y(), false);
  e->accept();
}

void TKzEdit::mouseDoubleClickEvent(QMouseEvent *e) {
  QPoint p = e->position().toPoint();
  FEditor->MouseDown(ButtonOf(e->button()), TShiftState(ShiftOf(*e) | ssDouble), p.x(), p.y(),
                     true);
  if (e->button() == Qt::LeftButton)
    FEditor->DoubleClick(p.x(), p.y());
  e->accept();
}

void TKzEdit::mouseMoveEvent(QMouseEvent *e) {
  QPoint p = e->position().toPoint();
  FEditor->MouseMove(ShiftOf(*e), p.x(), p.y());
  e->accept();
}

void TKzEdit::mouseReleaseEvent(QMouseEvent *e) {
  QPoint p = e->position().toPoint();
  FEditor->MouseUp(ButtonOf(e->button()), ShiftOf(*e), p.x(), p.y());
  e->accept();
}

void TKzEdit::focusInEvent(QFocusEvent *e) {
  QAbstractScrollArea::focusInEvent(e);
  FEditor->FocusEnter();
}

void TKzEdit::focusOutEvent(QFocusEvent *e) {
  QAbstractScrollArea::focusOutEvent(e);
  FEditor->FocusExit();
}

void TKzEdit::timerEvent(QTimerEvent *e) {
  for (auto &t : FTimers)
    if (t.second.timerId() == e->timerId()) {
      FEditor->TimerFired(t.first);
      return;
    }
  QAbstractScrollArea::timerEvent(e);
}

// Entering is the first move over the editor.
void TKzEdit::dragEnterEvent(QDragEnterEvent *e) { dragMoveEvent(e); }

void TKzEdit::dragMoveEvent(QDragMoveEvent *e) {
  TKzEdit *source = DragSourceOf(e->mimeData());
  QPoint p = e->position().toPoint();
  if (FEditor->DragOver(source ? &source->Editor() : nullptr, p.x(), p.y())) {
    e->setDropAction((e->modifiers() & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction);
    e->accept();
  } else {
    e->ignore();
  }
}

void TKzEdit::dropEvent(QDropEvent *e) {
  TKzEdit *source = DragSourceOf(e->mimeData());
  if (!source) {
    e->ignore();
    return;
  }
  QPoint p = e->position().toPoint();
  Qt::KeyboardModifiers mods = e->modifiers();
  FEditor->DragDrop(&source->Editor(), p.x(), p.y(), mods & Qt::ControlModifier,
                    mods & Qt::ShiftModifier);
  // The text has been moved or copied here already; the source must not delete it again.
  e->setDropAction(Qt::CopyAction);
  e->accept();
  TakeFocus();
}
