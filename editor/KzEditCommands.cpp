// The editing commands: caret movement, typing, line breaks, deletion, tabs, block
// indentation, case changes, brackets and bookmarks, each recorded for undo.
#include "editor/KzEdit.h"

#include "editor/KzEditGuards.h"
#include "editor/KzEditMiscProcs.h"
#include "editor/KzEditTokenWalk.h"

#include <algorithm>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Case mapping of the Windows-1252 letters.
unsigned char UpCase(unsigned char c) {
  if (c >= 'a' && c <= 'z')
    return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
    return static_cast<unsigned char>(c - 32);
  switch (c) {
  case 0x9A: return 0x8A;
  case 0x9C: return 0x8C;
  case 0x9E: return 0x8E;
  case 0xFF: return 0x9F;
  default: return c;
  }
}

unsigned char LowCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z')
    return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
    return static_cast<unsigned char>(c + 32);
  switch (c) {
  case 0x8A: return 0x9A;
  case 0x8C: return 0x9C;
  case 0x8E: return 0x9E;
  case 0x9F: return 0xFF;
  default: return c;
  }
}

std::string ConvertCase(const std::string &s, TKzEditorCommand command) {
  std::string out = s;
  for (std::size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    switch (command) {
    case ecUpperCase: case ecUpperCaseBlock: c = UpCase(c); break;
    case ecLowerCase: case ecLowerCaseBlock: c = LowCase(c); break;
    case ecToggleCase: case ecToggleCaseBlock: c = UpCase(c) != c ? UpCase(c) : LowCase(c); break;
    case ecTitleCase: c = i == 0 ? UpCase(c) : LowCase(c); break;
    default: break;
    }
    out[i] = static_cast<char>(c);
  }
  return out;
}

constexpr const char *Brackets = "()[]{}<>";

} // namespace

// ---- helpers ----

void TCustomKzEdit::DeleteSelectionRecorded() {
  // A selection made backwards (anchor after the caret end) records DeleteAfterCaret, so
  // that undoing it puts the caret back at the front of the restored text.
  TKzChangeReason reason = FBlockEnd < FBlockBegin ? TKzChangeReason::DeleteAfterCaret
                                                   : TKzChangeReason::DeleteBeforeCaret;
  FUndoList.PushChange(reason, SelectionFirst(), SelectionLast(), SelectedCharacters(),
                       FSelectionMode, RectangleStarts(FSelectionMode, FBlockBegin, FBlockEnd));
  SetSelTextPrimitive(FSelectionMode, std::string());
}

void TCustomKzEdit::GroupBreakBeforeMove() {
  if (HasOption(eoGroupUndo) && FUndoList.HasItems())
    FUndoList.AddGroupBreak();
}

void TCustomKzEdit::MoveCaretAndSelection(TBufferCoord before, TBufferCoord after, bool select) {
  GroupBreakBeforeMove();
  IncPaintLock();
  if (select && !HasOption(eoNoSelection)) {
    if (!SelectionAvailable())
      SetSelectionAnchor(before);
    if (FSelectionMode == smColumn && after.Char == FBlockBegin.Char)
      ++after.Char; // a rectangle of zero width would be no selection
    InternalSetCaretXY(after, true);
    SetSelectionEnd(CaretXY());
  } else {
    InternalSetCaretXY(after, true);
    SetSelectionAnchor(CaretXY());
  }
  DecPaintLock();
}

void TCustomKzEdit::MoveCaretHorz(int dx, bool select) {
  TBufferCoord p = CaretXY();
  TBufferCoord target = p;
  const int len = FLines.LineLength(p.Line - 1);
  target.Char = p.Char + dx;
  if (!HasOption(eoScrollPastEol)) {
    if (dx > 0) {
      if (p.Char > len && p.Line < FLines.Count()) {
        target = {1, p.Line + 1};
      } else {
        target.Char = std::min(target.Char, len + 1);
      }
    } else if (dx < 0 && p.Char == 1 && p.Line > 1) {
      target = {FLines.LineLength(p.Line - 2) + 1, p.Line - 1};
    }
  }
  target.Char = std::max(target.Char, 1);
  MoveCaretAndSelection(p, target, select);
}

void TCustomKzEdit::MoveCaretVert(int dy, bool select) {
  TDisplayCoord d = DisplayXY();
  int row = std::min(std::max(d.Row + dy, 1), DisplayLineCount());
  int keep = FLastCaretX;
  int column = HasOption(eoKeepCaretX) ? FLastCaretX : d.Column;
  TBufferCoord target = DisplayToBufferPos({column, row});
  MoveCaretAndSelection(CaretXY(), target, select);
  if (HasOption(eoKeepCaretX))
    FLastCaretX = keep;
}

TBufferCoord TCustomKzEdit::PrevWordPos(TBufferCoord p) const {
  std::string_view s = FLines.LineView(p.Line - 1);
  int pos = std::min(p.Char, int(s.size()) + 1) - 1; // characters before the caret
  while (pos > 0 && !IsIdentChar(s[std::size_t(pos - 1)]))
    --pos;
  if (pos > 0) {
    while (pos > 0 && IsIdentChar(s[std::size_t(pos - 1)]))
      --pos;
    return {pos + 1, p.Line};
  }
  if (p.Line > 1)
    return {FLines.LineLength(p.Line - 2) + 1, p.Line - 1};
  return {1, p.Line};
}

