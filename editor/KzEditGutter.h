// The painting settings objects of the editor: the gutter at its left (settings, width, the
// text of line numbers) and the selection colours.
#pragma once

#include "platform/Canvas.h"

#include <functional>
#include <string>

enum TKzGutterBorderStyle { gbsNone, gbsMiddle, gbsRight };

class TKzGutter {
public:
  TKzGutter();

  // Every change of a property calls this, so the editor recomputes the width and repaints.
  std::function<void()> OnChange;

  const kzp::TFont &Font() const { return FFont; }
  void SetFont(const kzp::TFont &value);
  bool UseFontStyle() const { return FUseFontStyle; }
  void SetUseFontStyle(bool value);
  kzp::TColor Color() const { return FColor; }
  void SetColor(kzp::TColor value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  // Width in pixels when line numbers are off.
  int Width() const { return FWidth; }
  void SetWidth(int value);
  bool ShowLineNumbers() const { return FShowLineNumbers; }
  void SetShowLineNumbers(bool value);
  bool LeadingZeros() const { return FLeadingZeros; }
  void SetLeadingZeros(bool value);
  bool ZeroStart() const { return FZeroStart; }
  void SetZeroStart(bool value);
  // Pixels left and right of the numbers; negative values become 0.
  int LeftOffset() const { return FLeftOffset; }
  void SetLeftOffset(int value);
  int RightOffset() const { return FRightOffset; }
  void SetRightOffset(int value);
  // Minimum number of digits, kept within 2..12.
  int DigitCount() const { return FDigitCount; }
  void SetDigitCount(int value);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  TKzGutterBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TKzGutterBorderStyle value);

  // The digit field: DigitCount, or with AutoSize (visible, with numbers) at least as many
  // digits as the highest number shown for lineCount lines. Recomputed by AutoSizeDigitCount.
  int DigitField() const { return FAutoSizeDigitCount; }
  // Updates the digit field for a new line count; true when it changed.
  bool AutoSizeDigitCount(int lineCount);
  // The gutter's width for the editor's cell width.
  int RealGutterWidth(int charWidth) const;
  // Text of the number of buffer line `line` (1-based), right-aligned in the digit field.
  std::string FormatLineNumber(int line) const;

  // Copies every property (notifies once).
  void Assign(const TKzGutter &source);

private:
  void Changed();
  template <class T> void Update(T &field, const T &value, bool digitField);
  kzp::TFont FFont;
  bool FUseFontStyle = true;
  kzp::TColor FColor = kzp::clBtnFace;
  bool FVisible = true;
  int FWidth = 30;
  bool FShowLineNumbers = false;
  bool FLeadingZeros = false;
  bool FZeroStart = false;
  int FLeftOffset = 16;
  int FRightOffset = 2;
  int FDigitCount = 4;
  int FAutoSizeDigitCount = 4;
  int FLastLineCount = 0;
  bool FAutoSize = false;
  TKzGutterBorderStyle FBorderStyle = gbsMiddle;
};

// Colours of selected text; a change notifies the editor, which repaints.
class TKzSelectedColor {
public:
  std::function<void()> OnChange;
  kzp::TColor Background() const { return FBackground; }
  void SetBackground(kzp::TColor value);
  kzp::TColor Foreground() const { return FForeground; }
  void SetForeground(kzp::TColor value);

private:
  void Update(kzp::TColor &field, kzp::TColor value);
  kzp::TColor FBackground = kzp::clHighlight;
  kzp::TColor FForeground = kzp::clHighlightText;
};
