// The completion list's hot paths: re-filtering 10,000 formatted entries for one keystroke,
// painting a 12-row list on a real canvas, and completing deep inside a long highlighted
// template.
#include "completion/KzCompletionProposal.h"
#include "editor/KzEdit.h"
#include "highlight/KzHighlighterHtml.h"
#include "platform/Clipboard.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtHeadless.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

void EnsureApp() { static kzp::TQtHeadlessApp app; }

// A window that shows nothing and measures on the screen's resolution.
class TBenchListHost : public TKzCompletionHost {
public:
  TBenchListHost() : FImage(1, 1, QImage::Format_RGB32), FCanvas(&FImage) {}
  void ShowWindow(bool) override {}
  void HideWindow() override {}
  void SetWindowBounds(int, int, int, int) override {}
  kzp::TCanvas &MeasureCanvas() override { return FCanvas; }

private:
  QImage FImage;
  kzp::TQtCanvas FCanvas;
};

class TBenchEditHost : public TKzEditHost {
public:
  kzp::TClipboard &Clipboard() override { return FClipboard; }

private:
  kzp::TMemoryClipboard FClipboard;
};

// The studio's list: options, fonts and columns as the main window's stored form has them.
void ConfigureAsStudio(TKzCompletionProposal &cps) {
  cps.SetOptions({scoAnsiStrings, scoLimitToMatchedText, scoUseInsertList, scoUsePrettyText,
                  scoUseBuiltInTimer, scoEndCharCompletion});
  cps.SetWidth(262);
  cps.EndOfTokenChr = "()[] <>\"'=;{}";
  cps.TriggerChars = "%";
  cps.SetTitle("Variablen");
  kzp::TFont title = cps.TitleFont();
  title.Style = kzp::fsBold;
  cps.SetTitleFont(title);
  cps.Columns().Add().BiggestWord = "LANG123";
  TProposalColumn &second = cps.Columns().Add();
  second.BiggestWord = "CONSTRUCTOR";
  second.DefaultFontStyle = kzp::fsBold;
}

// Entries as varLib01.db writes them: a grey group, the bold name in colour, a description.
void FillEntries(TKzCompletionProposal &cps, int count) {
  static const char *const Groups[] = {"Block", "System", "Liste", "Mail", "Sprache"};
  std::vector<std::string> items, inserts;
  for (int i = 0; i < count; ++i) {
    const std::string name = (i % 3 == 0   ? "LANG"
                              : i % 3 == 1 ? "msg_"
                                           : "user_") +
                             std::to_string(i);
    items.push_back(std::string("\\color{clGray}") + Groups[i % 5] + "\\column{}\\color{clNavy}" +
                    name + "\\style{-B}\\color{clGray} Beschreibung des Eintrags " +
                    std::to_string(i));
    inserts.push_back("%%" + name + "%%");
  }
  cps.SetItemList(std::move(items));
  cps.SetInsertList(std::move(inserts));
}

void BM_FilterTypedPrefix(benchmark::State &state) {
  EnsureApp();
  TBenchListHost host;
  TKzCompletionProposal cps(host);
  ConfigureAsStudio(cps);
  FillEntries(cps, 10000);
  cps.ShowAt("%%", 0, 0, ctCode);
  // Alternately narrowing and widening: each is one keystroke's re-filter over every entry.
  const std::string prefixes[] = {"%%m", "%%", "%%ms", "%%l"};
  std::size_t i = 0;
  for (auto _ : state) {
    cps.Form().SetTypedPrefix(prefixes[i++ % 4]);
    benchmark::DoNotOptimize(cps.Form().FilteredCount());
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_FilterTypedPrefix)->Unit(benchmark::kMicrosecond);

void BM_PaintProposalList(benchmark::State &state) {
  EnsureApp();
  TBenchListHost host;
  TKzCompletionProposal cps(host);
  ConfigureAsStudio(cps);
  cps.SetNbLinesInWindow(12);
  FillEntries(cps, 10000);
  cps.ShowAt("%%", 0, 0, ctCode);
  TKzBaseCompletionProposalForm &form = cps.Form();
  const kzp::TSize ls = form.ListSurfaceSize(), ts = form.TitleSurfaceSize();
  QImage list(ls.cx, ls.cy, QImage::Format_RGB32), title(ts.cx, ts.cy, QImage::Format_RGB32);
  int row = 0;
  for (auto _ : state) {
    QPainter lp(&list), tp(&title);
    kzp::TQtCanvas lc(&lp), tc(&tp);
    form.SetSelectedIndex(row++ % 12);
    form.Paint(lc, tc);
  }
  state.SetItemsProcessed(state.iterations() * 12);
}
BENCHMARK(BM_PaintProposalList)->Unit(benchmark::kMicrosecond);

void BM_AcceptEntry(benchmark::State &state) {
  EnsureApp();
  TBenchEditHost editHost;
  TCustomKzEdit editor(editHost);
  TKzHTMLHighlighter html;
  editor.SetHighlighter(&html);
  std::string text;
  for (int i = 0; i < 200000; ++i)
    text +=
        i == 99999
            ? "  <td class=\"zahl\">%%ms</td>\r\n"
            : "  <tr><td><a href=\"%%msg_url%%\">%%msg_subject%%</a></td><!-- Zeile --></tr>\r\n";
  editor.SetText(text);
  TBenchListHost host;
  TKzCompletionProposal cps(host);
  ConfigureAsStudio(cps);
  FillEntries(cps, 200);
  cps.SetEditor(&editor);
  const TBufferCoord caret{24, 100000}; // after "%%ms"
  for (auto _ : state) {
    state.PauseTiming();
    editor.SetCaretPos(caret);
    cps.OpenAt(editor);
    state.ResumeTiming();
    cps.Form().DoubleClick(); // replaces "%%ms" with the first entry, in one undo block
    state.PauseTiming();
    if (editor.LineText() != "  <td class=\"zahl\">%%msg_1%%</td>")
      state.SkipWithError("the completion went wrong");
    editor.Undo();
    editor.Undo();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AcceptEntry)->Unit(benchmark::kMicrosecond);

} // namespace
