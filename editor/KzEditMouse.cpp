// Mouse handling of the editor control: clicks, word selection, drag-selecting with the
// auto-scroll timer, and dragging text within and between editors.
#include "editor/KzEdit.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int AutoScrollInterval = 100; // ms between scroll steps while dragging past an edge
}

void TCustomKzEdit::MouseDown(int button, TShiftState shift, int x, int y, bool doubleClick) {
  if (!FEnabled)
    return;
  FMouse.Shift = shift;
  if (button == mbLeft && !doubleClick) {
    const bool hadSelection = SelectionAvailable();
    if (hadSelection) {
      FMouse.DownX = x;
      FMouse.DownY = y;
    }
    if (OnMouseDown)
      OnMouseDown(*this, button, shift, x, y);
    FKbdHandler.ExecuteMouseDown(this, button, shift, x, y);
    TBufferCoord p = FView.PixelsToBuffer(x, y);
    // A click moves the caret like a movement key does: typing before and after it are two
    // undo steps, not one that reverts text in two places.
    if (p != CaretXY())
      FModel.GroupBreakBeforeMove();
    {
      TKzPaintLock lock(*this);
      InternalSetCaretXY(p, true);
      if (HasOption(eoDragDropEditing) && SelectionMode() == smNormal && x >= GutterWidth() + 2 &&
          hadSelection && IsPointInSelection(CaretXY(), true)) {
        // The selection stays until the drag starts or the button is released.
        FMouse.DragArmed = true;
      } else {
        FMouse.DragArmed = false;
        if (shift & ssShift) {
          SetSelectionEnd(CaretXY());
        } else {
          if (HasOption(eoAltSetsColumnMode) && SelectionMode() != smLine)
            SetSelectionMode((shift & ssAlt) ? smColumn : smNormal);
          SetSelectionAnchor(CaretXY());
        }
      }
    }
    FMouse.Captured = true;
    FHost.SetMouseCapture(true);
    FHost.TakeFocus();
    return;
  }
  if (button == mbRight) {
    if (OnMouseDown)
      OnMouseDown(*this, button, shift, x, y);
    FKbdHandler.ExecuteMouseDown(this, button, shift, x, y);
    if (x < GutterWidth() && OnGutterClick) {
      TBufferCoord p = FView.PixelsToBuffer(x, y);
      OnGutterClick(*this, button, x, y, p.Line, nullptr);
    }
    if (SelectionAvailable() || !HasOption(eoRightMouseMovesCursor))
      return;
    FModel.GroupBreakBeforeMove();
    SetCaretPos(FView.PixelsToBuffer(x, y));
    return;
  }
  if (OnMouseDown)
    OnMouseDown(*this, button, shift, x, y);
  FKbdHandler.ExecuteMouseDown(this, button, shift, x, y);
}

void TCustomKzEdit::DoubleClick(int x, int y) {
  if (!FEnabled || x < GutterWidth() || HasOption(eoNoSelection))
    return;
  FMouse.DoubleClicked = true;
  TBufferCoord p = FView.PixelsToBuffer(x, y);
  if (p.Char > Lines().LineLength(p.Line - 1) + 1) {
    InternalSetCaretXY(p, true);
    return;
  }
  TBufferCoord a = WordStart(p), b = WordEnd(p);
  SetCaretAndSelection(b, a, b);
}

void TCustomKzEdit::ComputeAutoScroll(int x, int y) {
  const int left = GutterWidth() + 2;
  const int right = FHost.ClientWidth();
  const int bottom = std::max(LinesInWindow(), 1) * LineHeight();
  FMouse.AutoScrollDX = 0;
  FMouse.AutoScrollDY = 0;
  if (x < left)
    FMouse.AutoScrollDX = (x - left) / CharWidth() - 1;
  else if (x >= right)
    FMouse.AutoScrollDX = (x - right) / CharWidth() + 1;
  if (y < 0)
    FMouse.AutoScrollDY = y / LineHeight() - 1;
  else if (y >= bottom)
    FMouse.AutoScrollDY = (y - bottom) / LineHeight() + 1;
  const bool needed = FMouse.AutoScrollDX != 0 || FMouse.AutoScrollDY != 0;
  if (needed && !FMouse.AutoScrollActive)
    FHost.StartTimer(TKzTimerReason::AutoScroll, AutoScrollInterval);
  else if (!needed && FMouse.AutoScrollActive)
    FHost.StopTimer(TKzTimerReason::AutoScroll);
  FMouse.AutoScrollActive = needed;
}