TBufferCoord TCustomKzEdit::NextWordPos(TBufferCoord p) const {
  std::string_view s = FLines.LineView(p.Line - 1);
  const int len = int(s.size());
  if (p.Char <= len) {
    int pos = std::max(p.Char, 1) - 1;
    while (pos < len && IsIdentChar(s[std::size_t(pos)]))
      ++pos;
    while (pos < len && !IsIdentChar(s[std::size_t(pos)]))
      ++pos;
    return {pos + 1, p.Line};
  }
  if (p.Line < FLines.Count()) {
    std::string_view t = FLines.LineView(p.Line);
    int pos = 0;
    while (pos < int(t.size()) && !IsIdentChar(t[std::size_t(pos)]))
      ++pos;
    return {pos < int(t.size()) ? pos + 1 : 1, p.Line + 1};
  }
  return p;
}

void TCustomKzEdit::DoLineStart(bool select) {
  TBufferCoord p = CaretXY();
  int target = 1;
  if (HasOption(eoEnhanceHomeKey)) {
    std::string_view s = FLines.LineView(p.Line - 1);
    int first = 0;
    while (first < int(s.size()) && IsBlank(s[std::size_t(first)]))
      ++first;
    if (first < int(s.size()) && p.Char > first + 1)
      target = first + 1;
  }
  MoveCaretAndSelection(p, {target, p.Line}, select);
}

void TCustomKzEdit::DoPageMove(TKzEditorCommand command, bool select) {
  int page = FLinesInWindow;
  if (HasOption(eoHalfPageScroll))
    page /= 2;
  if (HasOption(eoScrollByOneLess))
    --page;
  page = std::max(page, 1);
  int dir = (command == ecPageUp || command == ecSelPageUp) ? -1 : 1;
  IncPaintLock();
  SetTopLine(FTopLine + dir * page);
  MoveCaretVert(dir * page, select);
  DecPaintLock();
}

void TCustomKzEdit::DoScroll(TKzEditorCommand command) {
  IncPaintLock();
  switch (command) {
  case ecScrollUp:
  case ecScrollDown: {
    SetTopLine(FTopLine + (command == ecScrollUp ? -1 : 1));
    int bottom = FTopLine + std::max(FLinesInWindow, 1) - 1;
    TDisplayCoord d = DisplayXY();
    int row = std::min(std::max(d.Row, FTopLine), bottom);
    if (row != d.Row)
      InternalSetCaretXY(DisplayToBufferPos({d.Column, row}), false);
    break;
  }
  case ecScrollLeft: SetLeftChar(FLeftChar - 1); break;
  case ecScrollRight: SetLeftChar(FLeftChar + 1); break;
  default: break;
  }
  DecPaintLock();
}

// ---- typing ----

void TCustomKzEdit::DoTypeChar(char ch) {
  const unsigned char code = static_cast<unsigned char>(ch);
  if (FReadOnly || code < 32 || code == 127)
    return;
  if (SelectionAvailable()) {
    FUndoList.BeginBlock();
    DeleteSelectionRecorded();
    TBufferCoord start;
    SetSelTextPrimitive(FSelectionMode, std::string(1, ch), &start);
    RecordInsertion(TKzChangeReason::InsertText, FSelectionMode, start);
    FUndoList.EndBlock();
    return;
  }
  if (FInsertMode && FCaretX > FMaxScrollWidth && !HasOption(eoAutoSizeMaxScrollWidth))
    return;
  IncPaintLock();
  {
    TKzEditUpdateGuard guard(FLines);
    if (FLines.Count() == 0)
      FLines.AddLine(std::string_view());
    const int y = FCaretY;
    std::string line = FLines.GetLine(y - 1);
    int x = FCaretX;
    const bool padded = x - 1 > int(line.size());
    if (padded)
      FUndoList.BeginBlock();
    const int padFrom = int(line.size());
    if (padded) {
      const int from = int(line.size()) + 1;
      if (line.empty() && !HasOption(eoTabsToSpaces)) {
        line = IndentString(x - 1);
        // Tabs cover several columns: the caret's buffer column shrinks with them.
        x = int(line.size()) + 1;
      } else {
        line.append(std::size_t(x - 1) - line.size(), ' ');
      }
      FUndoList.PushChange(TKzChangeReason::PadSpaces, {from, y}, {int(line.size()) + 1, y},
                           std::string(), smNormal);
    }
    std::string overwritten;
    if (FInsertMode) {
      line.insert(std::size_t(x - 1), 1, ch);
    } else if (x - 1 < int(line.size())) {
      overwritten.assign(1, line[std::size_t(x - 1)]);
      line[std::size_t(x - 1)] = ch;
    } else {
      line += ch;
    }
    StoreLine(y - 1, line, padded ? padFrom : x - 1, x);
    FUndoList.PushChange(TKzChangeReason::InsertText, {x, y}, {x + 1, y}, overwritten, smNormal);
    InternalSetCaretXY({x + 1, y}, true);
    if (padded)
      FUndoList.EndBlock();
  }
  DecPaintLock();
}

// ---- line break ----

