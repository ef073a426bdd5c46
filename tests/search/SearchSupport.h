// Small helpers for the search tests: documents from literal lines, the HTML highlighter's
// word characters, and an editor on a host that needs no window.
#pragma once

#include "editor/KzEdit.h"
#include "editor/KzEditSearch.h"
#include "platform/Clipboard.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

// Lines held by the test itself.
class TTestLines : public TKzSearchLines {
public:
  TTestLines(std::initializer_list<std::string> lines) : Lines(lines) {}
  explicit TTestLines(std::vector<std::string> lines) : Lines(std::move(lines)) {}
  int Count() const override { return int(Lines.size()); }
  std::string_view Line(int i) const override { return Lines[std::size_t(i)]; }
  std::vector<std::string> Lines;
};

// The HTML highlighter's word characters: letters, digits and "_" as the editor has them
// in the main window.
TKzCharSet HtmlWordChars();

// Every match as "line:start-end" (1-based columns, end exclusive), joined by spaces.
std::string Matches(const TKzSearch &search, const TKzSearchLines &lines,
                    const TKzSearchScope &scope = TKzSearchScope::Whole());
std::string Show(const std::optional<TKzSearchMatch> &m);

class TSearchTestHost : public TKzEditHost {
public:
  kzp::TMemoryClipboard Clip;
  kzp::TClipboard &Clipboard() override { return Clip; }
};

// An editor with the given text and the HTML highlighter's word characters.
struct TSearchEditor {
  explicit TSearchEditor(const std::string &text);
  ~TSearchEditor();
  TSearchTestHost Host;
  std::unique_ptr<TKzCustomHighlighter> Highlighter;
  std::unique_ptr<TCustomKzEdit> Ed;
};
