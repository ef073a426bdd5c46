// The tokens of one line through a highlighter, and the look each one is drawn in: what the
// editor's painter, its bracket search and the print job all read a line with.
#pragma once

#include "highlight/KzEditHighlighter.h"
#include "platform/Canvas.h"

#include <string>

class TKzEditStringList;

// A token of a line: the characters [Start, End) (0-based) and its attribute, null for a kind
// the highlighter gives no attribute.
struct TKzToken {
  int Start = 0;
  int End = 0;
  TKzHighlighterAttributes *Attr = nullptr;
  int Length() const { return End - Start; }
};

// Walks the non-empty tokens of one line in order. The highlighter reads the line in place, so
// the string must stay alive and unchanged while the walk runs; nothing is allocated per
// token.
//
//   TKzTokenWalk walk(highlighter, text, lineIndex, rangeBefore);
//   for (TKzToken t; walk.Next(t);) draw(t.Start, t.End, t.Attr);
class TKzTokenWalk {
public:
  // Starts the line in the state `rangeBefore` left by the line above; null starts it as the
  // first line of a document (a cleared range).
  TKzTokenWalk(TKzCustomHighlighter &highlighter, const std::string &line, int lineIndex,
               const TKzRange *rangeBefore);
  // The same for line `lineIndex` (0-based) of a buffer whose ranges the editor keeps: the
  // state is the range stored with the line above. `line` is that line's text, or its
  // tab-expanded form (tabs do not change how a line is tokenized).
  TKzTokenWalk(TKzCustomHighlighter &highlighter, const TKzEditStringList &lines,
               const std::string &line, int lineIndex);
  TKzTokenWalk(const TKzTokenWalk &) = delete;
  TKzTokenWalk &operator=(const TKzTokenWalk &) = delete;

  // The next token that holds characters; false at the end of the line (or when the
  // highlighter's last token reaches past it, which a highlighter must not do).
  bool Next(TKzToken &token);
  // The attribute of the last token Next returned; null before the first.
  TKzHighlighterAttributes *LastAttr() const { return FLastAttr; }
  // The state at the end of the line, for the next line's walk; runs to the end first.
  TKzRange EndRange();

private:
  TKzCustomHighlighter &FHighlighter;
  int FLength;
  TKzHighlighterAttributes *FLastAttr = nullptr;
};

// How a token is drawn: font style and colours, none of them clNone.
struct TKzTokenLook {
  kzp::TFontStyles Style = 0;
  kzp::TColor Foreground = kzp::clWindowText;
  kzp::TColor Background = kzp::clWindow;
  bool operator==(const TKzTokenLook &) const = default;
};

// The look of a token with attribute `attr` over the defaults of its line: the attribute's
// style, and its colours where it has them (not clNone) and the caller takes them
// (`useForeground`, `useBackground`); the defaults everywhere else. Without an attribute the
// defaults stand as they are.
TKzTokenLook LookOfToken(const TKzHighlighterAttributes *attr, const TKzTokenLook &defaults,
                         bool useForeground = true, bool useBackground = true);