void TCustomKzEdit::DoLineBreak(bool moveCaret) {
  if (FReadOnly)
    return;
  FUndoList.BeginBlock();
  IncPaintLock();
  {
    TKzEditUpdateGuard guard(FLines);
    if (SelectionAvailable())
      DeleteSelectionRecorded();
    if (FLines.Count() == 0)
      FLines.AddLine(std::string_view());
    const TBufferCoord caret = CaretXY();
    const int y0 = caret.Line - 1;
    const std::string line = FLines.GetLine(y0);
    const int len = int(line.size());
    const bool autoIndent = HasOption(eoAutoIndent);
    std::string moved;
    TBufferCoord newCaret;
    if (line.empty()) {
      FLines.InsertLine(y0, std::string_view());
      int indent = 0;
      if (autoIndent)
        for (int i = y0 - 1; i >= 0; --i)
          if (FLines.LineLength(i) > 0) {
            indent = LeadingWhite(FLines.LineView(i));
            break;
          }
      newCaret = {indent + 1, caret.Line + 1};
    } else if (caret.Char == 1) {
      FLines.InsertLine(y0, std::string_view());
      moved = line;
      newCaret = {1, caret.Line + 1};
    } else if (caret.Char > len) {
      std::string ws;
      if (autoIndent) {
        ws = line.substr(0, std::size_t(LeadingWhite(line)));
        if (ws.empty())
          for (int i = y0 - 1; i >= 0; --i)
            if (FLines.LineLength(i) > 0) {
              std::string above = FLines.GetLine(i);
              ws = above.substr(0, std::size_t(LeadingWhite(above)));
              break;
            }
      }
      FLines.InsertLine(y0 + 1, ws);
      newCaret = {int(ws.size()) + 1, caret.Line + 1};
    } else {
      std::string left = line.substr(0, std::size_t(caret.Char - 1));
      moved = line.substr(std::size_t(caret.Char - 1));
      // Undoing the break pads the line up to the caret again: nothing to record here.
      StoreLine(y0, left, 0, int(left.size()));
      int width = 0;
      if (autoIndent)
        for (char c : left) {
          if (static_cast<unsigned char>(c) < 1 || static_cast<unsigned char>(c) > 32)
            break;
          width += c == '\t' ? FTabWidth : 1;
        }
      std::string prefix = IndentString(width);
      FLines.InsertLine(y0 + 1, prefix + moved);
      newCaret = {int(prefix.size()) + 1, caret.Line + 1};
    }
    FUndoList.PushChange(TKzChangeReason::BreakLine, caret, caret, moved, FSelectionMode);
    InternalSetCaretXY(moveCaret ? newCaret : caret, true);
  }
  DecPaintLock();
  FUndoList.EndBlock();
}

// ---- deletion ----

void TCustomKzEdit::DoBackspace() {
  if (FReadOnly)
    return;
  if (SelectionAvailable()) {
    FUndoList.BeginBlock();
    DeleteSelectionRecorded();
    FUndoList.EndBlock();
    return;
  }
  const TBufferCoord caret = CaretXY();
  if (FLines.Count() == 0)
    return;
  const int y = caret.Line;
  std::string line = FLines.GetLine(y - 1);
  const int len = int(line.size());
  // The indent of the nearest line above that is indented less than `than` columns. The
  // walk may cross the whole document, so it looks at the lines where they are.
  auto indentAbove = [&](int than) {
    for (int i = y - 2; i >= 0; --i) {
      std::string_view s = FLines.LineView(i);
      if (s.empty())
        continue;
      int w = LeadingWhite(s);
      if (w < than)
        return w;
    }
    return 0;
  };
  if (caret.Char > len + 1) {
    int target = caret.Char - 1;
    if (HasOption(eoSmartTabDelete))
      target = len == 0 ? indentAbove(caret.Char - 1) + 1 : len + 1;
    MoveCaretAndSelectionQuiet({target, y});
    return;
  }
  if (caret.Char == 1) {
    if (y == 1)
      return;
    IncPaintLock();
    {
      TKzEditUpdateGuard guard(FLines);
      std::string prev = FLines.GetLine(y - 2);
      TBufferCoord start{int(prev.size()) + 1, y - 1};
      FLines.ReplaceLine(y - 2, prev + line);
      FLines.DeleteLine(y - 1);
      FUndoList.PushChange(TKzChangeReason::QuietDeleteBeforeCaret, start, caret, "\r\n",
                           smNormal);
      InternalSetCaretXY(start, true);
    }
    DecPaintLock();
    return;
  }
  int target = caret.Char - 1;
  if (HasOption(eoAutoIndent) && caret.Char - 1 <= LeadingWhite(line)) {
    if (HasOption(eoSmartTabDelete)) {
      target = indentAbove(caret.Char - 1) + 1;
    } else {
      int d = BufferToDisplayColumn(line, caret.Char, FTabWidth);
      int stop = FTabWidth * ((d - 2) / FTabWidth) + 1;
      target = std::min(DisplayToBufferColumn(line, stop, FTabWidth), caret.Char - 1);
    }
    target = std::min(std::max(target, 1), caret.Char - 1);
  }
  IncPaintLock();
  {
    TKzEditUpdateGuard guard(FLines);
    std::string removed = line.substr(std::size_t(target - 1), std::size_t(caret.Char - target));
    line.erase(std::size_t(target - 1), std::size_t(caret.Char - target));
    FLines.ReplaceLine(y - 1, line);
    FUndoList.PushChange(TKzChangeReason::QuietDeleteBeforeCaret, {target, y}, caret, removed,
                         smNormal);
    InternalSetCaretXY({target, y}, true);
  }
  DecPaintLock();
}

