// Painting a full editor window of highlighted HTML onto an off-screen image, and scrolling
// one line in a long document (which must paint one row, not the window), and painting the
// matches of a search that hits every few characters of a 1 MB line, scrolled far right.
#include "editor/KzEdit.h"
#include "editor/KzEditGutter.h"
#include "editor/KzEditSearch.h"
#include "highlight/KzHighlighterHtml.h"
#include "platform/Clipboard.h"
#include "platform/qt/QtCanvas.h"
#include "platform/qt/QtHeadless.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

namespace {

void EnsureApp() { static kzp::TQtHeadlessApp app; }

// A window of fixed size that remembers the band a pixel scroll uncovers.
class TBenchHost : public TKzEditHost {
public:
  int Width = 0, Height = 0;
  kzp::TRect Dirty;
  int ClientWidth() const override { return Width; }
  int ClientHeight() const override { return Height; }
  kzp::TClipboard &Clipboard() override { return FClipboard; }
  void InvalidateAll() override { Dirty = {0, 0, Width, Height}; }
  void ScrollPixels(int, int dy, int l, int t, int r, int b) override {
    Dirty = dy < 0 ? kzp::TRect{l, b + dy, r, b} : kzp::TRect{l, t, r, t + dy};
  }

private:
  kzp::TMemoryClipboard FClipboard;
};

// Template lines of the kind the studio edits: tags with attributes, variables, entities.
std::string MakeHtml(int lines) {
  static const char *const Words[] = {"Posteingang", "Nachricht",   "von",    "an",
                                      "Betreff",     "%USER_NAME%", "&nbsp;", "Ordner",
                                      "&uuml;ber",   "gelesen",     "neu",    "und"};
  std::mt19937 rng(11);
  auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  std::string text;
  for (int i = 0; i < lines; ++i) {
    std::string line(static_cast<size_t>(pick(4) * 2), ' ');
    switch (pick(5)) {
    case 0:
      line +=
          "<!-- Abschnitt " + std::to_string(i) + ": Kopfzeile der Liste mit allen Nachrichten -->";
      break;
    case 1:
      line += "<td class=\"liste\" width=\"120\" align=left><a href=\"%URL%?sid=%SID%&amp;id=" +
              std::to_string(i) + "\">";
      for (int w = 0; w < 6; ++w)
        line += std::string(" ") + Words[pick(12)];
      line += "</a></td>";
      break;
    case 2:
      line += "<input type=\"text\" name=\"betreff\" value=\"%BETREFF%\" size=40 "
              "maxlength=\"200\"> <br>";
      break;
    default:
      line += "<p>";
      for (int w = 0; w < 14; ++w)
        line += std::string(" ") + Words[pick(12)];
      line += "</p>";
      break;
    }
    text += line;
    if (i + 1 < lines)
      text += "\r\n";
  }
  return text;
}

struct TBenchEditor {
  TBenchHost Host;
  QImage MeasureImage{1, 1, QImage::Format_RGB32};
  kzp::TQtCanvas Measure{&MeasureImage};
  TKzHTMLHighlighter Highlighter;
  std::unique_ptr<TCustomKzEdit> Edit;

  TBenchEditor(int columns, int rows, int lines) {
    Edit = std::make_unique<TCustomKzEdit>(Host);
    Edit->SetMeasureCanvas(&Measure);
    Edit->SetHighlighter(&Highlighter);
    Host.Width = Edit->GutterWidth() + 2 + columns * Edit->CharWidth();
    Host.Height = rows * Edit->LineHeight();
    Edit->SizeOrFontChanged(false);
    Edit->SetText(MakeHtml(lines));
  }
};

// Paints the whole window once per iteration.
void PaintWindowEachIteration(benchmark::State &state, TBenchEditor &b) {
  QImage image(b.Host.Width, b.Host.Height, QImage::Format_RGB32);
  const kzp::TRect all{0, 0, b.Host.Width, b.Host.Height};
  for (auto _ : state) {
    QPainter painter(&image);
    kzp::TQtCanvas canvas(&painter);
    b.Edit->Paint(canvas, all);
  }
  state.counters["rows"] = b.Edit->PaintedRows();
}

void BM_PaintFullWindow(benchmark::State &state) {
  EnsureApp();
  TBenchEditor b(120, 50, 400);
  b.Edit->SetTopLine(100);
  PaintWindowEachIteration(state, b);
  // Items are the painted cells of the window.
  state.SetItemsProcessed(state.iterations() * 120 * 50);
}
BENCHMARK(BM_PaintFullWindow)->Unit(benchmark::kMillisecond);

void BM_ScrollOneLine(benchmark::State &state) {
  EnsureApp();
  TBenchEditor b(120, 50, 200000);
  QImage image(b.Host.Width, b.Host.Height, QImage::Format_RGB32);
  long long rows = 0, scrolls = 0;
  for (auto _ : state) {
    if (b.Edit->TopLine() >= 200000 - 60)
      b.Edit->SetTopLine(1);
    b.Host.Dirty = {};
    b.Edit->SetTopLine(b.Edit->TopLine() + 1);
    QPainter painter(&image);
    kzp::TQtCanvas canvas(&painter);
    b.Edit->Paint(canvas, b.Host.Dirty);
    rows += b.Edit->PaintedRows();
    ++scrolls;
  }
  state.counters["rows_per_scroll"] =
      scrolls ? static_cast<double>(rows) / static_cast<double>(scrolls) : 0;
  state.SetItemsProcessed(state.iterations()); // one scroll each
}
BENCHMARK(BM_ScrollOneLine)->Unit(benchmark::kMicrosecond);

void BM_PaintMarkedLongLine(benchmark::State &state) {
  EnsureApp();
  TBenchEditor b(120, 50, 10);
  std::string line;
  while (line.size() < (1u << 20))
    line += "<td class=\"a\">\tab</td> ";
  b.Edit->SetText(line + "\r\n" + MakeHtml(60));
  b.Edit->SetLeftChar(700000);
  // The way the search bar answers: scan from a little before the view to its right end.
  TKzSearch search("a", {}, {});
  b.Edit->OnLineMarks = [&](TCustomKzEdit &ed, int y, int first, int last,
                            std::vector<TKzLineMark> &marks) {
    auto visit = [&](const TKzSearchMatch &m) {
      if (m.Start.Char > last)
        return false;
      if (m.End.Char > first)
        marks.push_back({m.Start.Char, m.End.Char});
      return true;
    };
    search.ScanLine(ed.Lines().LineView(y - 1), y, TKzSearchScope::Whole(),
                    std::max(1, first - 1024), false, visit);
  };
  PaintWindowEachIteration(state, b);
}
BENCHMARK(BM_PaintMarkedLongLine)->Unit(benchmark::kMillisecond);

} // namespace
