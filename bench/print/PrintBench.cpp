// Laying out a large highlighted template and printing one full page, on the recording canvas.
#include <benchmark/benchmark.h>

#include "highlight/KzHighlighterHtml.h"
#include "platform/FixedCanvas.h"
#include "print/KzEditPrint.h"

#include <random>
#include <string>
#include <vector>

namespace {

// A mail template of 200,000 lines: tables, links, comments, template variables, tabs, empty
// lines, and now and then a line long enough to wrap.
std::vector<std::string> MakeTemplate(std::size_t lines) {
  static const char *const Words[] = {
      "Posteingang", "Nachricht", "von",     "an",  "Betreff", "heute",  "%%USER_NAME%%",
      "%%SID%%",     "Ordner",    "gelesen", "neu", "und",     "&nbsp;", "&uuml;"};
  std::mt19937 rng(7);
  auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  auto text = [&](int words) {
    std::string s;
    for (int i = 0; i < words; ++i) {
      if (i)
        s += ' ';
      s += Words[pick(14)];
    }
    return s;
  };
  std::vector<std::string> out;
  out.reserve(lines);
  while (out.size() < lines) {
    switch (pick(7)) {
    case 0: out.push_back("<!-- Abschnitt: " + text(5) + " -->"); break;
    case 1:
      out.push_back("  <td class=\"zelle\" width=\"" + std::to_string(pick(100)) + "\">" +
                    text(pick(12)) + "</td>");
      break;
    case 2:
      out.push_back("\t<a href=\"%%self_url%%&amp;page=" + std::to_string(pick(50)) + "\">" +
                    text(1) + "</a>");
      break;
    case 3: out.push_back(text(pick(40))); break;
    case 4: out.push_back("<tr><th>%%LANG0" + std::to_string(pick(99)) + "%%</th></tr>"); break;
    case 5: out.push_back(pick(20) == 0 ? "<p>" + text(150) + "</p>" : std::string()); break;
    default: out.push_back("<div class=\"leiste\"><span>" + text(3) + "</span></div>");
    }
  }
  return out;
}

// The print font's cells at 300 dpi: 25 x 48 pixels.
kzp::TFixedMetrics PaperMetrics() {
  kzp::TFixedMetrics m;
  m.CharWidth = m.AveCharWidth = 25;
  m.Height = 48;
  m.Ascent = 38;
  return m;
}

struct TBenchJob {
  TKzHTMLHighlighter Html;
  kzp::TFixedCanvas Canvas{PaperMetrics()};
  TKzEditPrint Job;
  TBenchJob(std::size_t lines) {
    Job.SetFont({"Courier New", -13});
    Job.SetLines(MakeTemplate(lines));
    Job.SetHighlighter(&Html);
  }
};

void BM_CountPages(benchmark::State &state) {
  TBenchJob b(200000);
  std::size_t bytes = 0;
  for (const std::string &line : b.Job.Lines())
    bytes += line.size() + 2;
  for (auto _ : state) {
    b.Job.SetHighlighter(&b.Html); // the ranges are scanned anew, as after an edit
    b.Job.PreparePages(b.Canvas);
    benchmark::DoNotOptimize(b.Job.PageCount());
  }
  state.counters["pages"] = b.Job.PageCount();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_CountPages)->Unit(benchmark::kMillisecond);

void BM_PrintPage(benchmark::State &state) {
  TBenchJob b(200000);
  b.Job.PreparePages(b.Canvas);
  const int page = b.Job.PageCount() / 2;
  for (auto _ : state) {
    b.Canvas.ClearCalls();
    b.Job.DrawPage(b.Canvas, page);
    benchmark::DoNotOptimize(b.Canvas.Calls.data());
  }
  state.counters["calls"] = static_cast<double>(b.Canvas.Calls.size());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PrintPage)->Unit(benchmark::kMicrosecond);

} // namespace
