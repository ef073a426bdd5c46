// The edit model's text operations: reading the selection in its three modes, deleting
// it and inserting text as a character stream, as whole lines or as a rectangle.
#include "editor/KzEditModel.h"

#include "editor/KzEditMiscProcs.h"

#include <algorithm>

namespace {

// The pieces of a text between CR LF, CR or LF breaks. `endsWithBreak` tells whether the
// text's last character was a break (then the last piece is empty).
std::vector<std::string_view> SplitPieces(std::string_view text, bool &endsWithBreak) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  endsWithBreak = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\r' && c != '\n')
      continue;
    pieces.push_back(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
      ++i;
    start = i + 1;
  }
  pieces.push_back(text.substr(start));
  endsWithBreak = start == text.size() && !pieces.empty() && pieces.size() > 1;
  return pieces;
}

} // namespace

void TKzEditModel::StoreLine(int index, const std::string &s, int insFrom, int insTo) {
  FDoc.StoreLine(index, s, HasOption(eoTrimTrailingSpaces), insFrom, insTo);
}

int TKzEditModel::LeadingWhite(std::string_view s) const {
  int n = 0;
  while (n < int(s.size()) && static_cast<unsigned char>(s[std::size_t(n)]) >= 1 &&
         static_cast<unsigned char>(s[std::size_t(n)]) <= 32)
    ++n;
  return n;
}

std::string TKzEditModel::IndentString(int columns) const {
  if (columns <= 0)
    return std::string();
  if (HasOption(eoTabsToSpaces) || columns < FTabWidth)
    return std::string(std::size_t(columns), ' ');
  return std::string(std::size_t(columns / FTabWidth), '\t') +
         std::string(std::size_t(columns % FTabWidth), ' ');
}

// ---- reading ----

std::pair<int, int> TKzEditModel::RectangleColumns(TBufferCoord anchor, TBufferCoord end) const {
  const int d1 = BufferToDisplayColumn(FLines.LineView(anchor.Line - 1), anchor.Char, FTabWidth);
  const int d2 = BufferToDisplayColumn(FLines.LineView(end.Line - 1), end.Char, FTabWidth);
  return {std::min(d1, d2), std::max(d1, d2)};
}

std::string TKzEditModel::SelectedTextOf(TKzSelectionMode mode, TBufferCoord anchor,
                                         TBufferCoord end, bool trim) const {
  if (FLines.Count() == 0)
    return std::string();
  TBufferCoord first = MinPoint(anchor, end), last = MaxPoint(anchor, end);
  auto part = [](std::string_view s, int from, int to) -> std::string_view {
    // characters of 1-based columns from..to-1, clipped to the line
    int n = int(s.size());
    from = std::min(std::max(from, 1), n + 1);
    to = std::min(std::max(to, from), n + 1);
    return s.substr(std::size_t(from - 1), std::size_t(to - from));
  };
  std::string out;
  switch (mode) {
  case smNormal: {
    if (first.Line == last.Line) {
      out = part(FLines.LineView(first.Line - 1), first.Char, last.Char);
      break;
    }
    out = part(FLines.LineView(first.Line - 1), first.Char, 1 << 30);
    out += "\r\n";
    for (int y = first.Line + 1; y < last.Line; ++y) {
      out += FLines.LineView(y - 1);
      out += "\r\n";
    }
    out += part(FLines.LineView(last.Line - 1), 1, last.Char);
    break;
  }
  case smLine: {
    int lastLine = std::min(last.Line, FLines.Count());
    for (int y = first.Line; y <= lastLine; ++y) {
      out += FLines.LineView(y - 1);
      if (y < lastLine || lastLine < FLines.Count())
        out += "\r\n";
    }
    break;
  }
  case smColumn: {
    const auto [left, right] = RectangleColumns(anchor, end);
    int top = std::min(anchor.Line, end.Line), bottom = std::max(anchor.Line, end.Line);
    for (int y = top; y <= bottom; ++y) {
      std::string_view s = FLines.LineView(y - 1);
      int b1 = DisplayToBufferColumn(s, left, FTabWidth);
      int b2 = DisplayToBufferColumn(s, right, FTabWidth);
      std::string_view piece = part(s, b1, b2);
      out += piece;
      if (!trim) {
        int width = BufferToDisplayColumn(s, std::min(b2, int(s.size()) + 1), FTabWidth) -
                    BufferToDisplayColumn(s, std::min(b1, int(s.size()) + 1), FTabWidth);
        if (width < right - left)
          out.append(std::size_t(right - left - width), ' ');
      }
      if (y < bottom)
        out += "\r\n";
    }
    break;
  }
  }
  return out;
}