void TCustomKzEdit::MouseMove(TShiftState shift, int x, int y) {
  if (!FEnabled)
    return;
  FMouse.Shift = shift;
  FMouse.X = x;
  FMouse.Y = y;
  if (!FMouse.Captured || !(shift & ssLeft) || FMouse.DoubleClicked)
    return;
  if (FMouse.DragArmed) {
    if (!FMouse.DragStarted && (std::abs(x - FMouse.DownX) >= FHost.DragDistance() ||
                                std::abs(y - FMouse.DownY) >= FHost.DragDistance())) {
      FMouse.DragStarted = true;
      FHost.BeginDrag();
    }
    return;
  }
  {
    TKzPaintLock lock(*this);
    InternalSetCaretXY(FView.PixelsToBuffer(x, y), false);
    SetSelectionEnd(CaretXY());
  }
  ComputeAutoScroll(x, y);
}

void TCustomKzEdit::TimerFired(TKzTimerReason reason) {
  // Timers the editor does not run itself belong to components hooked onto it (the
  // completion list's trigger delay).
  if (reason != TKzTimerReason::AutoScroll) {
    if (OnTimer)
      OnTimer(*this, reason);
    return;
  }
  if (!FMouse.AutoScrollActive)
    return;
  TKzPaintLock lock(*this);
  if (FMouse.AutoScrollDY != 0) {
    int step = (FMouse.Shift & ssShift) ? FMouse.AutoScrollDY * std::max(LinesInWindow(), 1)
                                        : FMouse.AutoScrollDY;
    SetTopLine(TopLine() + step);
  }
  if (FMouse.AutoScrollDX != 0)
    SetLeftChar(LeftChar() + FMouse.AutoScrollDX);
  // The selection follows to the edge the view moved towards.
  const int left = GutterWidth() + 2;
  int x = std::min(std::max(FMouse.X, left), std::max(FHost.ClientWidth() - 1, left));
  int y = std::min(std::max(FMouse.Y, 0), std::max(LinesInWindow(), 1) * LineHeight() - 1);
  InternalSetCaretXY(FView.PixelsToBuffer(x, y), false);
  SetSelectionEnd(CaretXY());
}

void TCustomKzEdit::MouseUp(int button, TShiftState shift, int x, int y) {
  if (!FEnabled)
    return;
  if (FMouse.AutoScrollActive) {
    FHost.StopTimer(TKzTimerReason::AutoScroll);
    FMouse.AutoScrollActive = false;
  }
  if (FMouse.Captured) {
    FMouse.Captured = false;
    FHost.SetMouseCapture(false);
  }
  const bool popup = button == mbRight && OnContextPopup && OnContextPopup(*this, x, y);
  if (!popup) {
    if (button != mbRight && x < GutterWidth() && OnGutterClick) {
      TBufferCoord p = FView.PixelsToBuffer(x, y);
      TKzEditMark *mark = nullptr;
      int offset = BookMarkOptions().LeftMargin;
      for (TKzEditMark &m : Marks())
        if (m.Line == p.Line && m.Visible) {
          if (x >= offset && x < offset + BookMarkOptions().Xoffset) {
            mark = &m;
            break;
          }
          offset += BookMarkOptions().Xoffset;
        }
      OnGutterClick(*this, button, x, y, p.Line, mark);
    }
    if (button == mbLeft && FMouse.DragArmed && !FMouse.DragStarted && !FMouse.DoubleClicked) {
      TKzPaintLock lock(*this);
      InternalSetCaretXY(FView.PixelsToBuffer(x, y), true);
      if (shift & ssShift)
        SetSelectionEnd(CaretXY());
      else
        SetSelectionAnchor(CaretXY());
    }
  }
  if (button == mbLeft) {
    FMouse.DragArmed = false;
    FMouse.DragStarted = false;
    FMouse.DoubleClicked = false;
  }
  if (OnMouseUp)
    OnMouseUp(*this, button, shift, x, y);
  FKbdHandler.ExecuteMouseUp(this, button, shift, x, y);
}

bool TCustomKzEdit::DragOver(TCustomKzEdit *source, int x, int y) {
  if (!source || ReadOnly())
    return false;
  const int left = GutterWidth() + 2;
  x = std::min(std::max(x, left), std::max(FHost.ClientWidth() - 1, left));
  y = std::min(std::max(y, 0), std::max(LinesInWindow(), 1) * LineHeight() - 1);
  InternalSetCaretXY(FView.PixelsToBuffer(x, y), false);
  return true;
}

void TCustomKzEdit::DragDrop(TCustomKzEdit *source, int x, int y, bool ctrl, bool shift) {
  if (!source || ReadOnly() || !source->SelectionAvailable())
    return;
  const bool same = source == this;
  const bool move = same ? !ctrl : shift;
  TBufferCoord drop = FView.PixelsToBuffer(x, y);
  if (same && IsPointInSelection(drop, move))
    return;
  const std::string text = source->SelectedText();
  TKzPaintLock lock(*this);
  // A move out of another editor takes the text out there; that editor records it.
  if (!same && move)
    source->SetSelectedText(std::string());
  FModel.DropText(text, drop, same, move);
  ProcessCommand(ecSelGotoXY, '\0', &drop);
}
