// Searching and replacing in every template of the open pack. Qt-free: the results dock
// shows what this finds, and the bench measures it.
#pragma once

#include "editor/KzEditSearch.h"
#include "pack/PackStore.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

class TPackStore;

// One match in one template, with the piece of its line to show (at most a few hundred
// characters around the match; MarkStart/MarkLength are the match inside that piece).
struct TPackSearchHit {
  std::string Template;
  TKzSearchMatch Match;
  std::string Line;
  std::size_t MarkStart = 0, MarkLength = 0;
};

struct TPackSearchResult {
  std::vector<TPackSearchHit> Hits; // at most the limit given to SearchPack
  std::size_t Total = 0;            // every match, also those beyond the limit
  std::size_t Templates = 0;        // templates with at least one match
  // Each template with matches and its number of matches, in record order.
  std::vector<std::pair<std::string, std::size_t>> PerTemplate;
};

// The template open in the editor: its name and its text as the editor holds it now (which
// may differ from the pack). Name "na" or an empty name when none is open.
struct TOpenTemplate {
  std::string Name = "na";
  std::string Text;
};

// The pack's templates in record order, each name once (the first record with that name,
// as the store reads it).
std::vector<std::string> PackTemplateNames(const TPackStore &store);

// Every match in every template; the open template is searched in `open.Text`.
TPackSearchResult SearchPack(const TPackStore &store, const TKzSearch &search,
                             const TOpenTemplate &open, std::size_t hitLimit = 10'000);

// `text` with every match replaced; line breaks in a replacement become CR LF, the break
// the editor writes. `count` receives the number of matches.
std::string ReplaceInText(const std::string &text, const TKzSearch &search,
                          const std::string &replacement, std::size_t *count = nullptr);

// The store's template edit that replaces every match in the templates other than `skip`,
// for TPackStore::SaveTemplates; it adds the number of matches it replaced to `*count`.
TPackStore::TTemplateEdit PackReplacement(const TKzSearch &search, const std::string &replacement,
                                          const std::string &skip, std::size_t *count = nullptr);
