// The command table: every command below 1001 to the part that carries it out, and the
// commands that move the view and the caret together.
#include "editor/KzEdit.h"

#include <algorithm>

void TCustomKzEdit::DoPageMove(TKzEditorCommand command, bool select) {
  int page = FView.LinesInWindow();
  if (HasOption(eoHalfPageScroll))
    page /= 2;
  if (HasOption(eoScrollByOneLess))
    --page;
  page = std::max(page, 1);
  int dir = (command == ecPageUp || command == ecSelPageUp) ? -1 : 1;
  TKzPaintLock lock(*this);
  FView.SetTopLine(FView.TopLine() + dir * page);
  FModel.MoveCaretVert(dir * page, select);
}

void TCustomKzEdit::DoScroll(TKzEditorCommand command) {
  TKzPaintLock lock(*this);
  switch (command) {
  case ecScrollUp:
  case ecScrollDown: {
    FView.SetTopLine(FView.TopLine() + (command == ecScrollUp ? -1 : 1));
    int bottom = FView.TopLine() + std::max(FView.LinesInWindow(), 1) - 1;
    TDisplayCoord d = DisplayXY();
    int row = std::min(std::max(d.Row, FView.TopLine()), bottom);
    if (row != d.Row)
      FModel.SetCaretXY(DisplayToBufferPos({d.Column, row}), false);
    break;
  }
  case ecScrollLeft: FView.SetLeftChar(FView.LeftChar() - 1); break;
  case ecScrollRight: FView.SetLeftChar(FView.LeftChar() + 1); break;
  default: break;
  }
}

// ---- the command table ----

