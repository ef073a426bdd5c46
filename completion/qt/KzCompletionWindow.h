// The completion list's pop-up window on Qt: it shows the list model, gives it the window
// services it asks for and turns Qt's events into the model's calls.
#pragma once

#include "completion/KzCompletionHost.h"

#include <QWidget>

#include <memory>

class QScrollBar;

class TKzCompletionWindow : public QWidget, public TKzCompletionHost {
  Q_OBJECT

public:
  // `parent` is the window the list belongs to; the pop-up places itself relative to it
  // where the platform does not take absolute screen positions.
  explicit TKzCompletionWindow(QWidget *parent);
  ~TKzCompletionWindow() override;

  TKzBaseCompletionProposalForm *Form() const { return FForm; }
  QScrollBar *ScrollBarWidget() const { return FScrollBar; }

  // ---- TKzCompletionHost ----
  void SetForm(TKzBaseCompletionProposalForm *form) override { FForm = form; }
  void ShowWindow(bool activate) override;
  void HideWindow() override;
  void SetWindowBounds(int left, int top, int width, int height) override;
  void FrameChanged(KzCompletionType kind, bool resizeable) override;
  void TakeFocus() override;
  void Invalidate() override;
  void RepaintNow() override;
  void SetScrollBar(const TKzListScrollBar &bar) override;
  int SizingFrameHeight() const override;
  int ScrollBarWidth() const override;
  kzp::TRect DesktopRect() const override;
  int WheelScrollLines() const override;
  kzp::TCanvas &MeasureCanvas() override;
  bool ApplicationActive() const override;
  void ProcessMessages() override;
  kzp::TPoint EditorClientToScreen(const TCustomKzEdit &editor, kzp::TPoint p) const override;
  kzp::TPoint MouseCursorPos() const override;

protected:
  bool event(QEvent *e) override;
  void keyPressEvent(QKeyEvent *e) override;
  void mousePressEvent(QMouseEvent *e) override;
  void mouseMoveEvent(QMouseEvent *e) override;
  void mouseReleaseEvent(QMouseEvent *e) override;
  void mouseDoubleClickEvent(QMouseEvent *e) override;
  void wheelEvent(QWheelEvent *e) override;
  void paintEvent(QPaintEvent *e) override;
  void hideEvent(QHideEvent *e) override;

private:
  // Which edges of the sizing frame a client point lies on (bits: left 1, top 2, right 4,
  // bottom 8); 0 inside the frame.
  int FrameEdgesAt(const QPoint &p) const;
  int FrameWidth() const;
  void ApplicationStateChanged(Qt::ApplicationState state);

  TKzBaseCompletionProposalForm *FForm = nullptr;
  QScrollBar *FScrollBar = nullptr;
  KzCompletionType FKind = ctCode;
  bool FResizeable = true;
  bool FHiding = false; // a hide the model asked for, not a loss of the keyboard
  bool FSettingScrollBar = false;
  int FDragEdges = 0; // edges being dragged, 0 when no resize runs
  QPoint FDragStart;
  QRect FDragGeometry;
};
