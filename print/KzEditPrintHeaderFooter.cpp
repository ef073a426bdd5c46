// Macros, roman numerals, line compaction and drawing of the header and footer.
#include "print/KzEditPrintHeaderFooter.h"

#include "print/KzEditPrintMargins.h"

#include <algorithm>
#include <cctype>
#include <ctime>

kzp::TFont KzFontAtResolution(const kzp::TFont &font, int pixelsPerInch) {
  kzp::TFont out = font;
  if (pixelsPerInch > 0 && pixelsPerInch != 96)
    out.SetSize(font.Size(96), pixelsPerInch);
  return out;
}

kzp::TColor KzPrintColor(kzp::TColor color) {
  if (color == kzp::clNone || color == kzp::clDefault)
    return kzp::clBlack;
  if (kzp::IsSystemColor(color))
    return kzp::DefaultSystemColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFF;
}

std::string RomanNumeral(int n) {
  std::string s;
  // Each step: the value, its letters, and whether it may repeat (the subtractive pairs
  // appear at most once).
  static const struct {
    int Value;
    const char *Letters;
    bool Repeats;
  } steps[] = {{1000, "M", true}, {900, "CM", false}, {500, "D", true}, {400, "CD", false},
               {100, "C", true},  {90, "XC", false},  {50, "L", true},  {40, "XL", false},
               {10, "X", true},   {9, "IX", false},   {5, "V", true},   {4, "IV", false},
               {1, "I", true}};
  for (const auto &step : steps) {
    while (n >= step.Value) {
      s += step.Letters;
      n -= step.Value;
      if (!step.Repeats)
        break;
    }
  }
  return s;
}

namespace {

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char &c : out)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

} // namespace

std::string THeaderFooterItem::GetText(int pageCount, int pageNumber, bool roman,
                                       const std::string &title, const std::string &time,
                                       const std::string &date) const {
  const std::string &t = Text;
  if (t.find_first_not_of(' ') == std::string::npos)
    return std::string();
  auto number = [roman](int n) { return roman ? RomanNumeral(n) : std::to_string(n); };
  // The replacement of a candidate "$...$", or false when it is no macro.
  auto expand = [&](std::string_view candidate, std::string &out) {
    const std::string name = Upper(candidate);
    if (name == "$PAGENUM$")
      out += number(pageNumber);
    else if (name == "$PAGECOUNT$")
      out += number(pageCount);
    else if (name == "$TITLE$")
      out += title;
    else if (name == "$DATE$")
      out += date;
    else if (name == "$TIME$")
      out += time;
    else if (name == "$DATETIME$")
      out += date + " " + time;
    else if (name == "$TIMEDATE$")
      out += time + " " + date;
    else
      return false;
    return true;
  };

  std::string out;
  std::size_t copy = 0; // the text from here on is not in out yet
  std::size_t i = 0;
  while (i < t.size()) {
    if (t[i] != '$') {
      ++i;
      continue;
    }
    out.append(t, copy, i - copy);
    copy = i;
    // Candidates run from the copy position to each following "$"; one that is no macro is
    // kept as written and its closing "$" opens the next candidate.
    std::size_t close = t.find('$', i + 1);
    while (close != std::string::npos) {
      if (expand(std::string_view(t).substr(copy, close - copy + 1), out)) {
        copy = close + 1;
        break;
      }
      out.append(t, copy, close - copy);
      copy = close;
      close = t.find('$', close + 1);
    }
    i = close == std::string::npos ? t.size() : close + 1;
  }
  out.append(t, copy, std::string::npos);
  return out;
}

THeaderFooter::THeaderFooter(TKind kind)
    : DateTimeTexts(&THeaderFooter::LocalDateTimeTexts), FKind(kind) {}

void THeaderFooter::LocalDateTimeTexts(std::string &date, std::string &time) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%d.%m.%Y", &local);
  date = buffer;
  std::strftime(buffer, sizeof buffer, "%H:%M:%S", &local);
  time = buffer;
}

int THeaderFooter::Add(const std::string &text, const kzp::TFont *font,
                       THeaderFooterAlign alignment, int lineNumber) {
  THeaderFooterItem item;
  item.Text = text;
  item.Font = font ? *font : FDefaultFont;
  item.Alignment = alignment;
  item.LineNumber = lineNumber;
  item.Index = Count();
  FItems.push_back(std::move(item));
  return FItems.back().Index;
}

void THeaderFooter::Clear() {
  FItems.clear();
  FLineInfo.clear();
  FFrameHeight = -1;
}

void THeaderFooter::Assign(const THeaderFooter &source) {
  if (&source == this)
    return;
  Clear();
  FKind = source.FKind;
  FFrameTypes = source.FFrameTypes;
  FShadedColor = source.FShadedColor;
  FLineColor = source.FLineColor;
  for (const THeaderFooterItem &item : source.FItems)
    Add(item.Text, &item.Font, item.Alignment, item.LineNumber);
  FDefaultFont = source.FDefaultFont;
  FRomanNumbers = source.FRomanNumbers;
  FMirrorPosition = source.FMirrorPosition;
}

