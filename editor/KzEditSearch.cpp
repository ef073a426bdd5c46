// The search engine: a plain matcher of its own for words, PCRE2 for regular expressions,
// both with the letter case of Windows-1252.
#include "editor/KzEditSearch.h"

#include "editor/KzEditCharClass.h"
#include "editor/KzEditSearchPcre.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>

// ---------------------------------------------------------------------------------------
// lines and scopes

TKzTextSearchLines::TKzTextSearchLines(std::string_view text) : FText(text) {
  std::size_t at = 0;
  const std::size_t n = text.size();
  while (at < n) {
    std::size_t stop = at;
    while (stop < n && text[stop] != '\r' && text[stop] != '\n')
      ++stop;
    FStarts.push_back(at);
    FLengths.push_back(stop - at);
    if (stop < n && text[stop++] == '\r' && stop < n && text[stop] == '\n')
      ++stop; // CR LF is one break
    at = stop;
  }
}

std::string_view TKzTextSearchLines::Line(int index) const {
  if (index < 0 || index >= Count())
    return {};
  return FText.substr(FStarts[std::size_t(index)], FLengths[std::size_t(index)]);
}

std::size_t TKzTextSearchLines::OffsetOf(TBufferCoord p) const {
  if (FStarts.empty())
    return 0;
  const int line = std::clamp(p.Line, 1, Count());
  const std::size_t i = std::size_t(line - 1);
  return FStarts[i] + std::min(std::size_t(std::max(p.Char, 1) - 1), FLengths[i]);
}

TKzSearchScope TKzSearchScope::Range(TBufferCoord start, TBufferCoord end) {
  TKzSearchScope s;
  s.Kind = skRange;
  s.Start = MinPoint(start, end);
  s.End = MaxPoint(start, end);
  return s;
}

TKzSearchScope TKzSearchScope::Rectangle(int firstLine, std::vector<std::pair<int, int>> columns) {
  TKzSearchScope s;
  s.Kind = skRectangle;
  s.Start = {1, firstLine};
  s.End = {1, firstLine + int(columns.size()) - 1};
  s.Columns = std::move(columns);
  return s;
}

bool TKzSearchScope::Contains(const TKzSearchMatch &m) const {
  switch (Kind) {
  case skWhole: return true;
  case skRange: return !(m.Start < Start) && !(End < m.End);
  case skRectangle: {
    if (m.Start.Line != m.End.Line || m.Start.Line < Start.Line || m.Start.Line > End.Line)
      return false;
    const auto &cols = Columns[std::size_t(m.Start.Line - Start.Line)];
    return m.Start.Char >= cols.first && m.End.Char <= cols.second;
  }
  }
  return false;
}

int TKzSearchScope::FirstLine() const { return Kind == skWhole ? 1 : std::max(Start.Line, 1); }

int TKzSearchScope::LastLine(int lineCount) const {
  return Kind == skWhole ? lineCount : std::min(End.Line, lineCount);
}

TKzJoinedLines::TKzJoinedLines(const TKzSearchLines &lines, int first, int last) : FFirst(first) {
  first = std::max(first, 1);
  last = std::min(last, lines.Count());
  std::size_t total = 0;
  for (int y = first; y <= last; ++y)
    total += lines.Line(y - 1).size() + 1;
  FText.reserve(total);
  FStarts.reserve(std::size_t(std::max(last - first + 1, 0)));
  for (int y = first; y <= last; ++y) {
    if (y > first)
      FText += '\n';
    FStarts.push_back(FText.size());
    FText += lines.Line(y - 1);
  }
}

std::size_t TKzJoinedLines::OffsetOf(TBufferCoord p) const {
  if (FStarts.empty())
    return 0;
  const int i = std::clamp(p.Line - FFirst, 0, int(FStarts.size()) - 1);
  const std::size_t start = FStarts[std::size_t(i)];
  const std::size_t stop =
      std::size_t(i) + 1 < FStarts.size() ? FStarts[std::size_t(i) + 1] - 1 : FText.size();
  return std::min(start + std::size_t(std::max(p.Char, 1) - 1), stop);
}

TBufferCoord TKzJoinedLines::CoordOf(std::size_t offset) const {
  auto it = std::upper_bound(FStarts.begin(), FStarts.end(), offset);
  const std::size_t i = it == FStarts.begin() ? 0 : std::size_t(it - FStarts.begin()) - 1;
  return {int(offset - FStarts[i]) + 1, FFirst + int(i)};
}

// ---------------------------------------------------------------------------------------
// the compiled search