std::vector<int> TKzEditModel::RectangleStarts(TKzSelectionMode mode, TBufferCoord anchor,
                                               TBufferCoord end) const {
  std::vector<int> starts;
  if (mode != smColumn || FLines.Count() == 0)
    return starts;
  const int left = RectangleColumns(anchor, end).first;
  const int top = std::max(std::min(anchor.Line, end.Line), 1);
  const int bottom = std::min(std::max(anchor.Line, end.Line), FLines.Count());
  for (int y = top; y <= bottom; ++y)
    starts.push_back(DisplayToBufferColumn(FLines.LineView(y - 1), left, FTabWidth));
  return starts;
}

std::string TKzEditModel::SelectedText() const {
  if (!SelectionAvailable())
    return std::string();
  return SelectedTextOf(FSelectionMode, FBlockBegin, FBlockEnd, HasOption(eoTrimTrailingSpaces));
}

std::string TKzEditModel::SelectedCharacters() const {
  if (!SelectionAvailable())
    return std::string();
  return SelectedTextOf(FSelectionMode, FBlockBegin, FBlockEnd, true);
}

// ---- writing ----

void TKzEditModel::SetSelectedText(const std::string &value) {
  if (FReadOnly)
    return;
  TKzEditTransaction tx(*this);
  if (SelectionAvailable())
    FDoc.UndoList().PushChange(TKzChangeReason::DeleteBeforeCaret, SelectionFirst(),
                               SelectionLast(), SelectedCharacters(), FSelectionMode,
                               RectangleStarts(FSelectionMode, FBlockBegin, FBlockEnd));
  TBufferCoord start;
  SetSelTextPrimitive(FSelectionMode, value, &start);
  RecordInsertion(TKzChangeReason::InsertText, FSelectionMode, start);
}

void TKzEditModel::RecordInsertion(TKzChangeReason reason, TKzSelectionMode mode,
                                   TBufferCoord start) {
  if (mode == smColumn)
    return; // the column insertion recorded every piece itself
  // Only whole lines put in front of the caret line make a line-mode item. Text that ended
  // inside a line is recorded as a stream even in line mode: undoing it as whole lines would
  // take the rest of the line it was joined to.
  const bool wholeLines = mode == smLine && FCaretX == 1 && FCaretY > start.Line;
  const TKzSelectionMode itemMode = wholeLines ? smLine : smNormal;
  FDoc.UndoList().PushChange(reason, start, InsertedEnd(itemMode, start), std::string(), itemMode);
}

void TKzEditModel::SetSelTextPrimitive(TKzSelectionMode mode, const std::string &value,
                                       TBufferCoord *start) {
  // The lines' bracket closes first: its end collapses the selection onto the caret and
  // rescans, all inside the paint lock.
  TKzPaintLock lock(FHost);
  TKzEditUpdateGuard guard(FLines);
  if (SelectionAvailable())
    DeleteSelectionPrimitive(mode, FBlockBegin, FBlockEnd);
  if (start)
    *start = mode == smLine && !value.empty() ? TBufferCoord{1, FCaretY} : CaretXY();
  if (!value.empty()) {
    switch (mode) {
    case smNormal: InsertNormal(value); break;
    case smLine: InsertLines(value); break;
    case smColumn: InsertColumn(value); break;
    }
  }
  if (FCaretY < 1)
    SetCaretXY({FCaretX, 1}, true);
}