void TCustomKzEdit::MoveCaretAndSelectionQuiet(TBufferCoord p) {
  IncPaintLock();
  InternalSetCaretXY(p, true);
  SetSelectionAnchor(CaretXY());
  DecPaintLock();
}

void TCustomKzEdit::DoDeleteChar() {
  if (FReadOnly)
    return;
  if (SelectionAvailable()) {
    FUndoList.BeginBlock();
    DeleteSelectionRecorded();
    FUndoList.EndBlock();
    return;
  }
  if (FLines.Count() == 0)
    return;
  const TBufferCoord caret = CaretXY();
  const int y = caret.Line;
  std::string line = FLines.GetLine(y - 1);
  IncPaintLock();
  {
    TKzEditUpdateGuard guard(FLines);
    if (caret.Char > int(line.size())) {
      if (y < FLines.Count()) {
        // The padding is recorded on its own, so that redoing the join pads the line again
        // before the next line comes up to the caret.
        const bool padded = caret.Char - 1 > int(line.size());
        FUndoList.BeginBlock();
        if (padded)
          FUndoList.PushChange(TKzChangeReason::PadSpaces, {int(line.size()) + 1, y}, caret,
                               std::string(), smNormal);
        line.append(std::size_t(caret.Char - 1) - line.size(), ' ');
        FLines.ReplaceLine(y - 1, line + FLines.GetLine(y));
        FLines.DeleteLine(y);
        FUndoList.PushChange(TKzChangeReason::QuietDeleteAfterCaret, caret, {1, y + 1}, "\r\n",
                             smNormal);
        FUndoList.EndBlock();
      }
    } else {
      std::string removed(1, line[std::size_t(caret.Char - 1)]);
      line.erase(std::size_t(caret.Char - 1), 1);
      FLines.ReplaceLine(y - 1, line);
      FUndoList.PushChange(TKzChangeReason::QuietDeleteAfterCaret, caret, {caret.Char + 1, y},
                           removed, smNormal);
    }
    InternalSetCaretXY(caret, true);
  }
  DecPaintLock();
}

void TCustomKzEdit::DoDeleteRange(TBufferCoord from, TBufferCoord to, TKzChangeReason reason) {
  if (FReadOnly || FLines.Count() == 0)
    return;
  from.Char = std::min(from.Char, FLines.LineLength(from.Line - 1) + 1);
  to.Char = std::min(to.Char, FLines.LineLength(to.Line - 1) + 1);
  if (!(from < to))
    return;
  std::string removed = SelectedTextOf(smNormal, from, to, false);
  IncPaintLock();
  {
    TKzEditUpdateGuard guard(FLines);
    DeleteSelectionPrimitive(smNormal, from, to);
    // Before the caret: start is where the caret ends, end where it was. After the caret:
    // start is the caret, end the end of the removed text.
    FUndoList.PushChange(reason, from, to, removed, smNormal);
    InternalSetCaretXY(from, true);
  }
  DecPaintLock();
}

void TCustomKzEdit::DoDeleteLine() {
  if (FReadOnly || FLines.Count() == 0)
    return;
  const int y = std::min(FCaretY, FLines.Count());
  std::string line = FLines.GetLine(y - 1);
  IncPaintLock();
  {
    TKzEditUpdateGuard guard(FLines);
    if (FLines.Count() == 1) {
      FLines.ReplaceLine(0, std::string_view());
      FUndoList.PushChange(TKzChangeReason::QuietDeleteAfterCaret, {1, 1},
                           {int(line.size()) + 1, 1}, line, smNormal);
    } else if (y == FLines.Count()) {
      // The last line goes with the break before it, so undo gives back exactly one line.
      TBufferCoord start{FLines.LineLength(y - 2) + 1, y - 1};
      FLines.DeleteLine(y - 1);
      FUndoList.PushChange(TKzChangeReason::QuietDeleteAfterCaret, start,
                           {int(line.size()) + 1, y}, "\r\n" + line, smNormal);
    } else {
      FLines.DeleteLine(y - 1);
      FUndoList.PushChange(TKzChangeReason::QuietDeleteAfterCaret, {1, y}, {1, y + 1},
                           line + "\r\n", smNormal);
    }
    InternalSetCaretXY({1, y}, true);
  }
  DecPaintLock();
}

// ---- tabs ----

bool TCustomKzEdit::IndentBlockOf(TKzIndentBlock &b) const {
  if (FReadOnly || !SelectionAvailable())
    return false;
  b.First = SelectionFirst();
  b.Last = SelectionLast();
  b.Anchor = FBlockBegin;
  b.End = FBlockEnd;
  b.Caret = CaretXY();
  b.FirstLine = b.First.Line;
  b.LastLine = b.Last.Line;
  // A selection that ends at the start of a line leaves that line alone.
  if (b.Last.Char == 1 && b.LastLine > b.FirstLine && FSelectionMode != smLine)
    --b.LastLine;
  b.Column = FSelectionMode == smColumn;
  b.DisplayLeft = b.Column ? RectangleColumns(b.Anchor, b.End).first : 1;
  return true;
}

