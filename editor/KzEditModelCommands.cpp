// The editing commands: caret movement, typing, line breaks, deletion, tabs, block
// indentation, case changes, brackets and bookmarks, each recorded for undo.
#include "editor/KzEditModel.h"

#include "editor/KzEditCharClass.h"
#include "editor/KzEditMiscProcs.h"
#include "editor/KzEditTokenWalk.h"

#include <algorithm>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Case mapping of the Windows-1252 letters, by the tables the search folds case with.
unsigned char UpCase(unsigned char c) { return kzcharclass::ToUpper(c); }
unsigned char LowCase(unsigned char c) { return kzcharclass::ToLower(c); }

std::string ConvertCase(const std::string &s, TKzEditorCommand command) {
  std::string out = s;
  for (std::size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    switch (command) {
    case ecUpperCase:
    case ecUpperCaseBlock: c = UpCase(c); break;
    case ecLowerCase:
    case ecLowerCaseBlock: c = LowCase(c); break;
    case ecToggleCase:
    case ecToggleCaseBlock: c = UpCase(c) != c ? UpCase(c) : LowCase(c); break;
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

void TKzEditModel::DeleteSelectionRecorded() {
  // A selection made backwards (anchor after the caret end) records DeleteAfterCaret, so
  // that undoing it puts the caret back at the front of the restored text.
  TKzChangeReason reason = FBlockEnd < FBlockBegin ? TKzChangeReason::DeleteAfterCaret
                                                   : TKzChangeReason::DeleteBeforeCaret;
  FDoc.UndoList().PushChange(reason, SelectionFirst(), SelectionLast(), SelectedCharacters(),
                             FSelectionMode,
                             RectangleStarts(FSelectionMode, FBlockBegin, FBlockEnd));
  SetSelTextPrimitive(FSelectionMode, std::string());
}

void TKzEditModel::GroupBreakBeforeMove() {
  if (HasOption(eoGroupUndo) && FDoc.UndoList().HasItems())
    FDoc.UndoList().AddGroupBreak();
}

void TKzEditModel::MoveCaretAndSelection(TBufferCoord before, TBufferCoord after, bool select) {
  GroupBreakBeforeMove();
  TKzPaintLock lock(FHost);
  if (select && !HasOption(eoNoSelection)) {
    if (!SelectionAvailable())
      SetSelectionAnchor(before);
    if (FSelectionMode == smColumn && after.Char == FBlockBegin.Char)
      ++after.Char; // a rectangle of zero width would be no selection
    SetCaretXY(after, true);
    SetSelectionEnd(CaretXY());
  } else {
    SetCaretXY(after, true);
    SetSelectionAnchor(CaretXY());
  }
}

void TKzEditModel::MoveCaretHorz(int dx, bool select) {
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

void TKzEditModel::MoveCaretVert(int dy, bool select) {
  TDisplayCoord d = DisplayXY();
  int row = std::min(std::max(d.Row + dy, 1), DisplayLineCount());
  int keep = FLastCaretX;
  int column = HasOption(eoKeepCaretX) ? FLastCaretX : d.Column;
  TBufferCoord target = DisplayToBufferPos({column, row});
  MoveCaretAndSelection(CaretXY(), target, select);
  if (HasOption(eoKeepCaretX))
    FLastCaretX = keep;
}

void TKzEditModel::LineStart(bool select) {
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

void TKzEditModel::LineEnd(bool select) {
  MoveCaretAndSelection(CaretXY(), {FLines.LineLength(FCaretY - 1) + 1, FCaretY}, select);
}

// ---- typing ----

void TKzEditModel::TypeChar(char ch) {
  const unsigned char code = static_cast<unsigned char>(ch);
  if (FReadOnly || code < 32 || code == 127)
    return;
  if (SelectionAvailable()) {
    TKzEditTransaction tx(*this);
    DeleteSelectionRecorded();
    TBufferCoord start;
    SetSelTextPrimitive(FSelectionMode, std::string(1, ch), &start);
    RecordInsertion(TKzChangeReason::InsertText, FSelectionMode, start);
    return;
  }
  if (FInsertMode && FCaretX > FMaxScrollWidth && !HasOption(eoAutoSizeMaxScrollWidth))
    return;
  // Padding up to a caret beyond the line's end is one step with the character.
  const bool padded = FCaretX - 1 > FLines.LineLength(FCaretY - 1);
  TKzEditTransaction tx(*this,
                        padded ? TKzEditTransaction::UndoBlock : TKzEditTransaction::NoUndoBlock);
  TKzEditUpdateGuard guard(FLines);
  if (FLines.Count() == 0)
    FLines.AddLine(std::string_view());
  const int y = FCaretY;
  std::string line = FLines.GetLine(y - 1);
  int x = FCaretX;
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
    FDoc.UndoList().PushChange(TKzChangeReason::PadSpaces, {from, y}, {int(line.size()) + 1, y},
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
  FDoc.UndoList().PushChange(TKzChangeReason::InsertText, {x, y}, {x + 1, y}, overwritten,
                             smNormal);
  SetCaretXY({x + 1, y}, true);
}

// ---- line break ----

std::string TKzEditModel::IndentAbove(int index) const {
  // A local view of the lines: the walk up a long run of empty lines stays one tight loop.
  const TKzEditStringList &lines = FLines;
  for (int i = index - 1; i >= 0; --i) {
    const std::string_view above = lines.LineView(i);
    if (!above.empty())
      return std::string(above.substr(0, std::size_t(LeadingWhite(above))));
  }
  return {};
}

void TKzEditModel::LineBreak(bool moveCaret) {
  if (FReadOnly)
    return;
  TKzEditTransaction tx(*this);
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
      const int indent = autoIndent ? int(IndentAbove(y0).size()) : 0;
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
          ws = IndentAbove(y0);
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
    FDoc.UndoList().PushChange(TKzChangeReason::BreakLine, caret, caret, moved, FSelectionMode);
    SetCaretXY(moveCaret ? newCaret : caret, true);
  }
}

// ---- deletion ----

void TKzEditModel::Backspace() {
  if (FReadOnly)
    return;
  if (SelectionAvailable()) {
    TKzEditTransaction tx(*this);
    DeleteSelectionRecorded();
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
    TKzEditTransaction tx(*this, TKzEditTransaction::NoUndoBlock);
    {
      TKzEditUpdateGuard guard(FLines);
      std::string prev = FLines.GetLine(y - 2);
      TBufferCoord start{int(prev.size()) + 1, y - 1};
      FLines.ReplaceLine(y - 2, prev + line);
      FLines.DeleteLine(y - 1);
      FDoc.UndoList().PushChange(TKzChangeReason::QuietDeleteBeforeCaret, start, caret, "\r\n",
                                 smNormal);
      SetCaretXY(start, true);
    }
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
  TKzEditTransaction tx(*this, TKzEditTransaction::NoUndoBlock);
  {
    TKzEditUpdateGuard guard(FLines);
    std::string removed = line.substr(std::size_t(target - 1), std::size_t(caret.Char - target));
    line.erase(std::size_t(target - 1), std::size_t(caret.Char - target));
    FLines.ReplaceLine(y - 1, line);
    FDoc.UndoList().PushChange(TKzChangeReason::QuietDeleteBeforeCaret, {target, y}, caret, removed,
                               smNormal);
    SetCaretXY({target, y}, true);
  }
}

void TKzEditModel::MoveCaretAndSelectionQuiet(TBufferCoord p) {
  TKzPaintLock lock(FHost);
  SetCaretXY(p, true);
  SetSelectionAnchor(CaretXY());
}

void TKzEditModel::DeleteChar() {
  if (FReadOnly)
    return;
  if (SelectionAvailable()) {
    TKzEditTransaction tx(*this);
    DeleteSelectionRecorded();
    return;
  }
  if (FLines.Count() == 0)
    return;
  const TBufferCoord caret = CaretXY();
  const int y = caret.Line;
  std::string line = FLines.GetLine(y - 1);
  // Joining the next line may pad this one first: one step with its own items.
  const bool join = caret.Char > int(line.size()) && y < FLines.Count();
  TKzEditTransaction tx(*this,
                        join ? TKzEditTransaction::UndoBlock : TKzEditTransaction::NoUndoBlock);
  {
    TKzEditUpdateGuard guard(FLines);
    if (caret.Char > int(line.size())) {
      if (join) {
        // The padding is recorded on its own, so that redoing the join pads the line again
        // before the next line comes up to the caret.
        const bool padded = caret.Char - 1 > int(line.size());
        if (padded)
          FDoc.UndoList().PushChange(TKzChangeReason::PadSpaces, {int(line.size()) + 1, y}, caret,
                                     std::string(), smNormal);
        line.append(std::size_t(caret.Char - 1) - line.size(), ' ');
        FLines.ReplaceLine(y - 1, line + FLines.GetLine(y));
        FLines.DeleteLine(y);
        FDoc.UndoList().PushChange(TKzChangeReason::QuietDeleteAfterCaret, caret, {1, y + 1},
                                   "\r\n", smNormal);
      }
    } else {
      std::string removed(1, line[std::size_t(caret.Char - 1)]);
      line.erase(std::size_t(caret.Char - 1), 1);
      FLines.ReplaceLine(y - 1, line);
      FDoc.UndoList().PushChange(TKzChangeReason::QuietDeleteAfterCaret, caret, {caret.Char + 1, y},
                                 removed, smNormal);
    }
    SetCaretXY(caret, true);
  }
}

void TKzEditModel::DeleteRange(TBufferCoord from, TBufferCoord to, TKzChangeReason reason) {
  if (FReadOnly || FLines.Count() == 0)
    return;
  from.Char = std::min(from.Char, FLines.LineLength(from.Line - 1) + 1);
  to.Char = std::min(to.Char, FLines.LineLength(to.Line - 1) + 1);
  if (!(from < to))
    return;
  std::string removed = SelectedTextOf(smNormal, from, to, false);
  TKzEditTransaction tx(*this, TKzEditTransaction::NoUndoBlock);
  {
    TKzEditUpdateGuard guard(FLines);
    DeleteSelectionPrimitive(smNormal, from, to);
    // Before the caret: start is where the caret ends, end where it was. After the caret:
    // start is the caret, end the end of the removed text.
    FDoc.UndoList().PushChange(reason, from, to, removed, smNormal);
    SetCaretXY(from, true);
  }
}

void TKzEditModel::DeleteLine() {
  if (FReadOnly || FLines.Count() == 0)
    return;
  const int y = std::min(FCaretY, FLines.Count());
  std::string line = FLines.GetLine(y - 1);
  TKzEditTransaction tx(*this, TKzEditTransaction::NoUndoBlock);
  {
    TKzEditUpdateGuard guard(FLines);
    if (FLines.Count() == 1) {
      FLines.ReplaceLine(0, std::string_view());
      FDoc.UndoList().PushChange(TKzChangeReason::QuietDeleteAfterCaret, {1, 1},
                                 {int(line.size()) + 1, 1}, line, smNormal);
    } else if (y == FLines.Count()) {
      // The last line goes with the break before it, so undo gives back exactly one line.
      TBufferCoord start{FLines.LineLength(y - 2) + 1, y - 1};
      FLines.DeleteLine(y - 1);
      FDoc.UndoList().PushChange(TKzChangeReason::QuietDeleteAfterCaret, start,
                                 {int(line.size()) + 1, y}, "\r\n" + line, smNormal);
    } else {
      FLines.DeleteLine(y - 1);
      FDoc.UndoList().PushChange(TKzChangeReason::QuietDeleteAfterCaret, {1, y}, {1, y + 1},
                                 line + "\r\n", smNormal);
    }
    SetCaretXY({1, y}, true);
  }
}

// ---- tabs ----

bool TKzEditModel::IndentBlockOf(TKzIndentBlock &b) const {
  if (FReadOnly || !SelectionAvailable())
    return false;
  b.FirstLine = SelectionFirst().Line;
  b.LastLine = SelectionLast().Line;
  // A selection that ends at the start of a line leaves that line alone.
  if (SelectionLast().Char == 1 && b.LastLine > b.FirstLine && FSelectionMode != smLine)
    --b.LastLine;
  b.Column = FSelectionMode == smColumn;
  b.DisplayLeft = b.Column ? RectangleColumns(FBlockBegin, FBlockEnd).first : 1;
  return true;
}

void TKzEditModel::Tab() {
  if (FReadOnly)
    return;
  if (HasOption(eoTabIndent) && SelectionAvailable() &&
      (FBlockBegin.Line != FBlockEnd.Line || FSelectionMode == smLine)) {
    BlockIndent();
    return;
  }
  TKzEditTransaction tx(*this);
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
  // The caret may stand beyond the line's end after the tab.
  SetCaretXY({caret.Char + int(text.size()), caret.Line}, true);
  SetSelectionAnchor(CaretXY());
}

void TKzEditModel::ShiftTab() {
  if (FReadOnly)
    return;
  if (HasOption(eoTabIndent) && SelectionAvailable() &&
      (FBlockBegin.Line != FBlockEnd.Line || FSelectionMode == smLine)) {
    BlockUnindent();
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
  TKzEditTransaction tx(*this, TKzEditTransaction::NoUndoBlock);
  {
    TKzEditUpdateGuard guard(FLines);
    int removeEnd = std::min(caret.Char, len + 1);
    std::string removed;
    if (target <= len) {
      removed = line.substr(std::size_t(target - 1), std::size_t(removeEnd - target));
      line.erase(std::size_t(target - 1), std::size_t(removeEnd - target));
      FLines.ReplaceLine(caret.Line - 1, line);
    }
    FDoc.UndoList().PushChange(TKzChangeReason::DeleteAfterCaret, {target, caret.Line}, caret,
                               removed, smNormal);
    SetCaretXY({target, caret.Line}, true);
  }
}

// ---- block indentation ----

void TKzEditModel::BlockIndent() {
  TKzIndentBlock b;
  if (!IndentBlockOf(b))
    return;
  const std::string unit =
      HasOption(eoTabsToSpaces) ? std::string(std::size_t(FTabWidth), ' ') : std::string("\t");
  const int ulen = int(unit.size());
  const int firstLine = b.FirstLine, lastLine = b.LastLine, displayLeft = b.DisplayLeft;
  const bool column = b.Column;
  // Points on the block's lines move right with their text; outside column mode a point in
  // column 1 stays, since the unit goes in before it.
  auto shifted = [&](TBufferCoord p) {
    if (p.Line >= firstLine && p.Line <= lastLine && (column || p.Char > 1))
      p.Char += ulen;
    return p;
  };
  TKzEditTransaction tx(*this);
  const TKzEditSnapshot &old = tx.Before();
  const TBufferCoord oldFirst = MinPoint(old.Anchor, old.End),
                     oldLast = MaxPoint(old.Anchor, old.End);
  FDoc.UndoList().PushChange(TKzChangeReason::IndentBlock, oldFirst, oldLast, std::string(),
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
          FDoc.UndoList().PushChange(TKzChangeReason::PadSpaces, {from, y}, {int(s.size()) + 1, y},
                                     std::string(), smNormal);
        }
        bx = DisplayToBufferColumn(s, displayLeft, FTabWidth);
      }
      s.insert(std::size_t(bx - 1), unit);
      FLines.ReplaceLine(y - 1, s);
      FDoc.UndoList().PushChange(TKzChangeReason::PasteText, {bx, y}, {bx + ulen, y}, std::string(),
                                 smColumn);
    }
  }
  FDoc.UndoList().PushChange(TKzChangeReason::IndentBlock, shifted(oldFirst), shifted(oldLast),
                             std::string(), FSelectionMode);
  SetCaretAndSelection(shifted(old.Caret), shifted(old.Anchor), shifted(old.End));
}

void TKzEditModel::BlockUnindent() {
  TKzIndentBlock b;
  if (!IndentBlockOf(b))
    return;
  const int firstLine = b.FirstLine, lastLine = b.LastLine, displayLeft = b.DisplayLeft;
  const bool column = b.Column;
  std::vector<int> removedLen, columns;
  std::string pieces;
  bool any = false;
  TKzEditTransaction tx(*this, TKzEditTransaction::NoUndoBlock);
  const TKzEditSnapshot &old = tx.Before();
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
  if (!any)
    return;
  FDoc.UndoList().PushChange(TKzChangeReason::UnindentBlock, MinPoint(old.Anchor, old.End),
                             MaxPoint(old.Anchor, old.End), pieces, FSelectionMode,
                             std::move(columns));
  if (!column) {
    auto shift = [&](TBufferCoord p) {
      if (p.Line >= firstLine && p.Line <= lastLine && p.Char > 1)
        p.Char = std::max(1, p.Char - removedLen[std::size_t(p.Line - firstLine)]);
      return p;
    };
    SetCaretAndSelection(shift(old.Caret), shift(old.Anchor), shift(old.End));
  } else {
    SetCaretAndSelection(old.Caret, old.Anchor, old.End);
  }
}

// ---- case changes ----

void TKzEditModel::CaseChange(TKzEditorCommand command) {
  if (FReadOnly || FLines.Count() == 0)
    return;
  TBufferCoord p = CaretXY();
  TBufferCoord ws = WordStart(p), we = WordEnd(p);
  for (int attempt = 0; attempt < 2 && !(ws < we); ++attempt) {
    p = PrevWordPos(p);
    ws = WordStart(p);
    we = WordEnd(p);
  }
  if (!(ws < we))
    return;
  TKzEditTransaction tx(*this);
  const TKzEditSnapshot &old = tx.Before();
  FDoc.UndoList().PushChange(TKzChangeReason::CaretMove, old.Caret, old.Caret, std::string(),
                             FSelectionMode);
  FDoc.UndoList().PushChange(TKzChangeReason::SelectionChange, old.Anchor, old.End, std::string(),
                             FSelectionMode);
  {
    // The word is replaced as a stream whatever the mode; the mode comes back afterwards.
    TKzScopedValue<TKzSelectionMode> stream(FSelectionMode, smNormal);
    SetCaretAndSelection(we, ws, we);
    SetSelectedText(ConvertCase(SelectedText(), command));
  }
  SetCaretPos(old.Caret);
}

void TKzEditModel::BlockCaseChange(TKzEditorCommand command) {
  if (FReadOnly || FLines.Count() == 0)
    return;
  const bool hadSelection = SelectionAvailable();
  // Without a selection the character at the caret changes, if there is one.
  if (!hadSelection && FCaretX > FLines.LineLength(FCaretY - 1))
    return;
  TKzEditTransaction tx(*this, TKzEditTransaction::NoUndoBlock);
  const TKzEditSnapshot &old = tx.Before();
  if (!hadSelection) {
    SetSelectionAnchor(old.Caret);
    SetSelectionEnd({old.Caret.Char + 1, old.Caret.Line});
  }
  std::string text = SelectedCharacters();
  std::string converted = ConvertCase(text, command);
  if (converted != text)
    SetSelectedText(converted);
  if (hadSelection)
    SetCaretAndSelection(old.Caret, old.Anchor, old.End);
  else
    SetCaretPos(old.Caret);
}

// ---- brackets ----

TBufferCoord TKzEditModel::FindMatchingBracket() const {
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
  TKzCustomHighlighter *highlighter = FDoc.Highlighter();
  TKzHighlighterAttributes *stringAttr =
      highlighter ? highlighter->RoleAttribute(RoleString) : nullptr;
  TKzHighlighterAttributes *commentAttr =
      highlighter ? highlighter->RoleAttribute(RoleComment) : nullptr;
  // The tokens of one line at a time, so a line full of brackets is scanned once.
  int tokenLine = -1;
  std::vector<std::pair<int, TKzHighlighterAttributes *>> tokens; // 1-based start, attribute
  std::string scanLine;
  auto counts = [&](int x, int y) {
    if (!highlighter)
      return true;
    if (tokenLine != y) {
      tokenLine = y;
      tokens.clear();
      scanLine = FLines.GetLine(y - 1);
      TKzTokenWalk walk(*highlighter, FLines, scanLine, y - 1);
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
