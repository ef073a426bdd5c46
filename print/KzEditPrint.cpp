// The print job: taking the editor's text, laying it out in rows and pages, and printing the
// pages with the highlighter's styles, line numbers, header and footer.
#include "print/KzEditPrint.h"

#include "editor/KzEdit.h"
#include "editor/KzEditMiscProcs.h"
#include "editor/KzEditTextBuffer.h"
#include "print/KzEditPrintLine.h"

#include <algorithm>
#include <climits>

namespace {

TKzCharSet CharSet(std::string_view chars) {
  TKzCharSet set;
  for (char c : chars)
    set.set(static_cast<unsigned char>(c));
  return set;
}

} // namespace

const TKzCharSet KzPrintBreakChars = CharSet("\t ,-");
const TKzCharSet KzPrintBreakChars2 = CharSet(").;");

TKzEditPrint::TKzEditPrint() { FAdvances.fill(FCellWidth); }

void TKzEditPrint::SetPrinter(kzp::TPrinter *printer) {
  FPrinter = printer;
  FPrinterInfo.SetPrinter(printer);
}

// ---- the text ----

void TKzEditPrint::SetLines(const std::vector<std::string> &lines) {
  const TConvertTabsProc convert = GetBestConvertTabsProc(FTabWidth);
  FLines.clear();
  FLines.reserve(lines.size());
  for (const std::string &line : lines) {
    bool hasTabs = false;
    std::string expanded = convert(line, FTabWidth, hasTabs);
    // The expansion leaves runs of tab characters for the cells of each tab; on paper they
    // are blanks, which also makes them break characters like any blank.
    if (hasTabs)
      std::replace(expanded.begin(), expanded.end(), '\t', ' ');
    FLines.push_back(std::move(expanded));
  }
  FRangesScanned = false;
}

void TKzEditPrint::SetLines(const TKzEditStringList &lines) {
  std::vector<std::string> copy;
  copy.reserve(static_cast<std::size_t>(lines.Count()));
  for (int i = 0; i < lines.Count(); ++i)
    copy.emplace_back(lines.LineView(i));
  SetLines(copy);
}

void TKzEditPrint::SetFont(const kzp::TFont &font) { FFont = font; }

void TKzEditPrint::SetHighlighter(TKzCustomHighlighter *value) {
  FHighlighter = value;
  FRangesScanned = false;
}

void TKzEditPrint::TakeFromEditor(const TCustomKzEdit &editor) {
  SetHighlighter(editor.Highlighter());
  SetFont(editor.Font());
  SetTabWidth(editor.TabWidth());
  SetLines(editor.Lines());

  FSelection = TSelection();
  FSelection.Available = editor.SelectionAvailable();
  if (!FSelection.Available)
    return;
  const TBufferCoord first = editor.SelectionFirst(), last = editor.SelectionLast();
  FSelection.Mode = editor.SelectionMode();
  FSelection.FirstLine = first.Line;
  FSelection.LastLine = last.Line;
  // The printed lines are expanded, so the ends become display columns, each on its own line.
  const TKzEditStringList &lines = editor.Lines();
  FSelection.FirstColumn =
      BufferToDisplayColumn(lines.LineView(first.Line - 1), first.Char, FTabWidth);
  FSelection.LastColumn =
      BufferToDisplayColumn(lines.LineView(last.Line - 1), last.Char, FTabWidth);
  if (FSelection.Mode == smColumn) {
    // A rectangle drawn from right to left has its earlier end on the right.
    const int left = std::min(FSelection.FirstColumn, FSelection.LastColumn);
    const int right = std::max(FSelection.FirstColumn, FSelection.LastColumn);
    FSelection.FirstColumn = left;
    FSelection.LastColumn = right;
  }
}

int TKzEditPrint::FirstLayoutLine() const {
  if (FSelectedOnly && FSelection.Available)
    return std::max(FSelection.FirstLine - 1, 0);
  return 0;
}

int TKzEditPrint::LastLayoutLine() const {
  const int last = static_cast<int>(FLines.size()) - 1;
  if (FSelectedOnly && FSelection.Available)
    return std::min(FSelection.LastLine - 1, last);
  return last;
}