void TCustomKzEdit::DoTab() {
  if (FReadOnly)
    return;
  if (HasOption(eoTabIndent) && SelectionAvailable() &&
      (FBlockBegin.Line != FBlockEnd.Line || FSelectionMode == smLine)) {
    DoBlockIndent();
    return;
  }
  FUndoList.BeginBlock();
  IncPaintLock();
  if (SelectionAvailable())
    DeleteSelectionRecorded();
  if (FLines.Count() == 0)
    FLines.AddLine(std::string_view());
  const TBufferCoord caret = CaretXY();
  const int dispCol = DisplayXY().Column;
  int width = 0;
  if (HasOption(eoSmartTabs) && caret.Line > 1) {
    for (int i = caret.Line - 2; i >= 0; --i) {
      if (FLines.ExpandedLength(i) < dispCol) // cached: no expansion for lines too short
        continue;
      std::string s = FLines.ExpandedLine(i);
      int pos = dispCol - 1;
      while (pos < int(s.size()) && !IsBlank(s[std::size_t(pos)]))
        ++pos;
      while (pos < int(s.size()) && IsBlank(s[std::size_t(pos)]))
        ++pos;
      width = pos - (dispCol - 1);
      break;
    }
  }
  std::string text;
  if (HasOption(eoTabsToSpaces)) {
    if (width == 0)
      width = FTabWidth - ((dispCol - 1) % FTabWidth);
    text.assign(std::size_t(width), ' ');
  } else {
    std::string_view line = FLines.LineView(caret.Line - 1);
    bool blankBefore = true;
    for (int i = 0; i < std::min(caret.Char - 1, int(line.size())); ++i)
      blankBefore = blankBefore && IsBlank(line[std::size_t(i)]);
    if (width > 0 && blankBefore) {
      // Tabs as far as they go towards the target, spaces for the rest.
      int col = dispCol - 1, target = dispCol - 1 + width;
      while ((col / FTabWidth + 1) * FTabWidth <= target) {
        text += '\t';
        col = (col / FTabWidth + 1) * FTabWidth;
      }
      text.append(std::size_t(target - col), ' ');
    } else {
      text.assign(1, '\t');
    }
  }
  // The tab goes in at the caret; in column mode as a column insertion, which records
  // itself, otherwise as a stream (a line-mode insertion would put it at the line's start).
  const TKzSelectionMode mode = FSelectionMode == smColumn ? smColumn : smNormal;
  SetSelTextPrimitive(mode, text);
  RecordInsertion(TKzChangeReason::InsertText, mode, caret);
  const TBufferCoord end{caret.Char + int(text.size()), caret.Line};
  FUndoList.EndBlock();
  InternalSetCaretXY(end, true);
  SetSelectionAnchor(CaretXY());
  DecPaintLock();
}

void TCustomKzEdit::DoShiftTab() {
  if (FReadOnly)
    return;
  if (HasOption(eoTabIndent) && SelectionAvailable() &&
      (FBlockBegin.Line != FBlockEnd.Line || FSelectionMode == smLine)) {
    DoBlockUnindent();
    return;
  }
  if (FLines.Count() == 0)
    return;
  const TBufferCoord caret = CaretXY();
  std::string line = FLines.GetLine(caret.Line - 1);
  const int len = int(line.size());
  auto blankBetween = [&](int from, int to) {
    for (int i = from; i < std::min(to, len + 1); ++i)
      if (!IsBlank(line[std::size_t(i - 1)]))
        return false;
    return true;
  };
  int target = 0;
  if (HasOption(eoSmartTabs) && caret.Char > 1) {
    for (int i = caret.Line - 2; i >= 0 && target == 0; --i) {
      std::string_view s = FLines.LineView(i);
      if (int(s.size()) < caret.Char - 1)
        continue;
      int pos = caret.Char - 1;
      while (pos > 0 && IsBlank(s[std::size_t(pos - 1)]))
        --pos;
      while (pos > 0 && !IsBlank(s[std::size_t(pos - 1)]))
        --pos;
      // Only blanks may go: a target that would cut into the line's text is no target.
      if (pos + 1 < caret.Char && blankBetween(pos + 1, caret.Char))
        target = pos + 1;
      break;
    }
  }
  if (target == 0) {
    int d = BufferToDisplayColumn(line, caret.Char, FTabWidth);
    int stopDisplay = FTabWidth * ((d - 2) / FTabWidth) + 1;
    if (caret.Char > len + 1) {
      target = std::max(caret.Char - (d - stopDisplay), 1);
    } else if (caret.Char > 1 && line[std::size_t(caret.Char - 2)] == '\t') {
      target = caret.Char - 1;
    } else {
      int stop = DisplayToBufferColumn(line, std::max(stopDisplay, 1), FTabWidth);
      target = caret.Char;
      while (target > stop && target > 1 && line[std::size_t(target - 2)] == ' ')
        --target;
    }
  }
  if (target < 1 || target >= caret.Char)
    return;
  IncPaintLock();
  {
    TKzEditUpdateGuard guard(FLines);
    int removeEnd = std::min(caret.Char, len + 1);
    std::string removed;
    if (target <= len) {
      removed = line.substr(std::size_t(target - 1), std::size_t(removeEnd - target));
      line.erase(std::size_t(target - 1), std::size_t(removeEnd - target));
      FLines.ReplaceLine(caret.Line - 1, line);
    }
    FUndoList.PushChange(TKzChangeReason::DeleteAfterCaret, {target, caret.Line}, caret, removed,
                         smNormal);
    InternalSetCaretXY({target, caret.Line}, true);
  }
  DecPaintLock();
}

