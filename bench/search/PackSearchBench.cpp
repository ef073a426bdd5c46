// Searching a word across a 100 MB pack of 1,000 templates.
#include "editor/KzEditSearch.h"
#include "highlight/KzHighlighterHtml.h"
#include "pack/PackStore.h"
#include "workbench/PackSearch.h"

#include <benchmark/benchmark.h>

namespace {

// 1,000 templates of about 100 KB each; one line in 50 names "Warenkorb".
const TPackStore &BigPack() {
  static TPackStore s;
  if (!s.Records.empty())
    return s;
  {
    s.Records.push_back("Titel\t.\tAutor\t.\tmail@x.de\t.\thttp://x.de\t.\tordner");
    for (int t = 0; t < 1000; ++t) {
      std::string text;
      text.reserve(105'000);
      for (int i = 0; i < 1600; ++i) {
        text += "\t<tr><td class=\"z\">%%Feld%% Eintr\xE4ge &amp; Text ";
        text += i % 50 == 0 ? "Warenkorb" : "Lieferung";
        text += "</td></tr>\r\n";
      }
      s.Records.push_back(BuildTemplateRecord("seite" + std::to_string(t) + ".htm", text));
    }
  }
  return s;
}

void BM_SearchPack(benchmark::State &state) {
  const TPackStore &store = BigPack();
  std::size_t bytes = 0;
  for (const std::string &r : store.Records)
    bytes += r.size();
  TKzHTMLHighlighter html;
  const TKzSearch search("warenkorb", {false, true, false},
                         html.IdentifierChars() & ~html.WordDelimiters());
  TPackSearchResult result;
  for (auto _ : state) {
    result = SearchPack(store, search, TOpenTemplate{});
    benchmark::DoNotOptimize(result.Total);
  }
  if (result.Total != 32'000 || result.Templates != 1000)
    state.SkipWithError("wrong number of matches");
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes));
  state.counters["MB"] = double(bytes) / 1e6;
}

} // namespace

BENCHMARK(BM_SearchPack)->Unit(benchmark::kMillisecond);
