// Helpers shared by the search tests.
#include "SearchSupport.h"

#include "highlight/KzHighlighterHtml.h"

TKzCharSet HtmlWordChars() {
  TKzHTMLHighlighter h;
  return h.IdentifierChars() & ~h.WordDelimiters();
}

std::string Show(const std::optional<TKzSearchMatch> &m) {
  if (!m)
    return "none";
  std::string s = std::to_string(m->Start.Line) + ":" + std::to_string(m->Start.Char) + "-";
  if (m->End.Line != m->Start.Line)
    s += std::to_string(m->End.Line) + ":";
  return s + std::to_string(m->End.Char);
}

std::string Matches(const TKzSearch &search, const TKzSearchLines &lines,
                    const TKzSearchScope &scope) {
  std::vector<TKzSearchMatch> all;
  search.FindAll(lines, scope, all);
  std::string out;
  for (const TKzSearchMatch &m : all)
    out += (out.empty() ? "" : " ") + Show(m);
  return out;
}

TSearchEditor::TSearchEditor(const std::string &text)
    : Highlighter(std::make_unique<TKzHTMLHighlighter>()),
      Ed(std::make_unique<TCustomKzEdit>(Host)) {
  Ed->SetHighlighter(Highlighter.get());
  Ed->SetText(text);
}

TSearchEditor::~TSearchEditor() { Ed->SetHighlighter(nullptr); }
