// Finding text in the editor's lines: plain words or regular expressions, with the letter
// case of the code page, whole words by the highlighter's word characters, forwards and
// backwards with wrap-around, and the replacement text of a match.
#pragma once

#include "editor/KzEditTextBuffer.h"
#include "editor/KzEditTypes.h"
#include "highlight/KzEditHighlighter.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What the user asked for besides the search text.
struct TKzSearchOptions {
  bool MatchCase = false;         // "Groß-/Kleinschreibung beachten"
  bool WholeWords = false;        // "Nur ganze Wörter"
  bool RegularExpression = false; // the search text is a regular expression
  bool operator==(const TKzSearchOptions &) const = default;
};

// A search that cannot run: a faulty regular expression (Position is its 1-based character
// position in the search text), or one that gave up on a line because it would take too long
// (Position 0). what() is the German message for the user.
class EKzSearchError : public std::runtime_error {
public:
  enum TKind { skPattern, skTooComplex };
  EKzSearchError(const std::string &message, TKind kind, int position)
      : std::runtime_error(message), Kind(kind), Position(position) {}
  TKind Kind;
  int Position;
};

// A match in buffer coordinates; End is the column after its last character (so Start equals
// End for an empty match). A match of several lines ends on a later line.
struct TKzSearchMatch {
  TBufferCoord Start;
  TBufferCoord End;
  bool Empty() const { return Start == End; }
  bool operator==(const TKzSearchMatch &) const = default;
};

// A match and the text that is to replace it.
struct TKzReplacement {
  TKzSearchMatch Match;
  std::string Text;
};

// The lines a search reads, 0-based.
class TKzSearchLines {
public:
  virtual ~TKzSearchLines() = default;
  virtual int Count() const = 0;
  virtual std::string_view Line(int index) const = 0;
};

// The editor's buffer as search lines. The buffer must not change while a search reads it.
class TKzBufferSearchLines : public TKzSearchLines {
public:
  explicit TKzBufferSearchLines(const TKzEditStringList &lines) : FLines(lines) {}
  int Count() const override { return FLines.Count(); }
  std::string_view Line(int index) const override { return FLines.LineView(index); }

private:
  const TKzEditStringList &FLines;
};

// A whole text (a template as the pack keeps it) as search lines, split where the editor
// splits it: at CR LF, CR or LF, with no empty line after a final break. Unlike the editor,
// a NUL byte is an ordinary character here, so offsets cover every byte of the text.
class TKzTextSearchLines : public TKzSearchLines {
public:
  explicit TKzTextSearchLines(std::string_view text);
  int Count() const override { return int(FStarts.size()); }
  std::string_view Line(int index) const override;
  // The offset in the text of a buffer position on these lines.
  std::size_t OffsetOf(TBufferCoord p) const;

private:
  std::string_view FText;
  std::vector<std::size_t> FStarts, FLengths;
};

// Where matches may lie: everywhere, between two points of a selection, or inside a
// rectangle (per line from FirstLine a range of buffer columns [first, last)).
struct TKzSearchScope {
  enum TKind { skWhole, skRange, skRectangle } Kind = skWhole;
  TBufferCoord Start, End;
  std::vector<std::pair<int, int>> Columns;

  static TKzSearchScope Whole() { return {}; }
  static TKzSearchScope Range(TBufferCoord start, TBufferCoord end);
  static TKzSearchScope Rectangle(int firstLine, std::vector<std::pair<int, int>> columns);
  bool Contains(const TKzSearchMatch &m) const;
  // The first and last 1-based line the scope covers, clamped to `lineCount` lines.
  int FirstLine() const;
  int LastLine(int lineCount) const;
};

// The lines of a document joined by LF, for a regular expression that crosses lines.
class TKzJoinedLines {
public:
  // Joins lines `first`..`last` (1-based, inclusive).
  TKzJoinedLines(const TKzSearchLines &lines, int first, int last);
  const std::string &Text() const { return FText; }
  std::size_t OffsetOf(TBufferCoord p) const;
  TBufferCoord CoordOf(std::size_t offset) const;

private:
  std::string FText;
  std::vector<std::size_t> FStarts;
  int FFirst;
};

