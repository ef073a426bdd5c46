// The editor control as a Qt widget: a scroll area that owns the editor core, forwards Qt's
// events to it and gives it the platform services it asks for.
#pragma once

#include "editor/KzEdit.h"
#include "platform/qt/QtClipboard.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <map>
#include <memory>

class QMimeData;

class TKzEdit : public QAbstractScrollArea, public TKzEditHost {
  Q_OBJECT

public:
  explicit TKzEdit(QWidget *parent = nullptr);
  ~TKzEdit() override;

  TCustomKzEdit &Editor() { return *FEditor; }
  const TCustomKzEdit &Editor() const { return *FEditor; }

  // The operations the rest of the program uses most, forwarded to the core.
  std::string Text() const { return FEditor->Text(); }
  void SetText(const std::string &text) { FEditor->SetText(text); }
  std::string SelText() const { return FEditor->SelectedText(); }
  void SetSelText(const std::string &text) { FEditor->SetSelectedText(text); }
  bool SelectionAvailable() const { return FEditor->SelectionAvailable(); }
  bool CanUndo() const { return FEditor->UndoAvailable(); }
  bool CanRedo() const { return FEditor->RedoAvailable(); }
  void Undo() { FEditor->Undo(); }
  void Redo() { FEditor->Redo(); }
  void CopyToClipboard() { FEditor->CopySelection(); }
  void CutToClipboard() { FEditor->CutSelection(); }
  void PasteFromClipboard() { FEditor->PasteClipboard(); }
  void ClearSelection() { FEditor->ClearSelection(); }
  int CaretX() const { return FEditor->CaretX(); }
  int CaretY() const { return FEditor->CaretY(); }
  bool ReadOnly() const { return FEditor->ReadOnly(); }
  void SetReadOnly(bool value) { FEditor->SetReadOnly(value); }
  void SetHighlighter(TKzCustomHighlighter *h) { FEditor->SetHighlighter(h); }
  // Focus through the editor's redirects (the completion list takes it while open).
  void SetFocus() { FEditor->SetFocus(); }
  void SetEnabled(bool value);

  // The editor under a drag from another TKzEdit; null for foreign drags.
  static TKzEdit *DragSourceOf(const QMimeData *mime);

  // ---- TKzEditHost ----
  bool HandleAllocated() const override { return true; }
  int ClientWidth() const override;
  int ClientHeight() const override;
  kzp::TClipboard &Clipboard() override { return FClipboard; }
  void StartTimer(TKzTimerReason reason, int intervalMs) override;
  void StopTimer(TKzTimerReason reason) override;
  void CreateCaret(int width, int height) override;
  void DestroyCaret() override;
  void ShowCaret() override;
  void HideCaret() override;
  void SetCaretPos(int x, int y) override;
  void SetMouseCapture(bool capture) override;
  bool HasFocus() const override;
  void TakeFocus() override;
  int DragDistance() const override;
  void BeginDrag() override;
  // painting and scrolling services (KzEditWidgetPaint.cpp)
  void InvalidateRect(int left, int top, int right, int bottom) override;
  void InvalidateAll() override;
  void ScrollPixels(int dx, int dy, int left, int top, int right, int bottom) override;
  void UpdateNow() override;
  void SetScrollBar(bool vertical, const TKzScrollBarState &state) override;
  int ScrollBarTrackPos(bool vertical) const override;
  int ScrollArrowHeight() const override;
  void ShowScrollHint(const std::string &text, int x, int y, std::uint32_t colour) override;
  void HideScrollHint() override;
  int WheelScrollLines() const override;

  // The caret as the core last placed it, for painting.
  bool CaretShown() const { return FCaretCreated && FCaretVisible; }
  QRect CaretRect() const { return QRect(FCaretPosX, FCaretPosY, FCaretWidth, FCaretHeight); }

protected:
  bool event(QEvent *e) override;
  void keyPressEvent(QKeyEvent *e) override;
  void keyReleaseEvent(QKeyEvent *e) override;
  void inputMethodEvent(QInputMethodEvent *e) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  void mousePressEvent(QMouseEvent *e) override;
  void mouseMoveEvent(QMouseEvent *e) override;
  void mouseReleaseEvent(QMouseEvent *e) override;
  void mouseDoubleClickEvent(QMouseEvent *e) override;
  void focusInEvent(QFocusEvent *e) override;
  void focusOutEvent(QFocusEvent *e) override;
  void timerEvent(QTimerEvent *e) override;
  void dragEnterEvent(QDragEnterEvent *e) override;
  void dragMoveEvent(QDragMoveEvent *e) override;
  void dropEvent(QDropEvent *e) override;
  // painting and scrolling (KzEditWidgetPaint.cpp)
  void paintEvent(QPaintEvent *e) override;
  void resizeEvent(QResizeEvent *e) override;
  void wheelEvent(QWheelEvent *e) override;
  void scrollContentsBy(int dx, int dy) override;

private slots:
  void VerticalScrollAction(int action);
  void HorizontalScrollAction(int action);

private:
  void ConnectScrollBars();

  kzp::TQtClipboard FClipboard;
  std::unique_ptr<TCustomKzEdit> FEditor;
  std::map<TKzTimerReason, QBasicTimer> FTimers;
  bool FCaretCreated = false;
  bool FCaretVisible = false;
  int FCaretPosX = 0, FCaretPosY = 0, FCaretWidth = 2, FCaretHeight = 16;
  bool FInDrop = false;
};
