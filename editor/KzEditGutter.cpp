// Gutter settings, width and line-number text.
#include "editor/KzEditGutter.h"

#include <algorithm>

TKzGutter::TKzGutter() {
  FFont.Name = "Courier New";
  FFont.SetSize(8);
  FFont.Style = 0;
  FFont.Color = kzp::clWindowText;
}

void TKzGutter::Changed() {
  if (OnChange)
    OnChange();
}

void TKzGutter::SetFont(const kzp::TFont &value) {
  if (FFont == value)
    return;
  FFont = value;
  Changed();
}

void TKzGutter::SetUseFontStyle(bool value) {
  if (FUseFontStyle == value)
    return;
  FUseFontStyle = value;
  Changed();
}

void TKzGutter::SetColor(kzp::TColor value) {
  if (FColor == value)
    return;
  FColor = value;
  Changed();
}

void TKzGutter::SetVisible(bool value) {
  if (FVisible == value)
    return;
  FVisible = value;
  AutoSizeDigitCount(FLastLineCount);
  Changed();
}

void TKzGutter::SetWidth(int value) {
  value = std::max(0, value);
  if (FWidth == value)
    return;
  FWidth = value;
  Changed();
}

void TKzGutter::SetShowLineNumbers(bool value) {
  if (FShowLineNumbers == value)
    return;
  FShowLineNumbers = value;
  AutoSizeDigitCount(FLastLineCount);
  Changed();
}

void TKzGutter::SetLeadingZeros(bool value) {
  if (FLeadingZeros == value)
    return;
  FLeadingZeros = value;
  Changed();
}

void TKzGutter::SetZeroStart(bool value) {
  if (FZeroStart == value)
    return;
  FZeroStart = value;
  AutoSizeDigitCount(FLastLineCount);
  Changed();
}

void TKzGutter::SetLeftOffset(int value) {
  value = std::max(0, value);
  if (FLeftOffset == value)
    return;
  FLeftOffset = value;
  Changed();
}

void TKzGutter::SetRightOffset(int value) {
  value = std::max(0, value);
  if (FRightOffset == value)
    return;
  FRightOffset = value;
  Changed();
}

void TKzGutter::SetDigitCount(int value) {
  value = std::clamp(value, 2, 12);
  if (FDigitCount == value)
    return;
  FDigitCount = value;
  AutoSizeDigitCount(FLastLineCount);
  Changed();
}

void TKzGutter::SetAutoSize(bool value) {
  if (FAutoSize == value)
    return;
  FAutoSize = value;
  AutoSizeDigitCount(FLastLineCount);
  Changed();
}

void TKzGutter::SetBorderStyle(TKzGutterBorderStyle value) {
  if (FBorderStyle == value)
    return;
  FBorderStyle = value;
  Changed();
}

bool TKzGutter::AutoSizeDigitCount(int lineCount) {
  FLastLineCount = lineCount;
  int field = FDigitCount;
  if (FVisible && FAutoSize && FShowLineNumbers) {
    int highest = FZeroStart ? lineCount - 1 : lineCount;
    int digits = 1;
    for (long long n = std::max(highest, 0); n >= 10; n /= 10)
      ++digits;
    field = std::max(field, digits);
  }
  if (field == FAutoSizeDigitCount)
    return false;
  FAutoSizeDigitCount = field;
  return true;
}

int TKzGutter::RealGutterWidth(int charWidth) const {
  if (!FVisible)
    return 0;
  if (FShowLineNumbers)
    return FLeftOffset + FRightOffset + FAutoSizeDigitCount * charWidth + 2;
  return FWidth;
}

std::string TKzGutter::FormatLineNumber(int line) const {
  long long n = FZeroStart ? static_cast<long long>(line) - 1 : line;
  std::string digits = std::to_string(n);
  int field = FAutoSizeDigitCount;
  std::string text;
  if (static_cast<int>(digits.size()) < field)
    text.assign(static_cast<size_t>(field) - digits.size(), ' ');
  text += digits;
  if (FLeadingZeros) {
    // Every padding position but the last one of the field turns into a zero; the last is
    // always a digit already.
    for (size_t i = 0; i + 1 < text.size() && text[i] == ' '; ++i)
      text[i] = '0';
  }
  return text;
}

void TKzGutter::Assign(const TKzGutter &source) {
  auto handler = std::move(OnChange);
  FFont = source.FFont;
  FUseFontStyle = source.FUseFontStyle;
  FColor = source.FColor;
  FVisible = source.FVisible;
  FWidth = source.FWidth;
  FShowLineNumbers = source.FShowLineNumbers;
  FLeadingZeros = source.FLeadingZeros;
  FZeroStart = source.FZeroStart;
  FLeftOffset = source.FLeftOffset;
  FRightOffset = source.FRightOffset;
  FDigitCount = source.FDigitCount;
  FAutoSize = source.FAutoSize;
  FBorderStyle = source.FBorderStyle;
  AutoSizeDigitCount(FLastLineCount);
  OnChange = std::move(handler);
  Changed();
}

void TKzSelectedColor::SetBackground(kzp::TColor value) {
  if (FBackground == value)
    return;
  FBackground = value;
  if (OnChange)
    OnChange();
}

void TKzSelectedColor::SetForeground(kzp::TColor value) {
  if (FForeground == value)
    return;
  FForeground = value;
  if (OnChange)
    OnChange();
}