// A compiled search. Finding is read-only but reuses one match buffer, so one search serves
// one caller at a time. An empty search text finds nothing.
class TKzSearch {
public:
  TKzSearch();
  // Raises EKzSearchError for a faulty regular expression. `wordChars` decides what counts
  // as a whole word: the match's first and last characters must have no word character
  // beside them.
  TKzSearch(const std::string &pattern, TKzSearchOptions options, const TKzCharSet &wordChars);
  ~TKzSearch();
  TKzSearch(TKzSearch &&) noexcept;
  TKzSearch &operator=(TKzSearch &&) noexcept;
  TKzSearch(const TKzSearch &) = delete;
  TKzSearch &operator=(const TKzSearch &) = delete;

  bool Empty() const;
  const std::string &Pattern() const;
  const TKzSearchOptions &Options() const;
  // True for a regular expression that names a line break (\n): it sees the lines joined
  // by LF. Every other search looks at one line at a time.
  bool JoinsLines() const;

  // Searching from now on gives up with EKzSearchError(skTooComplex) once `milliseconds`
  // have passed (checked between lines and matches), so that an expression that is slow on
  // every line cannot freeze the window; 0 lifts the limit.
  void LimitTime(int milliseconds);

  // ---- one subject: a line, or joined lines ----
  // The first match starting at `from` or later, as byte offsets [start, end). With
  // `notEmptyAtFrom` an empty match exactly at `from` does not count, which is how a search
  // moves on from an empty match. Raises EKzSearchError(skTooComplex) when the expression
  // hits its match limit.
  bool FindIn(std::string_view subject, std::size_t from, bool notEmptyAtFrom, std::size_t &start,
              std::size_t &end) const;
  // The text that replaces the match [start, end) of `subject`: for a regular expression
  // $0 to $99 (or ${n}) and $& stand for groups, $$ for "$", \n for a line break, \t for a
  // tab and \\ for "\"; a plain search inserts `replacement` as it stands.
  std::string ReplacementFor(std::string_view subject, std::size_t start, std::size_t end,
                             const std::string &replacement) const;

  // ---- a document ----
  // Calls `visit` with every match in the scope from `from` on, in order, until it returns
  // false. With `notEmptyAtFrom` an empty match at `from` is left out.
  template <class F>
  void Scan(const TKzSearchLines &lines, const TKzSearchScope &scope, TBufferCoord from,
            bool notEmptyAtFrom, F &&visit) const;
  // The next match after `from` (a match starting at `from` counts unless it is empty), or
  // going backwards the last one that starts before `from`; with `wrap` the search goes on
  // from the other end of the scope and `wrapped` tells whether it had to.
  std::optional<TKzSearchMatch> FindNext(const TKzSearchLines &lines, TBufferCoord from,
                                         bool backwards, const TKzSearchScope &scope, bool wrap,
                                         bool *wrapped = nullptr) const;
  // The matches on line `y` (1-based, its text `line`) from column `fromChar`, for a search
  // that does not join lines; false when `visit` stopped.
  template <class F>
  bool ScanLine(std::string_view line, int y, const TKzSearchScope &scope, int fromChar,
                bool notEmpty, F &visit) const;
  // Every match in the scope, at most `limit`; false when the limit cut the list.
  bool FindAll(const TKzSearchLines &lines, const TKzSearchScope &scope,
               std::vector<TKzSearchMatch> &out, std::size_t limit = std::size_t(-1)) const;
  // Whether [start, end) is exactly a match (the text a search selected is still a match).
  bool IsMatch(const TKzSearchLines &lines, const TKzSearchMatch &m) const;
  // The replacement for a match found in these lines.
  std::string ReplacementFor(const TKzSearchLines &lines, const TKzSearchMatch &m,
                             const std::string &replacement) const;
  // Every match in the scope with its replacement, in document order.
  std::vector<TKzReplacement> Replacements(const TKzSearchLines &lines, const TKzSearchScope &scope,
                                           const std::string &replacement) const;

private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
  // Raises the time-out error when the limit of LimitTime has passed.
  void CheckTime() const;
  bool FindPlain(std::string_view subject, std::size_t from, std::size_t &start,
                 std::size_t &end) const;
  bool FindRegex(std::string_view subject, std::size_t from, bool notEmptyAtFrom,
                 std::size_t &start, std::size_t &end) const;
  bool IsWholeWord(std::string_view subject, std::size_t start, std::size_t end) const;
};

