// Model work of the editor control on a large highlighted HTML document: typing at the top,
// opening a comment that recolours everything, setting the whole text, undoing a huge paste.
#include "editor/KzEdit.h"
#include "highlight/KzHighlighterHtml.h"
#include "platform/FixedCanvas.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

class TBenchHost : public TKzEditHost {
public:
  kzp::TMemoryClipboard Clip;
  int ClientWidth() const override { return 1000; }
  int ClientHeight() const override { return 800; }
  kzp::TClipboard &Clipboard() override { return Clip; }
};

// About 10 MB in 200,000 lines of ordinary markup.
const std::string &Document() {
  static const std::string text = [] {
    std::string s;
    s.reserve(10'500'000);
    for (int i = 0; i < 200'000; ++i) {
      s += "<div class=\"row\"><a href=\"page";
      s += std::to_string(i % 1000);
      s += ".htm\">Eintrag</a> &amp; Text</div>\r\n";
    }
    return s;
  }();
  return text;
}

struct TBenchEditor {
  TBenchHost Host;
  kzp::TFixedCanvas Canvas;
  TKzHTMLHighlighter Html;
  std::unique_ptr<TCustomKzEdit> Ed;
  explicit TBenchEditor(bool withText) {
    Ed = std::make_unique<TCustomKzEdit>(Host);
    Ed->SetMeasureCanvas(&Canvas);
    Ed->SetHighlighter(&Html);
    if (withText)
      Ed->SetText(Document());
  }
  ~TBenchEditor() { Ed->SetHighlighter(nullptr); }
};

void BM_TypeCharTop(benchmark::State &state) {
  TBenchEditor b(true);
  b.Ed->SetCaretPos({1, 1});
  for (auto _ : state) {
    b.Ed->ProcessCommand(ecChar, 'x', nullptr);
    state.PauseTiming();
    b.Ed->ProcessCommand(ecDeleteLastChar, '\0', nullptr);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TypeCharTop)->Unit(benchmark::kMicrosecond);

void BM_OpenCommentTop(benchmark::State &state) {
  TBenchEditor b(true);
  for (auto _ : state) {
    state.PauseTiming();
    b.Ed->SetCaretPos({1, 1});
    b.Ed->ProcessCommand(ecChar, '<', nullptr);
    b.Ed->ProcessCommand(ecChar, '!', nullptr);
    b.Ed->ProcessCommand(ecChar, '-', nullptr);
    state.ResumeTiming();
    b.Ed->ProcessCommand(ecChar, '-', nullptr); // from here on every line is a comment
    state.PauseTiming();
    b.Ed->Undo();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(Document().size()));
}
BENCHMARK(BM_OpenCommentTop)->Unit(benchmark::kMillisecond);

void BM_SetText(benchmark::State &state) {
  TBenchEditor b(false);
  for (auto _ : state)
    b.Ed->SetText(Document());
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(Document().size()));
}
BENCHMARK(BM_SetText)->Unit(benchmark::kMillisecond);

void BM_UndoLargePaste(benchmark::State &state) {
  TBenchEditor b(false);
  b.Ed->SetText("<html>\r\n</html>");
  b.Host.Clip.SetContents({{kzp::TClipboard::TextFormat, Document()}});
  for (auto _ : state) {
    state.PauseTiming();
    b.Ed->SetCaretPos({1, 2});
    b.Ed->PasteClipboard();
    state.ResumeTiming();
    b.Ed->Undo();
  }
  state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(Document().size()));
}
BENCHMARK(BM_UndoLargePaste)->Unit(benchmark::kMillisecond);

// One keystroke whose upward search walks a whole 200,000-line document: smart backspace
// on a line indented less than every line above, Return below a run of empty lines, Tab at a
// column no line above reaches.
struct TDeepEditor {
  TBenchHost Host;
  kzp::TFixedCanvas Canvas;
  std::unique_ptr<TCustomKzEdit> Ed;
  explicit TDeepEditor(const std::string &repeated, const std::string &last) {
    Ed = std::make_unique<TCustomKzEdit>(Host);
    Ed->SetMeasureCanvas(&Canvas);
    std::string s;
    for (int i = 0; i < 200'000; ++i)
      s += repeated;
    Ed->SetText(s + last);
  }
};

void BM_SmartBackspaceDeep(benchmark::State &state) {
  TDeepEditor b("        ab cd\r\n", "    x");
  const int last = b.Ed->Lines().Count();
  for (auto _ : state) {
    b.Ed->SetCaretPos({5, last});
    b.Ed->ProcessCommand(ecDeleteLastChar, '\0', nullptr);
    state.PauseTiming();
    b.Ed->Undo();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SmartBackspaceDeep)->Unit(benchmark::kMicrosecond);

void BM_ReturnBelowEmptyLines(benchmark::State &state) {
  TDeepEditor b("\r\n", "");
  const int last = b.Ed->Lines().Count();
  for (auto _ : state) {
    b.Ed->SetCaretPos({3, last});
    b.Ed->ProcessCommand(ecLineBreak, '\0', nullptr);
    state.PauseTiming();
    b.Ed->Undo();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReturnBelowEmptyLines)->Unit(benchmark::kMicrosecond);

void BM_SmartTabDeep(benchmark::State &state) {
  TDeepEditor b("ab\r\n", "x");
  const int last = b.Ed->Lines().Count();
  for (auto _ : state) {
    b.Ed->SetCaretPos({5, last});
    b.Ed->ProcessCommand(ecTab, '\0', nullptr);
    state.PauseTiming();
    b.Ed->Undo();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SmartTabDeep)->Unit(benchmark::kMicrosecond);

} // namespace
