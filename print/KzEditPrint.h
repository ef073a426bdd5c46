// The print job: prints a text (normally an editor's) with the highlighter's font styles in
// fixed character cells, wraps long lines at break characters, spreads the rows over pages
// inside the margins and prints the header and footer on every page.
#pragma once

#include "editor/KzEditTypes.h"
#include "highlight/KzEditHighlighter.h"
#include "platform/Canvas.h"
#include "platform/Printer.h"
#include "print/KzEditPrintHeaderFooter.h"
#include "print/KzEditPrintMargins.h"
#include "print/KzEditPrintTypes.h"
#include "print/KzEditPrinterInfo.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TCustomKzEdit;
class TKzEditStringList;
class TKzEditPrint;

using TPrintLineEvent = std::function<void(TKzEditPrint &sender, int lineNumber, int pageNumber)>;
using TPrintStatusEvent =
    std::function<void(TKzEditPrint &sender, TKzPrintStatus status, int pageNumber, bool &abort)>;

// The break characters long lines are wrapped at, tried in this order; a line that fits
// neither set is cut every MaxRowChars characters.
extern const TKzCharSet KzPrintBreakChars;
extern const TKzCharSet KzPrintBreakChars2;

class TKzEditPrint {
public:
  TKzEditPrint();
  TKzEditPrint(const TKzEditPrint &) = delete;
  TKzEditPrint &operator=(const TKzEditPrint &) = delete;

  // The printer documents go to (not owned). Without one the geometry is the A4 sheet and
  // PrintPages prints nothing.
  void SetPrinter(kzp::TPrinter *printer);
  kzp::TPrinter *Printer() const { return FPrinter; }
  TKzEditPrinterInfo &PrinterInfo() { return FPrinterInfo; }

  // ---- published properties ----
  int Copies() const { return FCopies; }
  void SetCopies(int value) { FCopies = value; }
  THeader &Header() { return FHeader; }
  void SetHeader(const THeaderFooter &value) { FHeader.Assign(value); }
  TFooter &Footer() { return FFooter; }
  void SetFooter(const THeaderFooter &value) { FFooter.Assign(value); }
  TKzEditPrintMargins &Margins() { return FMargins; }
  void SetMargins(const TKzEditPrintMargins &value) { FMargins.Assign(value); }
  // The text as printed: tabs expanded for TabWidth, remaining tabs as blanks.
  const std::vector<std::string> &Lines() const { return FLines; }
  void SetLines(const std::vector<std::string> &lines);
  void SetLines(const TKzEditStringList &lines);
  // The print font, described at 96 dots per inch; it is drawn at the printer's resolution
  // with the same point size.
  const kzp::TFont &Font() const { return FFont; }
  void SetFont(const kzp::TFont &font);
  const std::string &Title() const { return FTitle; }
  void SetTitle(const std::string &value) { FTitle = value; }
  const std::string &DocTitle() const { return FDocTitle; }
  void SetDocTitle(const std::string &value) { FDocTitle = value; }
  bool Wrap() const { return FWrap; }
  void SetWrap(bool value) { FWrap = value; }
  bool Highlight() const { return FHighlight; }
  void SetHighlight(bool value) { FHighlight = value; }
  bool SelectedOnly() const { return FSelectedOnly; }
  void SetSelectedOnly(bool value) { FSelectedOnly = value; }
  bool Colors() const { return FColors; }
  void SetColors(bool value) { FColors = value; }
  bool LineNumbers() const { return FLineNumbers; }
  void SetLineNumbers(bool value) { FLineNumbers = value; }
  int LineOffset() const { return FLineOffset; }
  void SetLineOffset(int value) { FLineOffset = value; }
  int PageOffset() const { return FPageOffset; }
  void SetPageOffset(int value) { FPageOffset = value; }
  TPrintLineEvent OnPrintLine;
  TPrintStatusEvent OnPrintStatus;
  // Referenced, never owned.
  TKzCustomHighlighter *Highlighter() const { return FHighlighter; }
  void SetHighlighter(TKzCustomHighlighter *value);
  bool LineNumbersInMargin() const { return FLineNumbersInMargin; }
  void SetLineNumbersInMargin(bool value) { FLineNumbersInMargin = value; }
  // Used when Lines are assigned, so it is set first.
  int TabWidth() const { return FTabWidth; }
  void SetTabWidth(int value) { FTabWidth = value; }
  // Background of the text area and of tokens without a background of their own.
  kzp::TColor Color() const { return FColor; }
  void SetColor(kzp::TColor value) { FColor = value; }