void TKzEditModel::DeleteSelectionPrimitive(TKzSelectionMode mode, TBufferCoord anchor,
                                            TBufferCoord end) {
  if (FLines.Count() == 0)
    return;
  TBufferCoord first = MinPoint(anchor, end), last = MaxPoint(anchor, end);
  first.Line = std::min(first.Line, FLines.Count());
  last.Line = std::min(last.Line, FLines.Count());
  switch (mode) {
  case smNormal: {
    std::string_view a = FLines.LineView(first.Line - 1);
    std::string_view b = FLines.LineView(last.Line - 1);
    std::string joined(a.substr(0, std::min(std::size_t(first.Char - 1), a.size())));
    const int padFrom = int(joined.size());
    if (int(joined.size()) < first.Char - 1)
      joined.append(std::size_t(first.Char - 1) - joined.size(), ' ');
    const int padTo = int(joined.size());
    if (std::size_t(last.Char - 1) < b.size())
      joined += b.substr(std::size_t(last.Char - 1));
    if (last.Line > first.Line)
      FLines.DeleteLines(first.Line, last.Line - first.Line);
    StoreLine(first.Line - 1, joined, padTo > padFrom ? padFrom : -1, padTo);
    SetCaretXY(first, true);
    break;
  }
  case smLine: {
    if (last.Line >= FLines.Count()) {
      // The buffer keeps its last line, emptied, so the caret has a line to stand on.
      if (last.Line > first.Line)
        FLines.DeleteLines(first.Line - 1, last.Line - first.Line);
      FLines.ReplaceLine(first.Line - 1, std::string_view());
    } else {
      FLines.DeleteLines(first.Line - 1, last.Line - first.Line + 1);
    }
    SetCaretXY({1, first.Line}, true);
    break;
  }
  case smColumn: {
    const auto [left, right] = RectangleColumns(anchor, end);
    for (int y = first.Line; y <= last.Line; ++y) {
      std::string s = FLines.GetLine(y - 1);
      int b1 = DisplayToBufferColumn(s, left, FTabWidth);
      int b2 = DisplayToBufferColumn(s, right, FTabWidth);
      if (b1 - 1 >= int(s.size()))
        continue;
      b2 = std::min(b2, int(s.size()) + 1);
      s.erase(std::size_t(b1 - 1), std::size_t(b2 - b1));
      // Padding a column insertion added to a short line goes again with the rectangle.
      StoreLine(y - 1, s);
    }
    int x = DisplayToBufferColumn(FLines.LineView(last.Line - 1), left, FTabWidth);
    SetCaretXY({x, last.Line}, true);
    break;
  }
  }
  SetSelectionAnchor(CaretXY());
}

void TKzEditModel::InsertNormal(const std::string &value) {
  // What trimming takes from the lines of this insertion is recorded after the insertion's
  // own item, which follows once every line is in; earlier trims go before it.
  TKzEditDocument::TTrimHold hold(FDoc);
  if (FLines.Count() == 0)
    FLines.AddLine(std::string_view());
  const int y = std::min(std::max(FCaretY, 1), FLines.Count()) - 1;
  std::string line = FLines.GetLine(y);
  const std::size_t x = std::size_t(FCaretX - 1);
  const std::size_t kept = std::min(line.size(), x); // text of the line before the caret
  if (line.size() < x) {
    // Padding up to a caret beyond the line's end is recorded on its own (when recording is
    // on), so that undo takes it out with the text and redo puts it back first.
    FDoc.UndoList().PushChange(TKzChangeReason::PadSpaces, {int(line.size()) + 1, y + 1},
                               {int(x) + 1, y + 1}, std::string(), smNormal);
    line.append(x - line.size(), ' ');
  }
  std::string right = line.substr(x);
  line.resize(x);
  bool endsWithBreak;
  std::vector<std::string_view> pieces = SplitPieces(value, endsWithBreak);
  const bool trim = HasOption(eoTrimTrailingSpaces);
  if (pieces.size() == 1) {
    line += pieces[0];
    int caretX = int(line.size()) + 1;
    const int insTo = int(line.size());
    line += right;
    if (trim && right.empty()) {
      // As below for a break: blanks that were before the caret stay, only inserted ones go.
      std::size_t n = line.size();
      while (n > kept && line[n - 1] == ' ')
        --n;
      line.resize(n);
      FLines.ReplaceLine(y, line);
    } else {
      StoreLine(y, line, int(kept), insTo);
    }
    if (trim && right.empty())
      caretX = std::min(caretX, FLines.LineLength(y) + 1);
    SetCaretXY({caretX, y + 1}, true);
    return;
  }
  line += pieces[0];
  // Blanks that were before the caret stay even when the break leaves them at the line's
  // end. Only inserted blanks and padding go, once the rest is in: what they were is
  // recorded after the insertion, so that redo repeats the insertion first.
  std::size_t firstLength = line.size();
  if (trim)
    while (firstLength > kept && line[firstLength - 1] == ' ')
      --firstLength;
  FLines.ReplaceLine(y, line);
  const int extra = int(pieces.size()) - 1;
  FLines.InsertEmptyLines(y + 1, extra);
  std::string s;
  for (int k = 1; k <= extra; ++k) {
    s.assign(pieces[std::size_t(k)]);
    const int insTo = int(s.size());
    if (k == extra)
      s += right;
    StoreLine(y + k, s, 0, insTo);
  }
  if (firstLength < line.size()) {
    FLines.ReplaceLine(y, std::string_view(line).substr(0, firstLength));
    FDoc.NoteTrimmed(y, line, firstLength, line.size());
  }
  int caretX = int(pieces.back().size()) + 1;
  if (trim && right.empty())
    caretX = std::min(caretX, FLines.LineLength(y + extra) + 1);
  SetCaretXY({caretX, y + extra + 1}, true);
}

