// Scrolling of the editor control: top line, left column, scroll bars, wheel and the caret's
// place on the screen.
#include "editor/KzEdit.h"

#include <algorithm>

int TCustomKzEdit::DisplayLineCount() const { return std::max(FLines.Count(), 1); }

void TCustomKzEdit::SetTopLine(int value) {
  int highest = HasOption(eoScrollPastEof) ? DisplayLineCount()
                                           : DisplayLineCount() - FLinesInWindow + 1;
  value = std::max(std::min(value, highest), 1);
  if (value == FTopLine)
    return;
  FTopLine = value;
  FHost.InvalidateAll();
  StatusChanged({scTopLine});
}

void TCustomKzEdit::SetLeftChar(int value) {
  int highest = FMaxScrollWidth - FCharsInWindow + 1;
  value = std::max(std::min(value, highest), 1);
  if (value == FLeftChar)
    return;
  FLeftChar = value;
  FHost.InvalidateAll();
  StatusChanged({scLeftChar});
}

void TCustomKzEdit::EnsureCursorPosVisible() {
  IncPaintLock();
  TDisplayCoord p = DisplayXY();
  if (p.Column < FLeftChar)
    SetLeftChar(p.Column);
  else if (p.Column >= FLeftChar + FCharsInWindow)
    SetLeftChar(p.Column - FCharsInWindow + 1);
  if (p.Row < FTopLine)
    SetTopLine(p.Row);
  else if (p.Row > FTopLine + std::max(1, FLinesInWindow) - 1)
    SetTopLine(p.Row - std::max(1, FLinesInWindow) + 1);
  DecPaintLock();
}

void TCustomKzEdit::UpdateScrollBars() {
  if (!FHost.HandleAllocated() || FPaintLock != 0) {
    FScrollBarsPending = true;
    return;
  }
  FScrollBarsPending = false;
}

void TCustomKzEdit::SizeOrFontChanged(bool) {
  if (FCharWidth <= 0 || FLineHeight <= 0)
    return;
  FCharsInWindow = std::max(FHost.ClientWidth() - GutterWidth() - 2, 0) / FCharWidth;
  FLinesInWindow = FHost.ClientHeight() / FLineHeight;
  UpdateScrollBars();
}

TDisplayCoord TCustomKzEdit::PixelsToRowColumn(int x, int y) const {
  TDisplayCoord p;
  int maxY = std::max(FLinesInWindow, 1) * FLineHeight - 1;
  y = std::min(std::max(y, 0), std::max(maxY, 0));
  p.Row = std::max(FTopLine + y / FLineHeight, 1);
  double col = double(x - GutterWidth() - 2) / FCharWidth;
  p.Column = std::max(FLeftChar + int(col + (col >= 0 ? 0.5 : -0.5)), 1);
  return p;
}

kzp::TPoint TCustomKzEdit::RowColumnToPixels(TDisplayCoord p) const {
  kzp::TPoint r;
  r.X = (p.Column - 1) * FCharWidth + GutterWidth() + 2 - (FLeftChar - 1) * FCharWidth;
  r.Y = (p.Row - FTopLine) * FLineHeight;
  return r;
}

void TCustomKzEdit::UpdateCaret() {
  kzp::TPoint p = RowColumnToPixels(DisplayXY());
  FHost.SetCaretPos(p.X, p.Y);
}

void TCustomKzEdit::ScrollBarMessage(bool, int, int) {}
void TCustomKzEdit::MouseWheel(int, TShiftState) {}