std::string_view TKzEditPrint::PrintedText(int i) const {
  std::string_view s = FLines[static_cast<std::size_t>(i)];
  if (!FSelectedOnly || !FSelection.Available || FSelection.Mode == smLine)
    return s;
  int from = 0, to = INT_MAX; // 0-based, end exclusive
  if (FSelection.Mode == smColumn) {
    from = FSelection.FirstColumn - 1;
    to = FSelection.LastColumn - 1;
  } else {
    if (i == FSelection.FirstLine - 1)
      from = FSelection.FirstColumn - 1;
    if (i == FSelection.LastLine - 1)
      to = FSelection.LastColumn - 1;
  }
  const int n = static_cast<int>(s.size());
  from = std::clamp(from, 0, n);
  to = std::clamp(to, from, n);
  return s.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

// ---- layout ----

bool TKzEditPrint::WrapAtBreakChars(std::string_view text, const TKzCharSet &breakChars,
                                    int rowLength, std::vector<TWrapPos> &positions) {
  const int n = static_cast<int>(text.size());
  if (n <= rowLength)
    return true;
  if (rowLength < 1)
    return false;
  const std::size_t added = positions.size();
  int rowStart = 0;  // characters before the current row
  int lastBreak = 0; // 1-based index of the row's last break character, 0 for none yet
  for (int i = 1; i <= n; ++i) {
    if (breakChars.test(static_cast<unsigned char>(text[static_cast<std::size_t>(i - 1)])))
      lastBreak = i;
    if (i - rowStart == rowLength || i == n) {
      if (lastBreak <= rowStart) {
        positions.resize(added);
        return false;
      }
      positions.push_back({lastBreak});
      rowStart = lastBreak;
      if (n - rowStart <= rowLength)
        return true;
    }
  }
  return true;
}

void TKzEditPrint::RowsOf(std::string_view text, std::vector<TWrapPos> &wraps) const {
  wraps.clear();
  const int n = static_cast<int>(text.size());
  if (!FWrap || n <= FMaxRowChars)
    return;
  if (WrapAtBreakChars(text, KzPrintBreakChars, FMaxRowChars, wraps) ||
      WrapAtBreakChars(text, KzPrintBreakChars2, FMaxRowChars, wraps))
    return;
  for (int cut = FMaxRowChars; n - cut > 0; cut += FMaxRowChars)
    wraps.push_back({cut});
}

void TKzEditPrint::ScanRanges() {
  FRanges.assign(FLines.size(), 0);
  FRangesScanned = true;
  if (!FHighlighter || FLines.empty())
    return;
  FHighlighter->ClearRange();
  FRanges[0] = FHighlighter->CurrentRange();
  for (std::size_t i = 1; i < FLines.size(); ++i) {
    FHighlighter->BeginLine(FLines[i - 1], static_cast<int>(i - 1));
    FHighlighter->RunToLineEnd();
    FRanges[i] = FHighlighter->CurrentRange();
  }
}

void TKzEditPrint::CountPages() {
  if (!FRangesScanned && FHighlighter && !FLines.empty())
    ScanRanges();
  FPageStarts.clear();
  kzp::TCanvas &canvas = *FCanvas;
  const int width = FMargins.TextRight - FMargins.TextLeft;
  // The widest row of "W"s that stays narrower than the text area; at least one character,
  // so that a text area squeezed to nothing still makes progress through the text.
  const int w = std::max(1, canvas.TextWidth("W"));
  int n = std::max(0, (width - 1) / w);
  while (n > 1 && canvas.TextWidth(std::string(static_cast<std::size_t>(n), 'W')) >= width)
    --n;
  while (canvas.TextWidth(std::string(static_cast<std::size_t>(n) + 1, 'W')) < width)
    ++n;
  FMaxRowChars = std::max(n, 1);
  FMaxRowWidth = canvas.TextWidth(std::string(static_cast<std::size_t>(FMaxRowChars), 'W'));

  // Every printed row is placed by itself: a row that would pass the bottom of the text area
  // starts the next page, also in the middle of a wrapped line. A page takes at least one row.
  const int first = FirstLayoutLine(), last = LastLayoutLine();
  FPageStarts.push_back({first, 0});
  int pen = FMargins.TextTop;
  for (int i = first; i <= last; ++i) {
    RowsOf(PrintedText(i), FWraps);
    const int rows = static_cast<int>(FWraps.size()) + 1;
    for (int r = 0; r < rows; ++r) {
      if (pen > FMargins.TextTop && pen + FPrintLineHeight > FMargins.TextBottom) {
        FPageStarts.push_back({i, r});
        pen = FMargins.TextTop;
      }
      pen += FPrintLineHeight;
    }
  }
}

kzp::TColor TKzEditPrint::FontColor() const { return KzPrintColor(FFont.Color); }

bool TKzEditPrint::UseHighlighter() const { return FHighlight && FHighlighter && !FLines.empty(); }

void TKzEditPrint::PreparePages(kzp::TCanvas &canvas) {
  FCanvas = &canvas;
  FFontColor = FontColor();
  // Fonts are described for the screen; on paper they keep their point sizes at the
  // printer's resolution, whatever surface the pages are drawn on.
  const int resolution = FPrinterInfo.YResolution();
  FDeviceFont = KzFontAtResolution(FFont, resolution);
  FDeviceFont.Color = FFontColor;
  FHeader.SetPixelsPerInch(resolution);
  FFooter.SetPixelsPerInch(resolution);
  canvas.SetTextAlign(kzp::TTextAlign::taTop);
  canvas.SetFont(FDeviceFont);

  // The cell holds any style, so every style is switched on to measure it.
  canvas.SetFontStyle(fsAllStyles);
  const kzp::TTextMetrics tm = canvas.TextMetrics();
  FCellWidth = std::max(1, tm.AveCharWidth);
  FPrintLineHeight = std::max(1, tm.Height + tm.ExternalLeading);
  canvas.SetFontStyle(FFont.Style);
  FAdvances.fill(FCellWidth);

  FMargins.ComputePageMargins(canvas, 1, FPrinterInfo, FLineNumbers, FLineNumbersInMargin,
                              LastLayoutLine() + 1 + FLineOffset);
  FUseHighlighter = UseHighlighter();
  CountPages();
  FWrapsLine = -1;
  FHeader.InitPrint(canvas, PageCount(), FMargins, FTitle);
  FFooter.InitPrint(canvas, PageCount(), FMargins, FTitle);
}

// ---- printing ----

void TKzEditPrint::Status(TKzPrintStatus status, int page) {
  bool abort = false;
  if (OnPrintStatus)
    OnPrintStatus(*this, status, page, abort);
  if (abort && FPrinting) {
    FAbort = true;
    if (FPrinter)
      FPrinter->Abort();
  }
}

void TKzEditPrint::PrintPages(int firstPage, int lastPage) {
  if (FSelectedOnly && !FSelection.Available)
    return;
  if (!FPrinter)
    return;
  FAbort = false;
  FPrinter->SetTitle(FDocTitle.empty() ? FTitle : FDocTitle);
  FPrinter->BeginDoc();
  FPrinting = true;
  // Whatever ends the job early (a failing sheet, a full disk) throws the document away, so
  // no half-printed job is left open in the spooler.
  struct TOpenDocument {
    TKzEditPrint &Job;
    ~TOpenDocument() {
      if (Job.FPrinter->Printing())
        Job.FPrinter->Abort();
      Job.FPrinting = false;
    }
  } open{*this};

  Status(psBegin, firstPage);
  if (!FAbort) {
    FPrinterInfo.RefreshPrinterInfo();
    PreparePages(FPrinter->Canvas());
    const int count = PageCount();
    const int first = std::max(firstPage, 1);
    const int last = lastPage < 0 || lastPage > count ? count : lastPage;
    for (int copy = 1; copy <= FCopies && !FAbort; ++copy) {
      for (int p = first; p <= last && !FAbort; ++p) {
        PrintPage(p);
        if ((p != last || copy != FCopies) && !FAbort)
          FPrinter->NewPage();
      }
    }
    if (!FAbort)
      Status(psEnd, last);
  }
  if (!FAbort)
    FPrinter->EndDoc();
}

void TKzEditPrint::PrintPage(int page) {
  Status(psNewPage, page);
  if (FAbort)
    return;
  DrawPageContent(page);
}

void TKzEditPrint::DrawPage(kzp::TCanvas &canvas, int page) {
  if (PageCount() == 0)
    return;
  FCanvas = &canvas;
  canvas.SetTextAlign(kzp::TTextAlign::taTop);
  canvas.SetFont(FDeviceFont);
  DrawPageContent(std::clamp(page, 1, PageCount()));
}

void TKzEditPrint::DrawPageContent(int page) {
  kzp::TCanvas &canvas = *FCanvas;
  // The margins of this very page first (a mirrored even page has its text area elsewhere),
  // then its background.
  FMargins.ComputePageMargins(canvas, page, FPrinterInfo, FLineNumbers, FLineNumbersInMargin,
                              LastLayoutLine() + 1 + FLineOffset);
  canvas.SetBrushColor(KzPrintColor(FColor));
  canvas.FillRect({FMargins.TextLeft, FMargins.TextTop, FMargins.TextRight, FMargins.TextBottom});
  FHeader.Print(canvas, page + FPageOffset);

  FPenY = FMargins.TextTop;
  const TPageLine start = FPageStarts[static_cast<std::size_t>(page - 1)];
  const TPageLine end = page < PageCount() ? FPageStarts[static_cast<std::size_t>(page)]
                                           : TPageLine{LastLayoutLine() + 1, 0};
  for (int i = start.LineNumber; i < end.LineNumber || (i == end.LineNumber && end.Row > 0); ++i) {
    const bool lineEndsHere = i < end.LineNumber;
    PrintSourceLine(i, i == start.LineNumber ? start.Row : 0, lineEndsHere ? -1 : end.Row);
    // A line reports once, on the page its last row is printed on.
    if (lineEndsHere && OnPrintLine)
      OnPrintLine(*this, i + 1, page);
  }
  FFooter.Print(canvas, page + FPageOffset);
}

void TKzEditPrint::DrawLineNumber(int number) {
  kzp::TCanvas &canvas = *FCanvas;
  const std::string text = std::to_string(number) + ": ";
  canvas.SetFontStyle(0);
  canvas.SetFontColor(kzp::clBlack);
  const kzp::TSize size = canvas.TextExtent(text);
  const kzp::TRect cell{FMargins.TextLeft - size.cx, FPenY, FMargins.TextLeft, FPenY + size.cy};
  canvas.SetBrushColor(KzPrintColor(FColor));
  canvas.ExtTextOut(cell.Left, FPenY, kzp::etoOpaque, &cell, text, nullptr);
  canvas.SetFontStyle(FFont.Style);
  canvas.SetFontColor(FFontColor);
}

void TKzEditPrint::PrintSourceLine(int i, int firstRow, int lastRow) {
  kzp::TCanvas &canvas = *FCanvas;
  const std::string_view text = PrintedText(i);
  // A line continued from the page before keeps the wrap positions found there.
  if (i != FWrapsLine) {
    RowsOf(text, FWraps);
    FWrapsLine = i;
  }
  const int rows = static_cast<int>(FWraps.size()) + 1;
  if (lastRow < 0 || lastRow > rows)
    lastRow = rows;
  if (FLineNumbers && firstRow == 0)
    DrawLineNumber(i + 1 + FLineOffset);
  auto rowY = [&](int row) { return FPenY + (row - firstRow) * FPrintLineHeight; };

  if (FUseHighlighter) {
    FLineBuffer.assign(text);
    // A long line that goes on over several pages is walked only up to this page's last row.
    KzForEachPrintPiece(*FHighlighter, FLineBuffer, i, FRanges[static_cast<std::size_t>(i)], FWraps,
                        [&](const TKzPrintPiece &piece) {
                          if (piece.Row >= lastRow)
                            return false;
                          if (piece.Row >= firstRow)
                            DrawPiece(FMargins.TextLeft + piece.Column * FCellWidth,
                                      rowY(piece.Row), FLineBuffer.data() + piece.Start,
                                      piece.Length, piece.Attribute);
                          return true;
                        });
    canvas.SetFontStyle(FFont.Style);
    canvas.SetFontColor(FFontColor);
  } else {
    canvas.SetBrushStyle(kzp::TBrushStyle::bsClear);
    for (int r = firstRow; r < lastRow; ++r) {
      const int from = r == 0 ? 0 : FWraps[static_cast<std::size_t>(r - 1)].Index;
      int to =
          r < rows - 1 ? FWraps[static_cast<std::size_t>(r)].Index : static_cast<int>(text.size());
      // Unwrapped, a row holds what fits; the rest of a long line is not printed.
      if (!FWrap)
        to = std::min(to, from + FMaxRowChars);
      canvas.ExtTextOut(
          FMargins.TextLeft, rowY(r), 0, nullptr,
          text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)),
          nullptr);
    }
  }
  FPenY += (lastRow - firstRow) * FPrintLineHeight;
}