void TKzEditModel::InsertLines(const std::string &value) {
  bool endsWithBreak;
  std::vector<std::string_view> pieces = SplitPieces(value, endsWithBreak);
  int y = std::max(FCaretY, 1) - 1; // 0-based insertion line
  if (FLines.Count() == 0)
    y = 0;
  const int full = int(pieces.size()) - 1; // pieces followed by a break
  if (full > 0) {
    FLines.InsertEmptyLines(y, full);
    for (int k = 0; k < full; ++k)
      FLines.ReplaceLine(y + k, pieces[std::size_t(k)]);
    // Bookmarks on and below the insertion line move down with their lines.
    for (TKzEditMark &m : FDoc.Marks())
      if (m.Line >= y + 1)
        m.Line += full;
  }
  y += full;
  std::string_view lastPiece = pieces.back();
  int caretX = 1;
  if (lastPiece.empty() && y >= FLines.Count()) {
    // Lines pasted into an empty text: the caret's line below them holds what follows the
    // last break, so the text keeps that break.
    FLines.AddLine(std::string_view());
  } else if (!lastPiece.empty()) {
    if (y >= FLines.Count()) {
      FLines.AddLine(lastPiece);
    } else {
      std::string joined(lastPiece);
      joined += FLines.LineView(y);
      FLines.ReplaceLine(y, joined);
    }
    caretX = int(lastPiece.size()) + 1;
  }
  SetCaretXY({caretX, y + 1}, true);
}

void TKzEditModel::InsertColumn(const std::string &value) {
  bool endsWithBreak;
  std::vector<std::string_view> pieces = SplitPieces(value, endsWithBreak);
  if (FLines.Count() == 0)
    FLines.AddLine(std::string_view());
  const int column = DisplayXY().Column;
  const int y0 = std::max(FCaretY, 1) - 1;
  int caretX = FCaretX, caretY = FCaretY;
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    const int y = y0 + int(k);
    if (y >= FLines.Count()) {
      int last = FLines.Count();
      // The end point on the new line marks a plain appended line, which redo appends as
      // it is instead of breaking the line above with its indent.
      TBufferCoord at{FLines.LineLength(last - 1) + 1, last};
      FLines.AddLine(std::string_view());
      FDoc.UndoList().PushChange(TKzChangeReason::BreakLine, at, {1, last + 1}, std::string(),
                                 smColumn);
    }
    std::string s = FLines.GetLine(y);
    int bx;
    if (pieces[k].empty()) {
      // Nothing goes into this line, so it is not padded either.
      bx = DisplayToBufferColumn(s, column, FTabWidth);
    } else {
      int expanded = GetExpandedLength(s, FTabWidth);
      if (expanded < column - 1) {
        const int from = int(s.size()) + 1;
        s.append(std::size_t(column - 1 - expanded), ' ');
        FDoc.UndoList().PushChange(TKzChangeReason::PadSpaces, {from, y + 1},
                                   {int(s.size()) + 1, y + 1}, std::string(), smNormal);
      }
      bx = DisplayToBufferColumn(s, column, FTabWidth);
      s.insert(std::size_t(bx - 1), pieces[k]);
      FLines.ReplaceLine(y, s);
    }
    TBufferCoord from{bx, y + 1}, to{bx + int(pieces[k].size()), y + 1};
    FDoc.UndoList().PushChange(TKzChangeReason::PasteText, from, to, std::string(), smColumn);
    caretX = to.Char;
    caretY = to.Line;
  }
  SetCaretXY({caretX, caretY}, true);
}