// ---- block indentation ----

void TCustomKzEdit::DoBlockIndent() {
  TKzIndentBlock b;
  if (!IndentBlockOf(b))
    return;
  const std::string unit =
      HasOption(eoTabsToSpaces) ? std::string(std::size_t(FTabWidth), ' ') : std::string("\t");
  const int ulen = int(unit.size());
  const int firstLine = b.FirstLine, lastLine = b.LastLine, displayLeft = b.DisplayLeft;
  const bool column = b.Column;
  const TBufferCoord oldFirst = b.First, oldLast = b.Last;
  const TBufferCoord oldAnchor = b.Anchor, oldEnd = b.End, oldCaret = b.Caret;
  auto shifted = [&](TBufferCoord p) {
    if (p.Line >= firstLine && p.Line <= lastLine && (column || p.Char > 1))
      p.Char += ulen;
    return p;
  };
  IncPaintLock();
  FUndoList.BeginBlock();
  FUndoList.PushChange(TKzChangeReason::IndentBlock, oldFirst, oldLast, std::string(),
                       FSelectionMode);
  {
    TKzEditUpdateGuard guard(FLines);
    for (int y = firstLine; y <= lastLine; ++y) {
      std::string s = FLines.GetLine(y - 1);
      int bx = 1;
      if (column) {
        int expanded = GetExpandedLength(s, FTabWidth);
        if (expanded < displayLeft - 1) {
          const int from = int(s.size()) + 1;
          s.append(std::size_t(displayLeft - 1 - expanded), ' ');
          FUndoList.PushChange(TKzChangeReason::PadSpaces, {from, y}, {int(s.size()) + 1, y},
                               std::string(), smNormal);
        }
        bx = DisplayToBufferColumn(s, displayLeft, FTabWidth);
      }
      s.insert(std::size_t(bx - 1), unit);
      FLines.ReplaceLine(y - 1, s);
      FUndoList.PushChange(TKzChangeReason::PasteText, {bx, y}, {bx + ulen, y}, std::string(),
                           smColumn);
    }
  }
  FUndoList.PushChange(TKzChangeReason::IndentBlock, shifted(oldFirst), shifted(oldLast),
                       std::string(), FSelectionMode);
  FUndoList.EndBlock();
  TBufferCoord caret = oldCaret;
  if (caret.Line >= firstLine && caret.Line <= lastLine && (column || caret.Char > 1))
    caret.Char += ulen;
  SetCaretAndSelection(caret, shifted(oldAnchor), shifted(oldEnd));
  DecPaintLock();
}

void TCustomKzEdit::DoBlockUnindent() {
  TKzIndentBlock b;
  if (!IndentBlockOf(b))
    return;
  const int firstLine = b.FirstLine, lastLine = b.LastLine, displayLeft = b.DisplayLeft;
  const bool column = b.Column;
  const TBufferCoord oldFirst = b.First, oldLast = b.Last;
  const TBufferCoord oldAnchor = b.Anchor, oldEnd = b.End, oldCaret = b.Caret;
  std::vector<int> removedLen, columns;
  std::string pieces;
  bool any = false;
  IncPaintLock();
  {
    TKzEditUpdateGuard guard(FLines);
    for (int y = firstLine; y <= lastLine; ++y) {
      std::string s = FLines.GetLine(y - 1);
      int bx = column ? DisplayToBufferColumn(s, displayLeft, FTabWidth) : 1;
      if (column)
        columns.push_back(bx);
      int p = bx - 1, n = 0;
      if (p < int(s.size()) && s[std::size_t(p)] == '\t') {
        n = 1;
      } else {
        while (n < FTabWidth && p + n < int(s.size()) && s[std::size_t(p + n)] == ' ')
          ++n;
        if (n < FTabWidth && p + n < int(s.size()) && s[std::size_t(p + n)] == '\t')
          ++n;
      }
      if (y > firstLine)
        pieces += "\r\n";
      if (n > 0) {
        pieces += s.substr(std::size_t(p), std::size_t(n));
        s.erase(std::size_t(p), std::size_t(n));
        FLines.ReplaceLine(y - 1, s);
        any = true;
      }
      removedLen.push_back(n);
    }
  }
  if (!any) {
    DecPaintLock();
    return;
  }
  FUndoList.PushChange(TKzChangeReason::UnindentBlock, oldFirst, oldLast, pieces,
                       FSelectionMode, std::move(columns));
  if (!column) {
    auto shift = [&](TBufferCoord p) {
      if (p.Line >= firstLine && p.Line <= lastLine && p.Char > 1)
        p.Char = std::max(1, p.Char - removedLen[std::size_t(p.Line - firstLine)]);
      return p;
    };
    SetCaretAndSelection(shift(oldCaret), shift(oldAnchor), shift(oldEnd));
  } else {
    SetCaretAndSelection(oldCaret, oldAnchor, oldEnd);
  }
  DecPaintLock();
}

// ---- case changes ----