// ---- template implementation ----

template <class F>
void TKzSearch::Scan(const TKzSearchLines &lines, const TKzSearchScope &scope, TBufferCoord from,
                     bool notEmptyAtFrom, F &&visit) const {
  if (Empty() || lines.Count() == 0)
    return;
  const int first = scope.FirstLine(), last = scope.LastLine(lines.Count());
  if (scope.Kind == TKzSearchScope::skRange && from < scope.Start) {
    from = scope.Start;
    notEmptyAtFrom = false;
  }
  if (from.Line < first) {
    from = {1, first};
    notEmptyAtFrom = false;
  }
  if (from.Line > last)
    return;
  if (JoinsLines()) {
    TKzJoinedLines joined(lines, first, last);
    const std::string &text = joined.Text();
    std::size_t pos = joined.OffsetOf(from), s = 0, e = 0;
    bool notEmpty = notEmptyAtFrom;
    while (FindIn(text, pos, notEmpty, s, e)) {
      TKzSearchMatch m{joined.CoordOf(s), joined.CoordOf(e)};
      if (scope.Kind == TKzSearchScope::skRange && scope.End < m.Start)
        return;
      if (scope.Contains(m) && !visit(m))
        return;
      CheckTime();
      pos = e;
      notEmpty = e == s;
    }
    return;
  }
  for (int y = from.Line; y <= last; ++y) {
    if ((y & 255) == 0)
      CheckTime();
    if (!ScanLine(lines.Line(y - 1), y, scope, y == from.Line ? from.Char : 1,
                  y == from.Line && notEmptyAtFrom, visit))
      return;
  }
}

template <class F>
bool TKzSearch::ScanLine(std::string_view line, int y, const TKzSearchScope &scope, int fromChar,
                         bool notEmpty, F &visit) const {
  std::size_t pos = std::size_t(std::max(fromChar, 1) - 1);
  std::size_t limit = line.size();
  if (scope.Kind == TKzSearchScope::skRange) {
    if (y == scope.Start.Line && pos < std::size_t(std::max(scope.Start.Char, 1) - 1)) {
      pos = std::size_t(std::max(scope.Start.Char, 1) - 1);
      notEmpty = false;
    }
    if (y == scope.End.Line)
      limit = std::min(limit, std::size_t(std::max(scope.End.Char, 1) - 1));
  } else if (scope.Kind == TKzSearchScope::skRectangle) {
    const auto &cols = scope.Columns[std::size_t(y - scope.Start.Line)];
    if (pos < std::size_t(std::max(cols.first, 1) - 1)) {
      pos = std::size_t(std::max(cols.first, 1) - 1);
      notEmpty = false;
    }
    limit = std::min(limit, std::size_t(std::max(cols.second, 1) - 1));
  }
  std::size_t s = 0, e = 0;
  while (pos <= limit && FindIn(line, pos, notEmpty, s, e)) {
    if (e > limit) {
      if (s >= limit)
        break;
      pos = s + 1; // a match running past the scope's end: look for one inside it
      notEmpty = false;
      continue;
    }
    if (!visit(TKzSearchMatch{{int(s) + 1, y}, {int(e) + 1, y}}))
      return false;
    pos = e;
    notEmpty = e == s;
  }
  return true;
}
