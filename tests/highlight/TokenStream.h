// Test helpers: a line's tokens as values, so whole streams compare in one expectation.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "highlight/KzEditHighlighter.h"

struct TTok {
  int Start;
  int Kind;
  std::string Text;
  bool operator==(const TTok &) const = default;
};

inline std::ostream &operator<<(std::ostream &os, const TTok &t) {
  return os << "{" << t.Start << ", " << t.Kind << ", \"" << t.Text << "\"}";
}

// The tokens of one line before its end, after the range was set to `range`.
inline std::vector<TTok> ScanLine(TKzCustomHighlighter &h, const std::string &line,
                                  TKzRange range) {
  h.RestoreRange(range);
  std::vector<TTok> out;
  h.BeginLine(line, 0);
  while (!h.AtLineEnd()) {
    out.push_back({h.TokenStart(), h.TokenKind(), h.TokenText()});
    h.Advance();
  }
  return out;
}

// The tokens of one line, continuing with whatever range the highlighter holds.
inline std::vector<TTok> ContinueLine(TKzCustomHighlighter &h, const std::string &line) {
  std::vector<TTok> out;
  h.BeginLine(line, 0);
  while (!h.AtLineEnd()) {
    out.push_back({h.TokenStart(), h.TokenKind(), h.TokenText()});
    h.Advance();
  }
  return out;
}
