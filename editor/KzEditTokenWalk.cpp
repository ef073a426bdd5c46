// Walking the tokens of one line and resolving the look of each.
#include "editor/KzEditTokenWalk.h"

#include "editor/KzEditTextBuffer.h"

#include <algorithm>

TKzTokenWalk::TKzTokenWalk(TKzCustomHighlighter &highlighter, const std::string &line,
                           int lineIndex, const TKzRange *rangeBefore)
    : FHighlighter(highlighter), FLength(static_cast<int>(line.size())) {
  if (rangeBefore)
    FHighlighter.RestoreRange(*rangeBefore);
  else
    FHighlighter.ClearRange();
  FHighlighter.BeginLine(line, lineIndex);
}

TKzTokenWalk::TKzTokenWalk(TKzCustomHighlighter &highlighter, const TKzEditStringList &lines,
                           const std::string &line, int lineIndex)
    : FHighlighter(highlighter), FLength(static_cast<int>(line.size())) {
  if (lineIndex > 0)
    FHighlighter.RestoreRange(lines.LineRange(lineIndex - 1));
  else
    FHighlighter.ClearRange();
  FHighlighter.BeginLine(line, lineIndex);
}

bool TKzTokenWalk::Next(TKzToken &token) {
  while (!FHighlighter.AtLineEnd()) {
    const int start = std::max(FHighlighter.TokenStart(), 0);
    TKzHighlighterAttributes *attr = FHighlighter.TokenAttribute();
    FHighlighter.Advance();
    // Tokens are contiguous, so the next token's start ends this one; the line's end ends the
    // last. Nothing a token claims beyond the line is read.
    const int end =
        std::min(FHighlighter.AtLineEnd() ? FLength : FHighlighter.TokenStart(), FLength);
    if (end <= start)
      continue;
    token = {start, end, attr};
    FLastAttr = attr;
    return true;
  }
  return false;
}

TKzRange TKzTokenWalk::EndRange() {
  FHighlighter.RunToLineEnd();
  return FHighlighter.CurrentRange();
}

TKzTokenLook LookOfToken(const TKzHighlighterAttributes *attr, const TKzTokenLook &defaults,
                         bool useForeground, bool useBackground) {
  TKzTokenLook look = defaults;
  if (!attr)
    return look;
  look.Style = attr->Style();
  if (useForeground && attr->Foreground() != clNone)
    look.Foreground = attr->Foreground();
  if (useBackground && attr->Background() != clNone)
    look.Background = attr->Background();
  return look;
}
