// Throughput of the HTML and CSS tokenizers over large generated documents, scanned the way
// the editor keeps its ranges and the way painting walks every token.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "highlight/KzHighlighterCSS.h"
#include "highlight/KzHighlighterHtml.h"

namespace {

struct TDocument {
  std::vector<std::string> Lines;
  std::size_t Bytes = 0;
  void Add(std::string line) {
    Bytes += line.size() + 2; // as stored with CR LF
    Lines.push_back(std::move(line));
  }
};

// A mail template of the kind the studio edits: nested tables and forms, attributes with
// quoted and bare values, template variables, entities, comments over one and several lines.
TDocument MakeHtml(std::size_t targetBytes) {
  static const char *const Words[] = {"Posteingang", "Nachricht", "von",         "an",
                                      "Betreff",     "heute",     "%USER_NAME%", "%SID%",
                                      "Ordner",      "gelesen",   "neu",         "und"};
  static const char *const Entities[] = {"&nbsp;", "&amp;",  "&lt;",     "&gt;",   "&uuml;",
                                         "&copy;", "&#228;", "&#x20AC;", "&quot;", "&szlig;"};
  std::mt19937 rng(7);
  auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  auto text = [&](int words) {
    std::string s;
    for (int i = 0; i < words; ++i) {
      if (i)
        s += ' ';
      s += pick(6) == 0 ? Entities[pick(10)] : Words[pick(12)];
    }
    return s;
  };
  TDocument doc;
  doc.Add("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
  doc.Add("<html>");
  while (doc.Bytes < targetBytes) {
    switch (pick(8)) {
    case 0: doc.Add("<!-- Abschnitt: " + text(5) + " -->"); break;
    case 1:
      doc.Add("<!--");
      doc.Add("  " + text(8));
      doc.Add("  <table> im Kommentar " + text(3) + " -->");
      break;
    case 2:
      doc.Add("<table width=\"100%\" border=0 cellpadding=2 cellspacing=\"0\" class='list'>");
      for (int r = 0; r < 3; ++r) {
        doc.Add("  <tr bgcolor=#F0F0F0>");
        doc.Add("    <td class=\"cell\" nowrap><a href=\"%SCRIPT%?action=read&amp;id=" +
                std::to_string(pick(100000)) + "\">" + text(4) + "</a></td>");
        doc.Add("    <td align=right>" + text(2) + "</td>");
        doc.Add("  </tr>");
      }
      doc.Add("</table>");
      break;
    case 3:
      doc.Add("<form name=\"f" + std::to_string(pick(99)) +
              "\" method=\"post\" action=\"%SCRIPT%\">");
      doc.Add("\t<input type=\"text\" name=\"q\" value=\"%QUERY%\" size=30>&nbsp;<input "
              "type=submit value='Suchen'>");
      doc.Add("\t<select name=\"folder\"><option value=\"inbox\" selected>" + text(2) +
              "</option></select>");
      doc.Add("</form>");
      break;
    case 4:
      doc.Add("<p>" + text(14) + "<br>");
      doc.Add(text(12) + " <b>" + text(2) + "</b> <i>" + text(3) + "</i></p>");
      break;
    case 5:
      doc.Add("<div onclick=\"show('d" + std::to_string(pick(50)) + "')\"");
      doc.Add("     title='" + text(3));
      doc.Add(text(2) + "'>" + text(6) + "</div>");
      break;
    case 6:
      doc.Add(
          "<img src=\"%TPL_PATH%/icon" + std::to_string(pick(20)) +
          ".gif\" width=16 height=16 alt=\"\"><my-widget data-x=1></my-widget><font color=red>" +
          text(3) + "</font>");
      break;
    default: doc.Add("  " + text(10)); break;
    }
  }
  doc.Add("</html>");
  return doc;
}

TDocument MakeCss(std::size_t targetBytes) {
  static const char *const Selectors[] = {
      "body",         "td.cell",       "a:hover",      "#inbox tr.unread",
      ".head, .foot", "table.list th", "div#main > p", "H1"};
  static const char *const Properties[] = {
      "color",         "background-color", "font-family", "font-size", "margin",      "padding",
      "border-bottom", "text-decoration",  "made-up",     "z-index",   "line-height", "width"};
  static const char *const Values[] = {"#333333",
                                       "12px",
                                       "Verdana, \"Times New Roman\", serif",
                                       "0 0 .5em 0",
                                       "1px solid #999",
                                       "none",
                                       "100%",
                                       "bold",
                                       "1.2",
                                       "url(img/bg.gif) repeat-x"};
  std::mt19937 rng(11);
  auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  TDocument doc;
  doc.Add("/* Tarvex Mail: Grundlayout */");
  while (doc.Bytes < targetBytes) {
    if (pick(10) == 0) {
      doc.Add("/* Abschnitt " + std::to_string(pick(100)));
      doc.Add("   mit mehreren Zeilen */");
    }
    doc.Add(std::string(Selectors[pick(8)]) + " {");
    const int n = 2 + pick(5);
    for (int i = 0; i < n; ++i) {
      std::string line = std::string("\t") + Properties[pick(12)] + ": " + Values[pick(10)] + ";";
      if (pick(8) == 0)
        line += " /* Hinweis */";
      doc.Add(line);
    }
    doc.Add("}");
    if (pick(4) == 0)
      doc.Add(std::string(Selectors[pick(8)]) + " { color: #" +
              std::to_string(100000 + pick(800000)) + "; font-size: 8pt }");
  }
  return doc;
}

const TDocument &HtmlDocument() {
  static const TDocument doc = MakeHtml(50u << 20);
  return doc;
}

const TDocument &CssDocument() {
  static const TDocument doc = MakeCss(10u << 20);
  return doc;
}

// The editor's range maintenance: each line scanned to its end, its end range kept.
void RangeScan(benchmark::State &state, TKzCustomHighlighter &h, const TDocument &doc) {
  std::vector<TKzRange> ranges(doc.Lines.size());
  for (auto _ : state) {
    h.ClearRange();
    for (std::size_t i = 0; i < doc.Lines.size(); ++i) {
      h.BeginLine(doc.Lines[i], static_cast<int>(i));
      h.RunToLineEnd();
      ranges[i] = h.CurrentRange();
    }
    benchmark::DoNotOptimize(ranges.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(doc.Bytes));
}

void BM_HtmlRangeScan(benchmark::State &state) {
  TKzHTMLHighlighter h;
  RangeScan(state, h, HtmlDocument());
}
BENCHMARK(BM_HtmlRangeScan)->Unit(benchmark::kMillisecond);

void BM_CssRangeScan(benchmark::State &state) {
  TKzCssHighlighter h;
  RangeScan(state, h, CssDocument());
}
BENCHMARK(BM_CssRangeScan)->Unit(benchmark::kMillisecond);

// What painting does per line: every token's start, text copy, kind and attribute.
void BM_HtmlTokenWalk(benchmark::State &state) {
  const TDocument &doc = HtmlDocument();
  TKzHTMLHighlighter h;
  std::int64_t tokens = 0;
  for (auto _ : state) {
    h.ClearRange();
    std::size_t sum = 0;
    for (std::size_t i = 0; i < doc.Lines.size(); ++i) {
      for (h.BeginLine(doc.Lines[i], static_cast<int>(i)); !h.AtLineEnd(); h.Advance()) {
        const std::string text = h.TokenText();
        sum += static_cast<std::size_t>(h.TokenStart()) + text.size() +
               static_cast<std::size_t>(h.TokenKind());
        benchmark::DoNotOptimize(h.TokenAttribute());
        ++tokens;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(doc.Bytes));
  state.counters["tokens/s"] =
      benchmark::Counter(static_cast<double>(tokens), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HtmlTokenWalk)->Unit(benchmark::kMillisecond);

// One long line of text without any "<": entities, blanks, "&" that start no reference.
// The reported complexity shows whether the scan stays linear in the line's length.
void BM_HtmlLongLineWithoutTags(benchmark::State &state) {
  const auto length = static_cast<std::size_t>(state.range(0));
  std::string line;
  static const char *const Pieces[] = {"Text und mehr ", "&amp; ", "& ",  "&#65 ",
                                       "&uuml;",         "\t",     "a&b "};
  for (std::size_t i = 0; line.size() < length; ++i)
    line += Pieces[i % 7];
  line.resize(length);
  TKzHTMLHighlighter h;
  for (auto _ : state) {
    h.ClearRange();
    h.BeginLine(line, 0);
    h.RunToLineEnd();
    benchmark::DoNotOptimize(h.CurrentRange());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(length));
  state.SetComplexityN(static_cast<std::int64_t>(length));
}
BENCHMARK(BM_HtmlLongLineWithoutTags)
    ->RangeMultiplier(4)
    ->Range(1 << 14, 1 << 20)
    ->Complexity(benchmark::oN);

} // namespace