void TKzEditPrint::DrawPiece(int x, int y, const char *text, int length,
                             TKzHighlighterAttributes *attribute) {
  kzp::TCanvas &canvas = *FCanvas;
  const kzp::TColor paper = KzPrintColor(FColor);
  // Without colours, a token keeps only its style.
  const TKzTokenLook look =
      LookOfToken(attribute, {FFont.Style, FFontColor, paper}, FColors, FColors);
  const kzp::TColor foreground = KzPrintColor(look.Foreground);
  const kzp::TColor background = KzPrintColor(look.Background);
  canvas.SetFontStyle(look.Style);
  canvas.SetFontColor(foreground);
  // The text area is already in the paper colour; only a background of its own is filled.
  const bool opaque = background != paper;
  if (opaque)
    canvas.SetBrushColor(background);
  // Every character advances one cell; the advance table is handed over in slices, so a
  // piece of any length keeps to the grid.
  const int slice = static_cast<int>(FAdvances.size());
  for (int done = 0; done < length; done += slice) {
    const int n = std::min(slice, length - done);
    const std::string_view part(text + done, static_cast<std::size_t>(n));
    if (opaque) {
      const kzp::TRect cell{x, y, x + n * FCellWidth, y + FPrintLineHeight};
      canvas.ExtTextOut(x, y, kzp::etoOpaque, &cell, part, FAdvances.data());
    } else {
      canvas.ExtTextOut(x, y, 0, nullptr, part, FAdvances.data());
    }
    x += n * FCellWidth;
  }
}