struct TKzSearch::TImpl {
  std::string Pattern;
  TKzSearchOptions Options;
  TKzCharSet WordChars;
  bool Joins = false;
  // plain: the text to find, in small letters when the case does not count
  std::string Needle;
  unsigned char FirstA = 0, FirstB = 0; // the two forms of the needle's first byte
  // regular expression
  std::unique_ptr<TKzPcreProgram> Program;
  bool TimeLimited = false;
  std::chrono::steady_clock::time_point Deadline;
};

TKzSearch::TKzSearch() = default;
TKzSearch::~TKzSearch() = default;
TKzSearch::TKzSearch(TKzSearch &&) noexcept = default;
TKzSearch &TKzSearch::operator=(TKzSearch &&) noexcept = default;

namespace {

// Whether a regular expression names a line break, so that it must see lines joined.
bool NamesLineBreak(const std::string &pattern) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '\n')
      return true;
    if (pattern[i] == '\\' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == 'n')
        return true;
      ++i;
    }
  }
  return false;
}

// A plain search text typed or pasted with line breaks: every break becomes one LF, as the
// joined lines have it.
std::string NormalizeBreaks(const std::string &s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r') {
      out += '\n';
      if (i + 1 < s.size() && s[i + 1] == '\n')
        ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

} // namespace

TKzSearch::TKzSearch(const std::string &pattern, TKzSearchOptions options,
                     const TKzCharSet &wordChars)
    : FImpl(std::make_unique<TImpl>()) {
  TImpl &d = *FImpl;
  d.Pattern = pattern;
  d.Options = options;
  d.WordChars = wordChars;
  if (pattern.empty())
    return;
  if (options.RegularExpression) {
    d.Program = std::make_unique<TKzPcreProgram>(pattern, !options.MatchCase);
    d.Joins = NamesLineBreak(pattern);
    return;
  }
  d.Needle = NormalizeBreaks(pattern);
  d.Joins = d.Needle.find('\n') != std::string::npos;
  if (!options.MatchCase)
    for (char &c : d.Needle)
      c = char(kzcharclass::ToLower(static_cast<unsigned char>(c)));
  d.FirstA = static_cast<unsigned char>(d.Needle[0]);
  d.FirstB = options.MatchCase ? d.FirstA : kzcharclass::ToUpper(d.FirstA);
}

void TKzSearch::LimitTime(int milliseconds) {
  if (!FImpl)
    return;
  FImpl->TimeLimited = milliseconds > 0;
  FImpl->Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
}

void TKzSearch::CheckTime() const {
  if (FImpl && FImpl->TimeLimited && std::chrono::steady_clock::now() > FImpl->Deadline)
    throw EKzSearchError(
        "Die Suche dauert zu lange und wurde abgebrochen. Bitte vereinfachen Sie den "
        "regulären Ausdruck.",
        EKzSearchError::skTooComplex, 0);
}

bool TKzSearch::Empty() const { return !FImpl || FImpl->Pattern.empty(); }

const std::string &TKzSearch::Pattern() const {
  static const std::string none;
  return FImpl ? FImpl->Pattern : none;
}

const TKzSearchOptions &TKzSearch::Options() const {
  static const TKzSearchOptions none;
  return FImpl ? FImpl->Options : none;
}

bool TKzSearch::JoinsLines() const { return FImpl && FImpl->Joins; }

bool TKzSearch::IsWholeWord(std::string_view subject, std::size_t start, std::size_t end) const {
  if (end == start)
    return false;
  const TKzCharSet &w = FImpl->WordChars;
  if (start > 0 && w.test(static_cast<unsigned char>(subject[start - 1])))
    return false;
  if (end < subject.size() && w.test(static_cast<unsigned char>(subject[end])))
    return false;
  return true;
}

bool TKzSearch::FindPlain(std::string_view subject, std::size_t from, std::size_t &start,
                          std::size_t &end) const {
  const TImpl &d = *FImpl;
  const std::size_t m = d.Needle.size();
  if (subject.size() < m || from > subject.size() - m)
    return false;
  if (d.Options.MatchCase) {
    const std::size_t at = subject.find(d.Needle, from);
    if (at == std::string_view::npos)
      return false;
    start = at;
    end = at + m;
    return true;
  }
  // Candidates are the places of either form of the first letter; memchr finds each form,
  // and a form is looked up again only once the scan has passed its last place.
  const auto &lower = kzcharclass::Cp1252().Lower;
  const char *base = subject.data();
  const std::size_t lastStart = subject.size() - m;
  auto next = [&](unsigned char c, std::size_t at) -> std::size_t {
    if (at > lastStart)
      return std::string_view::npos;
    const void *p = std::memchr(base + at, c, lastStart - at + 1);
    return p ? std::size_t(static_cast<const char *>(p) - base) : std::string_view::npos;
  };
  std::size_t a = next(d.FirstA, from);
  std::size_t b = d.FirstB == d.FirstA ? std::string_view::npos : next(d.FirstB, from);
  const unsigned char *needle = reinterpret_cast<const unsigned char *>(d.Needle.data());
  const unsigned char *text = reinterpret_cast<const unsigned char *>(base);
  while (a != std::string_view::npos || b != std::string_view::npos) {
    const std::size_t at = std::min(a, b);
    std::size_t k = 1;
    while (k < m && lower[text[at + k]] == needle[k])
      ++k;
    if (k == m) {
      start = at;
      end = at + m;
      return true;
    }
    if (at == a)
      a = next(d.FirstA, at + 1);
    else
      b = next(d.FirstB, at + 1);
  }
  return false;
}

