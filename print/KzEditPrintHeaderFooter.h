// The header and footer of printed pages: lines of left, right or centred text items with their
// own fonts and macros for page number, page count, title, date and time, optionally set off
// by a line, a box or a shaded background.
#pragma once

#include "platform/Canvas.h"
#include "print/KzEditPrintTypes.h"

#include <functional>
#include <string>
#include <vector>

class TKzEditPrintMargins;

// The font at a device resolution with its point size kept; fonts are described at the
// screen's 96 dots per inch.
kzp::TFont KzFontAtResolution(const kzp::TFont &font, int pixelsPerInch);

// A colour as it goes on paper: system colours take their classic values (window white,
// window text black) whatever the screen's theme, and clNone gives black.
kzp::TColor KzPrintColor(kzp::TColor color);

// The upper-case roman numeral of n; empty for zero and negative numbers.
std::string RomanNumeral(int n);

class THeaderFooterItem {
public:
  std::string Text;   // may hold macros such as $PAGENUM$
  kzp::TFont Font;    // an owned copy, described at 96 dots per inch
  int LineNumber = 1; // 1-based line of the header or footer
  THeaderFooterAlign Alignment = hfaLeft;
  int Index = 0; // position in the list when it was added

  // Text with its macros replaced. An item of blanks only gives the empty text.
  std::string GetText(int pageCount, int pageNumber, bool roman, const std::string &title,
                      const std::string &time, const std::string &date) const;
};

// Metrics of one line of items: the greatest "W" height and the greatest ascent of its fonts.
struct TLineInfo {
  int LineHeight = 0;
  int MaxBaseline = 0;
};

class THeaderFooter {
public:
  enum TKind : std::uint8_t { hftHeader, hftFooter };

  explicit THeaderFooter(TKind kind);
  virtual ~THeaderFooter() = default;
  THeaderFooter(const THeaderFooter &) = delete;
  THeaderFooter &operator=(const THeaderFooter &) = delete;

  TKind Kind() const { return FKind; }

  // Adds an item with a copy of font, or of DefaultFont without one; returns its index.
  int Add(const std::string &text, const kzp::TFont *font, THeaderFooterAlign alignment,
          int lineNumber);
  void Clear();
  int Count() const { return static_cast<int>(FItems.size()); }
  // In the order of the last preparation (sorted by line), else in the order added.
  const THeaderFooterItem &Item(int index) const { return FItems[static_cast<std::size_t>(index)]; }
  // Copies the kind, the frame, every item, DefaultFont, RomanNumbers and MirrorPosition.
  void Assign(const THeaderFooter &source);

  TFrameTypes FrameTypes() const { return FFrameTypes; }
  void SetFrameTypes(TFrameTypes value) { FFrameTypes = value; }
  kzp::TColor ShadedColor() const { return FShadedColor; }
  void SetShadedColor(kzp::TColor value) { FShadedColor = value; }
  kzp::TColor LineColor() const { return FLineColor; }
  void SetLineColor(kzp::TColor value) { FLineColor = value; }
  const kzp::TFont &DefaultFont() const { return FDefaultFont; }
  void SetDefaultFont(const kzp::TFont &font) { FDefaultFont = font; }
  bool RomanNumbers() const { return FRomanNumbers; }
  void SetRomanNumbers(bool value) { FRomanNumbers = value; }
  // On even pages left- and right-aligned items change sides.
  bool MirrorPosition() const { return FMirrorPosition; }
  void SetMirrorPosition(bool value) { FMirrorPosition = value; }

  // The resolution the item fonts are drawn at (their point sizes kept); 96 until set.
  void SetPixelsPerInch(int pixelsPerInch) { FPixelsPerInch = pixelsPerInch; }
  int PixelsPerInch() const { return FPixelsPerInch; }

  // Once per job, after the pages are counted: takes date and time, sorts the items by line,
  // numbers the lines 1, 2, ... and measures the frame. margins is kept for Print.
  void InitPrint(kzp::TCanvas &canvas, int pageCount, TKzEditPrintMargins &margins,
                 const std::string &title);
  // Draws the frame and the items of page pageNumber; nothing without items.
  void Print(kzp::TCanvas &canvas, int pageNumber);

  // Height of the frame in pixels after InitPrint; -1 without items.
  int FrameHeight() const { return FFrameHeight; }
  const std::vector<TLineInfo> &LineInfo() const { return FLineInfo; }

  // The date (short format) and time (long format) texts taken at preparation; the local
  // time in the German formats unless replaced.
  std::function<void(std::string &date, std::string &time)> DateTimeTexts;
  static void LocalDateTimeTexts(std::string &date, std::string &time);

private:
  kzp::TFont ItemFont(const THeaderFooterItem &item) const;

  TKind FKind;
  TFrameTypes FFrameTypes = ftLine;
  kzp::TColor FShadedColor = kzp::clSilver;
  kzp::TColor FLineColor = kzp::clBlack;
  kzp::TFont FDefaultFont{"Arial", -13, 0, kzp::clBlack};
  bool FRomanNumbers = false;
  bool FMirrorPosition = false;
  int FPixelsPerInch = 96;

  std::vector<THeaderFooterItem> FItems;
  std::vector<TLineInfo> FLineInfo;
  TKzEditPrintMargins *FMargins = nullptr;
  int FFrameHeight = -1;
  int FPageCount = 0;
  std::string FTitle, FDate, FTime;
};

class THeader : public THeaderFooter {
public:
  THeader() : THeaderFooter(hftHeader) {}
};

class TFooter : public THeaderFooter {
public:
  TFooter() : THeaderFooter(hftFooter) {}
};