void TCustomKzEdit::ExecuteCommand(TKzEditorCommand command, char ch, void *data) {
  // One transaction for whatever the command does: painted and reported once, and what
  // trimming takes recorded with it. A failing command (the clipboard refused) leaves no
  // paint lock held, or no status change would ever be reported again.
  TKzEditTransaction tx(FModel, TKzEditTransaction::NoUndoBlock);
  const bool select = command >= ecSelLeft && command <= ecSelGotoXY;
  switch (command) {
  case ecLeft:
  case ecSelLeft: FModel.MoveCaretHorz(-1, select); break;
  case ecRight:
  case ecSelRight: FModel.MoveCaretHorz(1, select); break;
  case ecPageLeft:
  case ecSelPageLeft: FModel.MoveCaretHorz(-std::max(FView.CharsInWindow(), 1), select); break;
  case ecPageRight:
  case ecSelPageRight: FModel.MoveCaretHorz(std::max(FView.CharsInWindow(), 1), select); break;
  case ecUp:
  case ecSelUp: FModel.MoveCaretVert(-1, select); break;
  case ecDown:
  case ecSelDown: FModel.MoveCaretVert(1, select); break;
  case ecWordLeft:
  case ecSelWordLeft:
    FModel.MoveCaretAndSelection(CaretXY(), FModel.PrevWordPos(CaretXY()), select);
    break;
  case ecWordRight:
  case ecSelWordRight:
    FModel.MoveCaretAndSelection(CaretXY(), FModel.NextWordPos(CaretXY()), select);
    break;
  case ecLineStart:
  case ecSelLineStart: FModel.LineStart(select); break;
  case ecLineEnd:
  case ecSelLineEnd: FModel.LineEnd(select); break;
  case ecPageUp:
  case ecSelPageUp:
  case ecPageDown:
  case ecSelPageDown: DoPageMove(command, select); break;
  case ecPageTop:
  case ecSelPageTop:
  case ecPageBottom:
  case ecSelPageBottom: {
    int row = (command == ecPageTop || command == ecSelPageTop)
                  ? FView.TopLine()
                  : std::min(FView.TopLine() + std::max(FView.LinesInWindow(), 1) - 1,
                             DisplayLineCount());
    FModel.MoveCaretAndSelection(CaretXY(), DisplayToBufferPos({DisplayXY().Column, row}), select);
    break;
  }
  case ecEditorTop:
  case ecSelEditorTop: FModel.MoveCaretAndSelection(CaretXY(), {1, 1}, select); break;
  case ecEditorBottom:
  case ecSelEditorBottom: {
    int n = std::max(Lines().Count(), 1);
    FModel.MoveCaretAndSelection(CaretXY(), {Lines().LineLength(n - 1) + 1, n}, select);
    break;
  }
  case ecGotoXY:
  case ecSelGotoXY:
    if (data)
      FModel.MoveCaretAndSelection(CaretXY(), *static_cast<TBufferCoord *>(data), select);
    break;
  case ecSelectAll: SelectAll(); break;
  case ecCopy: CopySelection(); break;
  case ecCut:
    if (SelectionAvailable())
      CutSelection();
    break;
  case ecPaste: PasteClipboard(); break;
  case ecUndo: Undo(); break;
  case ecRedo: Redo(); break;
  case ecScrollUp:
  case ecScrollDown:
  case ecScrollLeft:
  case ecScrollRight: DoScroll(command); break;
  case ecInsertMode: SetInsertMode(true); break;
  case ecOverwriteMode: SetInsertMode(false); break;
  case ecToggleMode: SetInsertMode(!InsertMode()); break;
  case ecNormalSelect: SetSelectionMode(smNormal); break;
  case ecColumnSelect: SetSelectionMode(smColumn); break;
  case ecLineSelect: SetSelectionMode(smLine); break;
  case ecMatchBracket: SetCaretPos(FModel.FindMatchingBracket()); break;
  case ecContextHelp:
    if (OnContextHelp)
      OnContextHelp(*this, WordAtCursor());
    break;
  case ecDeleteLastChar: FModel.Backspace(); break;
  case ecDeleteChar: FModel.DeleteChar(); break;
  case ecChar: FModel.TypeChar(ch); break;
  case ecLineBreak: FModel.LineBreak(true); break;
  case ecInsertLine: FModel.LineBreak(false); break;
  case ecTab: FModel.Tab(); break;
  case ecShiftTab: FModel.ShiftTab(); break;
  case ecBlockIndent: FModel.BlockIndent(); break;
  case ecBlockUnindent: FModel.BlockUnindent(); break;
  case ecUpperCase:
  case ecLowerCase:
  case ecToggleCase:
  case ecTitleCase: FModel.CaseChange(command); break;
  case ecUpperCaseBlock:
  case ecLowerCaseBlock:
  case ecToggleCaseBlock: FModel.BlockCaseChange(command); break;
  case ecDeleteWord:
    FModel.DeleteRange(CaretXY(), FModel.NextWordPos(CaretXY()),
                       TKzChangeReason::QuietDeleteAfterCaret);
    break;
  case ecDeleteEOL:
    FModel.DeleteRange(CaretXY(), {Lines().LineLength(CaretY() - 1) + 1, CaretY()},
                       TKzChangeReason::QuietDeleteAfterCaret);
    break;
  case ecDeleteLastWord:
    FModel.DeleteRange(FModel.PrevWordPos(CaretXY()), CaretXY(),
                       TKzChangeReason::QuietDeleteBeforeCaret);
    break;
  case ecDeleteBOL:
    FModel.DeleteRange({1, CaretY()}, CaretXY(), TKzChangeReason::QuietDeleteBeforeCaret);
    break;
  case ecDeleteLine: FModel.DeleteLine(); break;
  case ecClearAll:
    if (!ReadOnly())
      ClearAll();
    break;
  case ecImeStr:
    if (data && !ReadOnly())
      SetSelectedText(*static_cast<const std::string *>(data));
    break;
  default:
    if (command >= ecGotoMarker0 && command <= ecGotoMarker9) {
      if (BookMarkOptions().EnableKeys)
        GotoBookMark(command - ecGotoMarker0);
    } else if (command >= ecSetMarker0 && command <= ecSetMarker9) {
      if (BookMarkOptions().EnableKeys)
        DoSetMarker(command - ecSetMarker0);
    }
    break;
  }
}

void TCustomKzEdit::DoSetMarker(int number) {
  int x, y;
  if (GetBookMark(number, x, y) && y == CaretY())
    ClearBookMark(number);
  else
    SetBookMark(number, CaretX(), CaretY());
}