bool TKzSearch::FindRegex(std::string_view subject, std::size_t from, bool notEmptyAtFrom,
                          std::size_t &start, std::size_t &end) const {
  return FImpl->Program->Match(subject, from, notEmptyAtFrom, start, end);
}

bool TKzSearch::FindIn(std::string_view subject, std::size_t from, bool notEmptyAtFrom,
                       std::size_t &start, std::size_t &end) const {
  if (Empty() || from > subject.size())
    return false;
  const bool regex = FImpl->Options.RegularExpression;
  const bool whole = FImpl->Options.WholeWords;
  for (;;) {
    const bool found = regex ? FindRegex(subject, from, notEmptyAtFrom, start, end)
                             : FindPlain(subject, from, start, end);
    if (!found)
      return false;
    if (!whole || IsWholeWord(subject, start, end))
      return true;
    // Part of a longer word: look again one character further on.
    from = start + 1;
    notEmptyAtFrom = false;
    if (from > subject.size())
      return false;
  }
}

std::string TKzSearch::ReplacementFor(std::string_view subject, std::size_t start, std::size_t end,
                                      const std::string &replacement) const {
  if (Empty() || !FImpl->Options.RegularExpression)
    return replacement;
  // The groups of the match: the expression matched once more at the match's own start.
  std::vector<std::pair<std::size_t, std::size_t>> groups;
  FImpl->Program->Groups(subject, start, end, groups);
  auto group = [&](std::size_t n, std::string &out) {
    if (n < groups.size() && groups[n].first != std::size_t(-1))
      out.append(subject.substr(groups[n].first, groups[n].second - groups[n].first));
  };
  std::string out;
  out.reserve(replacement.size());
  const std::size_t n = replacement.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = replacement[i];
    if (c == '\\' && i + 1 < n) {
      const char e = replacement[i + 1];
      if (e == 'n' || e == 't' || e == '\\') {
        out += e == 'n' ? '\n' : e == 't' ? '\t' : '\\';
        ++i;
        continue;
      }
    } else if (c == '$' && i + 1 < n) {
      const char e = replacement[i + 1];
      if (e == '$') {
        out += '$';
        ++i;
        continue;
      }
      if (e == '&') {
        group(0, out);
        ++i;
        continue;
      }
      if (e >= '0' && e <= '9') {
        // Two digits when the expression has that many groups, else one.
        std::size_t g = std::size_t(e - '0'), used = 1;
        if (i + 2 < n && replacement[i + 2] >= '0' && replacement[i + 2] <= '9') {
          const std::size_t g2 = g * 10 + std::size_t(replacement[i + 2] - '0');
          if (g2 < groups.size()) {
            g = g2;
            used = 2;
          }
        }
        if (g < groups.size()) {
          group(g, out);
          i += used;
          continue;
        }
      }
      if (e == '{') {
        const std::size_t close = replacement.find('}', i + 2);
        if (close != std::string::npos && close > i + 2 && close - i - 2 <= 2 &&
            std::all_of(replacement.begin() + std::ptrdiff_t(i + 2),
                        replacement.begin() + std::ptrdiff_t(close),
                        [](char d) { return d >= '0' && d <= '9'; })) {
          const std::size_t g = std::size_t(std::stoi(replacement.substr(i + 2, close - i - 2)));
          if (g < groups.size()) {
            group(g, out);
            i = close;
            continue;
          }
        }
      }
    }
    out += c;
  }
  return out;
}

// ---------------------------------------------------------------------------------------
// documents

