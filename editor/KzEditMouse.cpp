// Mouse handling of the editor control: clicks, word selection, drag-selecting with the
// auto-scroll timer, and dragging text within and between editors.
#include "editor/KzEdit.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int AutoScrollInterval = 100; // ms between scroll steps while dragging past an edge
}

TBufferCoord TCustomKzEdit::PixelsToBuffer(int x, int y) const {
  TDisplayCoord d = PixelsToRowColumn(x, y);
  d.Row = std::min(d.Row, std::max(FLines.Count(), 1));
  return DisplayToBufferPos(d);
}

void TCustomKzEdit::MouseDown(int button, TShiftState shift, int x, int y, bool doubleClick) {
  if (!FEnabled)
    return;
  FMouseShift = shift;
  if (button == mbLeft && !doubleClick) {
    const bool hadSelection = SelectionAvailable();
    if (hadSelection) {
      FMouseDownX = x;
      FMouseDownY = y;
    }
    if (OnMouseDown)
      OnMouseDown(*this, button, shift, x, y);
    FKbdHandler.ExecuteMouseDown(this, button, shift, x, y);
    TBufferCoord p = PixelsToBuffer(x, y);
    // A click moves the caret like a movement key does: typing before and after it are two
    // undo steps, not one that reverts text in two places.
    if (p != CaretXY())
      GroupBreakBeforeMove();
    IncPaintLock();
    InternalSetCaretXY(p, true);
    if (HasOption(eoDragDropEditing) && FSelectionMode == smNormal && x >= GutterWidth() + 2 &&
        hadSelection && IsPointInSelection(CaretXY(), true)) {
      FDragArmed = true; // the selection stays until the drag starts or the button is released
    } else {
      FDragArmed = false;
      if (shift & ssShift) {
        SetSelectionEnd(CaretXY());
      } else {
        if (HasOption(eoAltSetsColumnMode) && FSelectionMode != smLine)
          SetSelectionMode((shift & ssAlt) ? smColumn : smNormal);
        SetSelectionAnchor(CaretXY());
      }
    }
    DecPaintLock();
    FMouseCaptured = true;
    FHost.SetMouseCapture(true);
    FHost.TakeFocus();
    return;
  }
  if (button == mbRight) {
    if (OnMouseDown)
      OnMouseDown(*this, button, shift, x, y);
    FKbdHandler.ExecuteMouseDown(this, button, shift, x, y);
    if (x < GutterWidth() && OnGutterClick) {
      TBufferCoord p = PixelsToBuffer(x, y);
      OnGutterClick(*this, button, x, y, p.Line, nullptr);
    }
    if (SelectionAvailable() || !HasOption(eoRightMouseMovesCursor))
      return;
    GroupBreakBeforeMove();
    SetCaretPos(PixelsToBuffer(x, y));
    return;
  }
  if (OnMouseDown)
    OnMouseDown(*this, button, shift, x, y);
  FKbdHandler.ExecuteMouseDown(this, button, shift, x, y);
}

void TCustomKzEdit::DoubleClick(int x, int y) {
  if (!FEnabled || x < GutterWidth() || HasOption(eoNoSelection))
    return;
  FDoubleClicked = true;
  TBufferCoord p = PixelsToBuffer(x, y);
  if (p.Char > FLines.LineLength(p.Line - 1) + 1) {
    InternalSetCaretXY(p, true);
    return;
  }
  TBufferCoord a = WordStart(p), b = WordEnd(p);
  SetCaretAndSelection(b, a, b);
}

void TCustomKzEdit::ComputeAutoScroll(int x, int y) {
  const int left = GutterWidth() + 2;
  const int right = FHost.ClientWidth();
  const int bottom = std::max(FLinesInWindow, 1) * FLineHeight;
  FAutoScrollDX = 0;
  FAutoScrollDY = 0;
  if (x < left)
    FAutoScrollDX = (x - left) / FCharWidth - 1;
  else if (x >= right)
    FAutoScrollDX = (x - right) / FCharWidth + 1;
  if (y < 0)
    FAutoScrollDY = y / FLineHeight - 1;
  else if (y >= bottom)
    FAutoScrollDY = (y - bottom) / FLineHeight + 1;
  const bool needed = FAutoScrollDX != 0 || FAutoScrollDY != 0;
  if (needed && !FAutoScrollActive)
    FHost.StartTimer(TKzTimerReason::AutoScroll, AutoScrollInterval);
  else if (!needed && FAutoScrollActive)
    FHost.StopTimer(TKzTimerReason::AutoScroll);
  FAutoScrollActive = needed;
}

