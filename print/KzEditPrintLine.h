// The tokens of one printed line as pieces to draw: each token of the highlighter, cut where the
// line wraps, with the row and column it starts in. Drawing of highlighted text goes through
// this one walk.
#pragma once

#include "editor/KzEditTokenWalk.h"
#include "highlight/KzEditHighlighter.h"
#include "print/KzEditPrintTypes.h"

#include <string>
#include <vector>

// Characters [Start, Start + Length) of the line (0-based), to be drawn in row Row (0 is the
// line's first row) from cell Column of that row, in the attribute's style and colours (null:
// the job's own).
struct TKzPrintPiece {
  int Row = 0;
  int Column = 0;
  int Start = 0;
  int Length = 0;
  TKzHighlighterAttributes *Attribute = nullptr;
};

// Tokenizes `text` from the highlighter state `rangeBefore` (the range the line above left)
// and calls piece(const TKzPrintPiece &) for every non-empty piece in order until it returns
// false. wraps are the line's wrap positions (1-based last characters of its rows, ascending).
// The tokens come from the same walk the editor paints with, so a line prints in the pieces it
// is shown in, and no token text is copied.
template <class TPieceFn>
void KzForEachPrintPiece(TKzCustomHighlighter &highlighter, const std::string &text, int lineIndex,
                         const TKzRange &rangeBefore, const std::vector<TWrapPos> &wraps,
                         TPieceFn &&piece) {
  TKzTokenWalk walk(highlighter, text, lineIndex, &rangeBefore);
  std::size_t nextWrap = 0;
  int rowStart = 0;
  int row = 0;
  for (TKzToken token; walk.Next(token);) {
    int from = token.Start;
    while (from < token.End) {
      // Rows the token does not reach into are passed over (a token may end right at a wrap).
      while (nextWrap < wraps.size() && wraps[nextWrap].Index <= from) {
        rowStart = wraps[nextWrap].Index;
        ++nextWrap;
        ++row;
      }
      const int rowEnd = nextWrap < wraps.size() ? wraps[nextWrap].Index : token.End;
      const int to = rowEnd < token.End ? rowEnd : token.End;
      if (!piece(TKzPrintPiece{row, from - rowStart, from, to - from, token.Attr}))
        return;
      from = to;
    }
  }
}