kzp::TFont THeaderFooter::ItemFont(const THeaderFooterItem &item) const {
  kzp::TFont font = KzFontAtResolution(item.Font, FPixelsPerInch);
  font.Color = KzPrintColor(font.Color);
  return font;
}

void THeaderFooter::InitPrint(kzp::TCanvas &canvas, int pageCount, TKzEditPrintMargins &margins,
                              const std::string &title) {
  canvas.SaveState();
  if (DateTimeTexts)
    DateTimeTexts(FDate, FTime);
  FPageCount = pageCount;
  FMargins = &margins;
  FTitle = title;

  std::stable_sort(FItems.begin(), FItems.end(),
                   [](const THeaderFooterItem &a, const THeaderFooterItem &b) {
                     return a.LineNumber < b.LineNumber;
                   });
  // Lines are numbered anew 1, 2, ... so that a gap in the numbers leaves no empty line.
  FLineInfo.clear();
  int previous = 0, line = 0;
  for (THeaderFooterItem &item : FItems) {
    if (line == 0 || item.LineNumber != previous) {
      previous = item.LineNumber;
      ++line;
      FLineInfo.push_back({});
    }
    item.LineNumber = line;
  }

  if (FItems.empty()) {
    FFrameHeight = -1;
  } else {
    FFrameHeight = 0;
    int above = 0; // total height of the lines before the current one
    int current = 1;
    for (const THeaderFooterItem &item : FItems) {
      if (item.LineNumber != current) {
        above += FLineInfo[static_cast<std::size_t>(current - 1)].LineHeight;
        current = item.LineNumber;
      }
      canvas.SetFont(ItemFont(item));
      TLineInfo &info = FLineInfo[static_cast<std::size_t>(current - 1)];
      const int height = canvas.TextHeight("W");
      info.LineHeight = std::max(info.LineHeight, height);
      info.MaxBaseline = std::max(info.MaxBaseline, canvas.TextMetrics().Ascent);
      FFrameHeight = std::max(FFrameHeight, above + height);
    }
    FFrameHeight += 2 * margins.HFInnerSpace;
  }
  canvas.RestoreState();
}

void THeaderFooter::Print(kzp::TCanvas &canvas, int pageNumber) {
  if (FFrameHeight <= 0 || !FMargins)
    return;
  const TKzEditPrintMargins &m = *FMargins;
  canvas.SaveState();
  const bool header = FKind == hftHeader;
  const int frameTop = header ? m.HeaderBottom - FFrameHeight : m.FooterTop;
  if (FFrameTypes != 0) {
    kzp::TPen pen{KzPrintColor(FLineColor), 1,
                  (FFrameTypes & ftBox) ? kzp::TPenStyle::psSolid : kzp::TPenStyle::psClear};
    canvas.SetPen(pen);
    canvas.SetBrush({KzPrintColor(FShadedColor), (FFrameTypes & ftShaded)
                                                     ? kzp::TBrushStyle::bsSolid
                                                     : kzp::TBrushStyle::bsClear});
    if (FFrameTypes & (ftBox | ftShaded))
      canvas.Rectangle({m.TextLeft, frameTop, m.TextRight, frameTop + FFrameHeight});
    if (FFrameTypes & ftLine) {
      pen.Style = kzp::TPenStyle::psSolid;
      canvas.SetPen(pen);
      const int y = header ? m.HeaderBottom : m.FooterTop;
      canvas.Line(m.TextLeft, y, m.TextRight, y);
    }
  }
  canvas.SetBrushStyle(kzp::TBrushStyle::bsClear);

  int lineTop = frameTop + m.HFInnerSpace;
  int current = 1;
  const bool mirror = FMirrorPosition && pageNumber % 2 == 0;
  for (const THeaderFooterItem &item : FItems) {
    canvas.SetFont(ItemFont(item));
    if (item.LineNumber != current) {
      lineTop += FLineInfo[static_cast<std::size_t>(current - 1)].LineHeight;
      current = item.LineNumber;
    }
    const std::string text =
        item.GetText(FPageCount, pageNumber, FRomanNumbers, FTitle, FTime, FDate);
    THeaderFooterAlign align = item.Alignment;
    if (mirror && align != hfaCenter)
      align = align == hfaLeft ? hfaRight : hfaLeft;
    const int width = canvas.TextWidth(text);
    int x = m.HFTextLeft;
    if (align == hfaRight)
      x = m.HFTextRight - width;
    else if (align == hfaCenter)
      x = (m.HFTextLeft + m.HFTextRight - width) / 2;
    const kzp::TTextAlign previous = canvas.TextAlign();
    canvas.SetTextAlign(kzp::TTextAlign::taBaseline);
    canvas.TextOut(x, lineTop + FLineInfo[static_cast<std::size_t>(current - 1)].MaxBaseline, text);
    canvas.SetTextAlign(previous);
  }
  canvas.RestoreState();
}