void TCustomKzEdit::MouseMove(TShiftState shift, int x, int y) {
  if (!FEnabled)
    return;
  FMouseShift = shift;
  FMouseX = x;
  FMouseY = y;
  if (!FMouseCaptured || !(shift & ssLeft) || FDoubleClicked)
    return;
  if (FDragArmed) {
    if (!FDragStarted && (std::abs(x - FMouseDownX) >= FHost.DragDistance() ||
                          std::abs(y - FMouseDownY) >= FHost.DragDistance())) {
      FDragStarted = true;
      FHost.BeginDrag();
    }
    return;
  }
  IncPaintLock();
  InternalSetCaretXY(PixelsToBuffer(x, y), false);
  SetSelectionEnd(CaretXY());
  DecPaintLock();
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
  if (!FAutoScrollActive)
    return;
  IncPaintLock();
  if (FAutoScrollDY != 0) {
    int step = (FMouseShift & ssShift) ? FAutoScrollDY * std::max(FLinesInWindow, 1)
                                       : FAutoScrollDY;
    SetTopLine(FTopLine + step);
  }
  if (FAutoScrollDX != 0)
    SetLeftChar(FLeftChar + FAutoScrollDX);
  // The selection follows to the edge the view moved towards.
  const int left = GutterWidth() + 2;
  int x = std::min(std::max(FMouseX, left), std::max(FHost.ClientWidth() - 1, left));
  int y = std::min(std::max(FMouseY, 0), std::max(FLinesInWindow, 1) * FLineHeight - 1);
  InternalSetCaretXY(PixelsToBuffer(x, y), false);
  SetSelectionEnd(CaretXY());
  DecPaintLock();
}

void TCustomKzEdit::MouseUp(int button, TShiftState shift, int x, int y) {
  if (!FEnabled)
    return;
  if (FAutoScrollActive) {
    FHost.StopTimer(TKzTimerReason::AutoScroll);
    FAutoScrollActive = false;
  }
  if (FMouseCaptured) {
    FMouseCaptured = false;
    FHost.SetMouseCapture(false);
  }
  const bool popup = button == mbRight && OnContextPopup && OnContextPopup(*this, x, y);
  if (!popup) {
    if (button != mbRight && x < GutterWidth() && OnGutterClick) {
      TBufferCoord p = PixelsToBuffer(x, y);
      TKzEditMark *mark = nullptr;
      int offset = FBookMarkOptions.LeftMargin;
      for (TKzEditMark &m : FMarks)
        if (m.Line == p.Line && m.Visible) {
          if (x >= offset && x < offset + FBookMarkOptions.Xoffset) {
            mark = &m;
            break;
          }
          offset += FBookMarkOptions.Xoffset;
        }
      OnGutterClick(*this, button, x, y, p.Line, mark);
    }
    if (button == mbLeft && FDragArmed && !FDragStarted && !FDoubleClicked) {
      IncPaintLock();
      InternalSetCaretXY(PixelsToBuffer(x, y), true);
      if (shift & ssShift)
        SetSelectionEnd(CaretXY());
      else
        SetSelectionAnchor(CaretXY());
      DecPaintLock();
    }
  }
  if (button == mbLeft) {
    FDragArmed = false;
    FDragStarted = false;
    FDoubleClicked = false;
  }
  if (OnMouseUp)
    OnMouseUp(*this, button, shift, x, y);
  FKbdHandler.ExecuteMouseUp(this, button, shift, x, y);
}

bool TCustomKzEdit::DragOver(TCustomKzEdit *source, int x, int y) {
  if (!source || FReadOnly)
    return false;
  const int left = GutterWidth() + 2;
  x = std::min(std::max(x, left), std::max(FHost.ClientWidth() - 1, left));
  y = std::min(std::max(y, 0), std::max(FLinesInWindow, 1) * FLineHeight - 1);
  InternalSetCaretXY(PixelsToBuffer(x, y), false);
  return true;
}

void TCustomKzEdit::DragDrop(TCustomKzEdit *source, int x, int y, bool ctrl, bool shift) {
  if (!source || FReadOnly || !source->SelectionAvailable())
    return;
  const bool same = source == this;
  const bool move = same ? !ctrl : shift;
  TBufferCoord drop = PixelsToBuffer(x, y);
  if (same && IsPointInSelection(drop, move))
    return;
  const std::string text = source->SelectedText();
  FUndoList.BeginBlock();
  IncPaintLock();
  if (same && move) {
    TBufferCoord first = SelectionFirst(), last = SelectionLast();
    FUndoList.Lock();
    SetSelTextPrimitive(FSelectionMode, std::string());
    FUndoList.Unlock();
    FUndoList.PushChange(TKzChangeReason::DeleteBeforeCaret, first, last, text, FSelectionMode);
    // A drop point after the removed text moves back with the text behind it.
    if (last < drop || last == drop) {
      if (drop.Line == last.Line) {
        drop.Char = first.Char + (drop.Char - last.Char);
        drop.Line = first.Line;
      } else {
        drop.Line -= last.Line - first.Line;
      }
    }
  } else if (move) {
    source->SetSelectedText(std::string());
  }
  const bool pastEol = HasOption(eoScrollPastEol);
  FOptions.Include(eoScrollPastEol);
  SetCaretPos(drop);
  drop = CaretXY();
  FUndoList.Lock();
  SetSelTextPrimitive(smNormal, text);
  FUndoList.Unlock();
  FUndoList.PushChange(same ? TKzChangeReason::DropText : TKzChangeReason::InsertText, drop,
                       CaretXY(), std::string(), smNormal);
  if (!pastEol)
    FOptions.Exclude(eoScrollPastEol);
  FUndoList.EndBlock();
  ProcessCommand(ecSelGotoXY, '\0', &drop);
  DecPaintLock();
}
