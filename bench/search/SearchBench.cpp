// Searching and replacing in a 200,000-line template: every match of a word, of a template
// variable expression, replacing 20,000 words as one step, and undoing that step.
#include "editor/KzEdit.h"
#include "editor/KzEditReplace.h"
#include "editor/KzEditSearch.h"
#include "editor/KzEditSearchCounter.h"
#include "highlight/KzHighlighterHtml.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

class TBenchHost : public TKzEditHost {
public:
  kzp::TMemoryClipboard Clip;
  kzp::TClipboard &Clipboard() override { return Clip; }
};

// About 11 MB of markup in 200,000 lines; every tenth line names "Kunden" (20,000 times),
// every line holds a template variable.
const std::string &Template() {
  static const std::string text = [] {
    std::string s;
    s.reserve(12'000'000);
    for (int i = 0; i < 200'000; ++i) {
      s += "<tr><td class=\"zelle\">%%Feld_";
      s += char('a' + i % 26);
      s += i % 10 == 0 ? "%% Kunden und Gr\xFC\xDF"
                         "e</td></tr>\r\n"
                       : "%% Eintr\xE4ge &amp; Text</td></tr>\r\n";
    }
    return s;
  }();
  return text;
}

struct TBenchEditor {
  TBenchHost Host;
  TKzHTMLHighlighter Html;
  std::unique_ptr<TCustomKzEdit> Ed;
  TBenchEditor() : Ed(std::make_unique<TCustomKzEdit>(Host)) {
    Ed->SetHighlighter(&Html);
    Ed->SetText(Template());
  }
  ~TBenchEditor() { Ed->SetHighlighter(nullptr); }
};

TBenchEditor &Shared() {
  static TBenchEditor e;
  return e;
}

void FindAll(benchmark::State &state, const std::string &pattern, bool regex,
             std::size_t expected) {
  TBenchEditor &e = Shared();
  const TKzSearch search(pattern, {false, false, regex}, EditorWordChars(*e.Ed));
  const TKzBufferSearchLines lines(e.Ed->Lines());
  std::vector<TKzSearchMatch> found;
  for (auto _ : state) {
    found.clear();
    search.FindAll(lines, TKzSearchScope::Whole(), found);
    benchmark::DoNotOptimize(found.data());
  }
  if (found.size() != expected)
    state.SkipWithError("wrong number of matches");
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(Template().size()));
  state.counters["matches"] = double(found.size());
}

void BM_FindAllPlain(benchmark::State &state) { FindAll(state, "KUNDEN", false, 20'000); }
void BM_FindAllRegex(benchmark::State &state) { FindAll(state, "%%[A-Za-z_]+%%", true, 200'000); }

void BM_ReplaceAll(benchmark::State &state) {
  TBenchEditor &e = Shared();
  const TKzSearch search("Kunden", {true, true, false}, EditorWordChars(*e.Ed));
  for (auto _ : state) {
    const int n = ReplaceAllMatches(*e.Ed, search, "Klienten", TKzSearchScope::Whole());
    state.PauseTiming();
    if (n != 20'000)
      state.SkipWithError("wrong number of replacements");
    e.Ed->Undo();
    state.ResumeTiming();
  }
}

void BM_ReplaceAllUndo(benchmark::State &state) {
  TBenchEditor &e = Shared();
  const TKzSearch search("Kunden", {true, true, false}, EditorWordChars(*e.Ed));
  for (auto _ : state) {
    state.PauseTiming();
    ReplaceAllMatches(*e.Ed, search, "Klienten", TKzSearchScope::Whole());
    state.ResumeTiming();
    e.Ed->Undo();
  }
  if (e.Ed->Text().size() + 2 != Template().size())
    state.SkipWithError("undo did not restore the text");
}

// Typing in the search field: the window counts a slice of 1 MB of text per turn of its event
// loop (and stops a turn after 25 ms); one slice must stay far below 50 ms.
void BM_CountSlice(benchmark::State &state) {
  TBenchEditor &e = Shared();
  const TKzSearch search("%%[A-Za-z_]+%%", {false, false, true}, EditorWordChars(*e.Ed));
  const TKzBufferSearchLines lines(e.Ed->Lines());
  TKzSearchCounter counter;
  counter.Start(search, lines, TKzSearchScope::Whole());
  for (auto _ : state) {
    if (counter.Step(1 << 20)) {
      state.PauseTiming();
      counter.Start(search, lines, TKzSearchScope::Whole());
      state.ResumeTiming();
    }
  }
}

} // namespace

BENCHMARK(BM_CountSlice)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAllPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindAllRegex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAllUndo)->Unit(benchmark::kMillisecond);
