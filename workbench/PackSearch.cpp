// Searching every template of the pack, and replacing in template texts.
#include "workbench/PackSearch.h"

#include "pack/PackStore.h"

#include <algorithm>
#include <set>

namespace {

constexpr std::size_t kContext = 60;   // characters shown before a match
constexpr std::size_t kShownMax = 240; // characters shown of a line at most

// Calls `visit(name, record index)` for each template once, in record order.
template <class F> void ForEachTemplate(const TPackStore &store, F &&visit) {
  std::set<std::string> seen;
  for (std::size_t i = 1; i < store.Records.size(); ++i) {
    const std::string &record = store.Records[i];
    if (record.empty() || IsFileRecord(record))
      continue;
    std::string name = RecordKey(record);
    if (!seen.insert(name).second)
      continue;
    visit(name, record);
  }
}

TPackSearchHit HitOf(const std::string &name, const TKzSearchMatch &m, std::string_view line) {
  TPackSearchHit hit;
  hit.Template = name;
  hit.Match = m;
  const std::size_t s = std::min(std::size_t(m.Start.Char - 1), line.size());
  const std::size_t e =
      m.End.Line == m.Start.Line ? std::min(std::size_t(m.End.Char - 1), line.size()) : line.size();
  const std::size_t from = s > kContext ? s - kContext : 0;
  const std::size_t to = std::min(line.size(), std::max(from + kShownMax, e));
  hit.Line = std::string(line.substr(from, to - from));
  hit.MarkStart = s - from;
  hit.MarkLength = e - s;
  return hit;
}

} // namespace

std::vector<std::string> PackTemplateNames(const TPackStore &store) {
  std::vector<std::string> names;
  ForEachTemplate(store,
                  [&](const std::string &name, const std::string &) { names.push_back(name); });
  return names;
}

TPackSearchResult SearchPack(const TPackStore &store, const TKzSearch &search,
                             const TOpenTemplate &open, std::size_t hitLimit) {
  TPackSearchResult result;
  if (search.Empty())
    return result;
  auto searchText = [&](const std::string &name, const std::string &text) {
    const TKzTextSearchLines lines(text);
    std::size_t before = result.Total;
    search.Scan(lines, TKzSearchScope::Whole(), {1, 1}, false, [&](const TKzSearchMatch &m) {
      if (result.Hits.size() < hitLimit)
        result.Hits.push_back(HitOf(name, m, lines.Line(m.Start.Line - 1)));
      ++result.Total;
      return true;
    });
    if (result.Total > before) {
      ++result.Templates;
      result.PerTemplate.emplace_back(name, result.Total - before);
    }
  };
  ForEachTemplate(store, [&](const std::string &name, const std::string &record) {
    if (open.Name != "na" && name == open.Name)
      searchText(name, open.Text);
    else
      searchText(name, TemplateTextOfRecord(record));
  });
  return result;
}

std::string ReplaceInText(const std::string &text, const TKzSearch &search,
                          const std::string &replacement, std::size_t *count) {
  const TKzTextSearchLines lines(text);
  const std::vector<TKzReplacement> found =
      search.Replacements(lines, TKzSearchScope::Whole(), replacement);
  if (count)
    *count = found.size();
  if (found.empty())
    return text;
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  for (const TKzReplacement &r : found) {
    const std::size_t s = lines.OffsetOf(r.Match.Start), e = lines.OffsetOf(r.Match.End);
    out.append(text, at, s - at);
    for (std::size_t i = 0; i < r.Text.size(); ++i) {
      const char c = r.Text[i];
      if (c == '\n' && (i == 0 || r.Text[i - 1] != '\r'))
        out += '\r';
      out += c;
    }
    at = e;
  }
  out.append(text, at, std::string::npos);
  return out;
}

TPackStore::TTemplateEdit PackReplacement(const TKzSearch &search, const std::string &replacement,
                                          const std::string &skip, std::size_t *count) {
  return [&search, replacement, skip, count](const std::string &name, std::string &text) {
    if (name == skip)
      return false;
    std::size_t n = 0;
    std::string replaced = ReplaceInText(text, search, replacement, &n);
    if (count)
      *count += n;
    if (replaced == text)
      return false;
    text = std::move(replaced);
    return true;
  };
}