  // ---- the editor's text ----
  // Highlighter, font and tab width of the editor, then its lines, and a snapshot of its
  // selection for SelectedOnly.
  void TakeFromEditor(const TCustomKzEdit &editor);
  // The selection snapshot; columns are display columns of the expanded lines (1-based),
  // lines 1-based, first before last.
  struct TSelection {
    bool Available = false;
    int FirstColumn = 1, FirstLine = 1;
    int LastColumn = 1, LastLine = 1;
    TKzSelectionMode Mode = smNormal;
  };
  const TSelection &Selection() const { return FSelection; }

  // ---- printing ----
  void PrintAll() { PrintPages(1, -1); }
  // Pages first..last of every copy; last -1 (or beyond the page count) for the last page.
  void PrintPages(int firstPage, int lastPage);
  // Lays the job out for drawing on canvas (not owned; it must stay until the last page
  // drawn): fonts, cell metrics, margins of page 1, page starts, header and footer.
  void PreparePages(kzp::TCanvas &canvas);
  // Draws page p (clamped to the pages there are) on a canvas of the kind the job was
  // prepared for, without status reports: a preview draws each page on a fresh canvas.
  void DrawPage(kzp::TCanvas &canvas, int page);
  int PageCount() const { return static_cast<int>(FPageStarts.size()); }
  bool Printing() const { return FPrinting; }
  bool Aborted() const { return FAbort; }

  // ---- layout, after PreparePages ----
  const std::vector<TPageLine> &PageStarts() const { return FPageStarts; }
  int PrintLineHeight() const { return FPrintLineHeight; }
  int CellWidth() const { return FCellWidth; }
  int MaxRowChars() const { return FMaxRowChars; }
  int MaxRowWidth() const { return FMaxRowWidth; }
  // The wrap positions of a text for this layout: empty when it fits one row (or Wrap is
  // off); break characters first, then a hard cut every MaxRowChars characters.
  void RowsOf(std::string_view text, std::vector<TWrapPos> &wraps) const;
  // The part of 0-based line i that is printed (all of it unless SelectedOnly cuts it).
  std::string_view PrintedText(int i) const;

  // Wrap positions of a text at the last break character of every row of rowLength
  // characters; false, with positions unchanged, when a row has no break character.
  static bool WrapAtBreakChars(std::string_view text, const TKzCharSet &breakChars, int rowLength,
                               std::vector<TWrapPos> &positions);

private:
  void ScanRanges();
  void CountPages();
  void PrintPage(int page);
  void DrawPageContent(int page);
  void DrawLineNumber(int number);
  // Prints rows [firstRow, lastRow) of 0-based line i at the pen; -1 for its last row.
  void PrintSourceLine(int i, int firstRow, int lastRow);
  void DrawPiece(int x, int y, const char *text, int length, TKzHighlighterAttributes *attribute);
  void Status(TKzPrintStatus status, int page);
  // Lines laid out: all, or the selection's lines.
  int FirstLayoutLine() const;
  int LastLayoutLine() const;
  bool UseHighlighter() const;
  kzp::TColor FontColor() const;

  kzp::TPrinter *FPrinter = nullptr;
  TKzEditPrinterInfo FPrinterInfo;
  int FCopies = 1;
  THeader FHeader;
  TFooter FFooter;
  TKzEditPrintMargins FMargins;
  std::vector<std::string> FLines;
  kzp::TFont FFont{"MS Sans Serif", -11, 0, kzp::clWindowText};
  std::string FTitle, FDocTitle;
  bool FWrap = true;
  bool FHighlight = true;
  bool FSelectedOnly = false;
  bool FColors = false;
  bool FLineNumbers = false;
  int FLineOffset = 0;
  int FPageOffset = 0;
  TKzCustomHighlighter *FHighlighter = nullptr;
  bool FLineNumbersInMargin = false;
  int FTabWidth = 8;
  kzp::TColor FColor = kzp::clWhite;
  TSelection FSelection;

  // job state
  kzp::TCanvas *FCanvas = nullptr;
  kzp::TFont FDeviceFont; // FFont at the printer's resolution
  int FPrintLineHeight = 1;
  int FCellWidth = 1;
  int FMaxRowChars = 1;
  int FMaxRowWidth = 0;
  std::vector<TPageLine> FPageStarts;
  std::vector<TKzRange> FRanges; // the range in force at the start of each line
  bool FRangesScanned = false;
  bool FPrinting = false;
  bool FAbort = false;
  bool FUseHighlighter = false;
  int FPenY = 0;
  kzp::TColor FFontColor = kzp::clBlack;
  std::array<int, 1024> FAdvances{};
  // Reused while printing, so a page allocates nothing once they have grown.
  std::string FLineBuffer;
  std::vector<TWrapPos> FWraps;
  int FWrapsLine = -1; // the line FWraps were found for while printing
};