void TCustomKzEdit::DoCaseChange(TKzEditorCommand command) {
  if (FReadOnly || FLines.Count() == 0)
    return;
  const TBufferCoord oldCaret = CaretXY(), oldAnchor = FBlockBegin, oldEnd = FBlockEnd;
  TBufferCoord p = oldCaret;
  TBufferCoord ws = WordStart(p), we = WordEnd(p);
  for (int attempt = 0; attempt < 2 && !(ws < we); ++attempt) {
    p = PrevWordPos(p);
    ws = WordStart(p);
    we = WordEnd(p);
  }
  if (!(ws < we))
    return;
  IncPaintLock();
  FUndoList.BeginBlock();
  FUndoList.PushChange(TKzChangeReason::CaretMove, oldCaret, oldCaret, std::string(),
                       FSelectionMode);
  FUndoList.PushChange(TKzChangeReason::SelectionChange, oldAnchor, oldEnd, std::string(),
                       FSelectionMode);
  TKzSelectionMode mode = FSelectionMode;
  FSelectionMode = smNormal;
  SetCaretAndSelection(we, ws, we);
  SetSelectedText(ConvertCase(SelectedText(), command));
  FSelectionMode = mode;
  FUndoList.EndBlock();
  SetCaretPos(oldCaret);
  DecPaintLock();
}

void TCustomKzEdit::DoBlockCaseChange(TKzEditorCommand command) {
  if (FReadOnly || FLines.Count() == 0)
    return;
  const TBufferCoord oldCaret = CaretXY(), oldAnchor = FBlockBegin, oldEnd = FBlockEnd;
  const bool hadSelection = SelectionAvailable();
  IncPaintLock();
  if (!hadSelection) {
    if (oldCaret.Char > FLines.LineLength(oldCaret.Line - 1)) {
      DecPaintLock();
      return;
    }
    SetSelectionAnchor(oldCaret);
    SetSelectionEnd({oldCaret.Char + 1, oldCaret.Line});
  }
  std::string text = SelectedCharacters();
  std::string converted = ConvertCase(text, command);
  if (converted != text)
    SetSelectedText(converted);
  if (hadSelection)
    SetCaretAndSelection(oldCaret, oldAnchor, oldEnd);
  else
    SetCaretPos(oldCaret);
  DecPaintLock();
}

// ---- brackets ----

TBufferCoord TCustomKzEdit::FindMatchingBracket() const {
  const TBufferCoord none{0, 0};
  if (FCaretY < 1 || FCaretY > FLines.Count())
    return none;
  std::string_view line = FLines.LineView(FCaretY - 1);
  if (FCaretX < 1 || FCaretX > int(line.size()))
    return none;
  const char bracket = line[std::size_t(FCaretX - 1)];
  const char *hit = std::char_traits<char>::find(Brackets, 8, bracket);
  if (!hit)
    return none;
  const int index = int(hit - Brackets);
  const bool opening = index % 2 == 0;
  const char partner = Brackets[opening ? index + 1 : index - 1];
  TKzHighlighterAttributes *stringAttr =
      FHighlighter ? FHighlighter->RoleAttribute(RoleString) : nullptr;
  TKzHighlighterAttributes *commentAttr =
      FHighlighter ? FHighlighter->RoleAttribute(RoleComment) : nullptr;
  // The tokens of one line at a time, so a line full of brackets is scanned once.
  int tokenLine = -1;
  std::vector<std::pair<int, TKzHighlighterAttributes *>> tokens; // 1-based start, attribute
  std::string scanLine;
  auto counts = [&](int x, int y) {
    if (!FHighlighter)
      return true;
    if (tokenLine != y) {
      tokenLine = y;
      tokens.clear();
      scanLine = FLines.GetLine(y - 1);
      TKzTokenWalk walk(*FHighlighter, FLines, scanLine, y - 1);
      for (TKzToken t; walk.Next(t);)
        tokens.emplace_back(t.Start + 1, t.Attr);
    }
    TKzHighlighterAttributes *attr = nullptr;
    bool found = false;
    for (std::size_t i = tokens.size(); i-- > 0;)
      if (tokens[i].first <= x) {
        attr = tokens[i].second;
        found = true;
        break;
      }
    if (!found)
      return true;
    return !(attr && (attr == stringAttr || attr == commentAttr));
  };
  int level = 1;
  int x = FCaretX, y = FCaretY;
  while (true) {
    if (opening) {
      ++x;
      while (x > FLines.LineLength(y - 1)) {
        if (y >= FLines.Count())
          return none;
        ++y;
        x = 1;
      }
    } else {
      --x;
      while (x < 1) {
        if (y <= 1)
          return none;
        --y;
        x = FLines.LineLength(y - 1);
      }
    }
    char c = FLines.LineView(y - 1)[std::size_t(x - 1)];
    if (c != bracket && c != partner)
      continue;
    if (!counts(x, y))
      continue;
    level += c == bracket ? 1 : -1;
    if (level == 0)
      return {x, y};
  }
}

// ---- the command table ----

