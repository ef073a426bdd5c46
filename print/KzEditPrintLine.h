// The tokens of one printed line as pieces to draw: each token of the highlighter, cut where the
// line wraps, with the row and column it starts in. Drawing of highlighted text goes through
// this one walk.
#pragma once

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

// Tokenizes `text` with a highlighter whose range the caller has already restored, and calls
// piece(const TKzPrintPiece &) for every non-empty piece in order until it returns false. wraps are the line's wrap
// positions (1-based last characters of its rows, ascending). A token's length is the distance
// to the next token's start, so the walk copies no token text.
template <class TPieceFn>
void KzForEachPrintPiece(TKzCustomHighlighter &highlighter, const std::string &text, int lineIndex,
                         const std::vector<TWrapPos> &wraps, TPieceFn &&piece) {
  highlighter.BeginLine(text, lineIndex);
  const int length = static_cast<int>(text.size());
  std::size_t nextWrap = 0;
  int rowStart = 0;
  int row = 0;
  while (!highlighter.AtLineEnd()) {
    const int start = highlighter.TokenStart();
    TKzHighlighterAttributes *attribute = highlighter.TokenAttribute();
    highlighter.Advance();
    const int end = highlighter.AtLineEnd() ? length : highlighter.TokenStart();
    int from = start;
    while (from < end) {
      // Rows the token does not reach into are passed over (a token may end right at a wrap).
      while (nextWrap < wraps.size() && wraps[nextWrap].Index <= from) {
        rowStart = wraps[nextWrap].Index;
        ++nextWrap;
        ++row;
      }
      const int rowEnd = nextWrap < wraps.size() ? wraps[nextWrap].Index : end;
      const int to = rowEnd < end ? rowEnd : end;
      if (!piece(TKzPrintPiece{row, from - rowStart, from, to - from, attribute}))
        return;
      from = to;
    }
  }
}