std::optional<TKzSearchMatch> TKzSearch::FindNext(const TKzSearchLines &lines, TBufferCoord from,
                                                  bool backwards, const TKzSearchScope &scope,
                                                  bool wrap, bool *wrapped) const {
  if (wrapped)
    *wrapped = false;
  std::optional<TKzSearchMatch> found;
  if (Empty())
    return found;
  const TBufferCoord top{1, scope.FirstLine()};
  if (!backwards) {
    Scan(lines, scope, from, true, [&](const TKzSearchMatch &m) {
      found = m;
      return false;
    });
    if (!found && wrap) {
      Scan(lines, scope, top, false, [&](const TKzSearchMatch &m) {
        if (from < m.Start || (m.Start == from && m.Empty()))
          return false;
        found = m;
        return false;
      });
      if (found && wrapped)
        *wrapped = true;
    }
    return found;
  }
  // Backwards: the last match before `from`. Line by line from `from` upwards, so that a
  // match near the caret is found without reading the whole document; joined lines are read
  // from the top.
  auto lastBefore = [&](TBufferCoord limit, int lastLine) {
    std::optional<TKzSearchMatch> last;
    auto keep = [&](const TKzSearchMatch &m) {
      if (!(m.Start < limit))
        return false;
      last = m;
      return true;
    };
    if (JoinsLines()) {
      Scan(lines, scope, top, false, keep);
      return last;
    }
    for (int y = std::min(lastLine, scope.LastLine(lines.Count())); y >= top.Line && !last; --y) {
      if ((y & 255) == 0)
        CheckTime();
      ScanLine(lines.Line(y - 1), y, scope, 1, false, keep);
    }
    return last;
  };
  found = lastBefore(from, from.Line);
  if (!found && wrap) {
    // Nothing before `from`: the last match of the scope, which lies after it.
    found = lastBefore({INT_MAX, INT_MAX}, INT_MAX);
    if (found && wrapped)
      *wrapped = true;
  }
  return found;
}

bool TKzSearch::FindAll(const TKzSearchLines &lines, const TKzSearchScope &scope,
                        std::vector<TKzSearchMatch> &out, std::size_t limit) const {
  bool complete = true;
  Scan(lines, scope, {1, 1}, false, [&](const TKzSearchMatch &m) {
    if (out.size() >= limit) {
      complete = false;
      return false;
    }
    out.push_back(m);
    return true;
  });
  return complete;
}

namespace {
// The subject a match lies in and the match's offsets there.
struct TSubject {
  std::string Joined;
  std::string_view Text;
  std::size_t Start = 0, End = 0;
};

TSubject SubjectOf(const TKzSearch &search, const TKzSearchLines &lines, const TKzSearchMatch &m) {
  TSubject s;
  if (search.JoinsLines()) {
    TKzJoinedLines joined(lines, 1, lines.Count());
    s.Joined = joined.Text();
    s.Text = s.Joined;
    s.Start = joined.OffsetOf(m.Start);
    s.End = joined.OffsetOf(m.End);
  } else {
    s.Text = lines.Line(m.Start.Line - 1);
    s.Start = std::size_t(std::max(m.Start.Char, 1) - 1);
    s.End = std::size_t(std::max(m.End.Char, 1) - 1);
  }
  return s;
}
} // namespace

bool TKzSearch::IsMatch(const TKzSearchLines &lines, const TKzSearchMatch &m) const {
  if (Empty() || m.End < m.Start || m.Start.Line < 1 || m.End.Line > lines.Count())
    return false;
  if (!JoinsLines() && m.Start.Line != m.End.Line)
    return false;
  const TSubject s = SubjectOf(*this, lines, m);
  if (s.End > s.Text.size())
    return false;
  std::size_t a = 0, b = 0;
  return FindIn(s.Text, s.Start, false, a, b) && a == s.Start && b == s.End;
}

std::string TKzSearch::ReplacementFor(const TKzSearchLines &lines, const TKzSearchMatch &m,
                                      const std::string &replacement) const {
  if (Empty() || !FImpl->Options.RegularExpression)
    return replacement;
  const TSubject s = SubjectOf(*this, lines, m);
  return ReplacementFor(s.Text, s.Start, s.End, replacement);
}

std::vector<TKzReplacement> TKzSearch::Replacements(const TKzSearchLines &lines,
                                                    const TKzSearchScope &scope,
                                                    const std::string &replacement) const {
  std::vector<TKzReplacement> out;
  if (Empty())
    return out;
  const bool groups = FImpl->Options.RegularExpression;
  std::optional<TKzJoinedLines> joined;
  if (groups && JoinsLines())
    joined.emplace(lines, 1, lines.Count());
  Scan(lines, scope, {1, 1}, false, [&](const TKzSearchMatch &m) {
    if (!groups)
      out.push_back({m, replacement});
    else if (joined)
      out.push_back({m, ReplacementFor(joined->Text(), joined->OffsetOf(m.Start),
                                       joined->OffsetOf(m.End), replacement)});
    else
      out.push_back({m, ReplacementFor(lines.Line(m.Start.Line - 1), std::size_t(m.Start.Char - 1),
                                       std::size_t(m.End.Char - 1), replacement)});
    return true;
  });
  return out;
}