void TCustomKzEdit::ExecuteCommand(TKzEditorCommand command, char ch, void *data) {
  // A failing command (the clipboard refused) must not leave the paint lock held, or no
  // status change would ever be reported again.
  TKzPaintLock lock(*this);
  const bool select = command >= ecSelLeft && command <= ecSelGotoXY;
  switch (command) {
  case ecLeft: case ecSelLeft: MoveCaretHorz(-1, select); break;
  case ecRight: case ecSelRight: MoveCaretHorz(1, select); break;
  case ecPageLeft: case ecSelPageLeft: MoveCaretHorz(-std::max(FCharsInWindow, 1), select); break;
  case ecPageRight: case ecSelPageRight: MoveCaretHorz(std::max(FCharsInWindow, 1), select); break;
  case ecUp: case ecSelUp: MoveCaretVert(-1, select); break;
  case ecDown: case ecSelDown: MoveCaretVert(1, select); break;
  case ecWordLeft: case ecSelWordLeft: MoveCaretAndSelection(CaretXY(), PrevWordPos(CaretXY()), select); break;
  case ecWordRight: case ecSelWordRight: MoveCaretAndSelection(CaretXY(), NextWordPos(CaretXY()), select); break;
  case ecLineStart: case ecSelLineStart: DoLineStart(select); break;
  case ecLineEnd: case ecSelLineEnd:
    MoveCaretAndSelection(CaretXY(), {FLines.LineLength(FCaretY - 1) + 1, FCaretY}, select);
    break;
  case ecPageUp: case ecSelPageUp: case ecPageDown: case ecSelPageDown: DoPageMove(command, select); break;
  case ecPageTop: case ecSelPageTop: case ecPageBottom: case ecSelPageBottom: {
    int row = (command == ecPageTop || command == ecSelPageTop)
                  ? FTopLine
                  : std::min(FTopLine + std::max(FLinesInWindow, 1) - 1, DisplayLineCount());
    MoveCaretAndSelection(CaretXY(), DisplayToBufferPos({DisplayXY().Column, row}), select);
    break;
  }
  case ecEditorTop: case ecSelEditorTop: MoveCaretAndSelection(CaretXY(), {1, 1}, select); break;
  case ecEditorBottom: case ecSelEditorBottom: {
    int n = std::max(FLines.Count(), 1);
    MoveCaretAndSelection(CaretXY(), {FLines.LineLength(n - 1) + 1, n}, select);
    break;
  }
  case ecGotoXY: case ecSelGotoXY:
    if (data)
      MoveCaretAndSelection(CaretXY(), *static_cast<TBufferCoord *>(data), select);
    break;
  case ecSelectAll: SelectAll(); break;
  case ecCopy: CopySelection(); break;
  case ecCut: if (SelectionAvailable()) CutSelection(); break;
  case ecPaste: PasteClipboard(); break;
  case ecUndo: Undo(); break;
  case ecRedo: Redo(); break;
  case ecScrollUp: case ecScrollDown: case ecScrollLeft: case ecScrollRight: DoScroll(command); break;
  case ecInsertMode: SetInsertMode(true); break;
  case ecOverwriteMode: SetInsertMode(false); break;
  case ecToggleMode: SetInsertMode(!FInsertMode); break;
  case ecNormalSelect: SetSelectionMode(smNormal); break;
  case ecColumnSelect: SetSelectionMode(smColumn); break;
  case ecLineSelect: SetSelectionMode(smLine); break;
  case ecMatchBracket: SetCaretPos(FindMatchingBracket()); break;
  case ecContextHelp: if (OnContextHelp) OnContextHelp(*this, WordAtCursor()); break;
  case ecDeleteLastChar: DoBackspace(); break;
  case ecDeleteChar: DoDeleteChar(); break;
  case ecChar: DoTypeChar(ch); break;
  case ecLineBreak: DoLineBreak(true); break;
  case ecInsertLine: DoLineBreak(false); break;
  case ecTab: DoTab(); break;
  case ecShiftTab: DoShiftTab(); break;
  case ecBlockIndent: DoBlockIndent(); break;
  case ecBlockUnindent: DoBlockUnindent(); break;
  case ecUpperCase: case ecLowerCase: case ecToggleCase: case ecTitleCase: DoCaseChange(command); break;
  case ecUpperCaseBlock: case ecLowerCaseBlock: case ecToggleCaseBlock: DoBlockCaseChange(command); break;
  case ecDeleteWord: DoDeleteRange(CaretXY(), NextWordPos(CaretXY()), TKzChangeReason::QuietDeleteAfterCaret); break;
  case ecDeleteEOL: DoDeleteRange(CaretXY(), {FLines.LineLength(FCaretY - 1) + 1, FCaretY}, TKzChangeReason::QuietDeleteAfterCaret); break;
  case ecDeleteLastWord: DoDeleteRange(PrevWordPos(CaretXY()), CaretXY(), TKzChangeReason::QuietDeleteBeforeCaret); break;
  case ecDeleteBOL: DoDeleteRange({1, FCaretY}, CaretXY(), TKzChangeReason::QuietDeleteBeforeCaret); break;
  case ecDeleteLine: DoDeleteLine(); break;
  case ecClearAll: if (!FReadOnly) ClearAll(); break;
  case ecImeStr:
    if (data && !FReadOnly)
      SetSelectedText(*static_cast<const std::string *>(data));
    break;
  default:
    if (command >= ecGotoMarker0 && command <= ecGotoMarker9) {
      if (FBookMarkOptions.EnableKeys)
        GotoBookMark(command - ecGotoMarker0);
    } else if (command >= ecSetMarker0 && command <= ecSetMarker9) {
      if (FBookMarkOptions.EnableKeys)
        DoSetMarker(command - ecSetMarker0);
    }
    break;
  }
}

void TCustomKzEdit::DoSetMarker(int number) {
  int x, y;
  if (GetBookMark(number, x, y) && y == FCaretY)
    ClearBookMark(number);
  else
    SetBookMark(number, FCaretX, FCaretY);
}
