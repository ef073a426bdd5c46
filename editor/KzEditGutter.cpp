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

// Every property setter: store, let the digit field follow when the property is one it
// depends on, tell the editor. A value the property has already changes nothing.
template <class T> void TKzGutter::Update(T &field, const T &value, bool digitField) {
  if (field == value)
    return;
  field = value;
  if (digitField)
    AutoSizeDigitCount(FLastLineCount);
  Changed();
}

void TKzGutter::SetFont(const kzp::TFont &value) { Update(FFont, value, false); }
void TKzGutter::SetUseFontStyle(bool value) { Update(FUseFontStyle, value, false); }
void TKzGutter::SetColor(kzp::TColor value) { Update(FColor, value, false); }
void TKzGutter::SetVisible(bool value) { Update(FVisible, value, true); }
void TKzGutter::SetWidth(int value) { Update(FWidth, std::max(0, value), false); }
void TKzGutter::SetShowLineNumbers(bool value) { Update(FShowLineNumbers, value, true); }
void TKzGutter::SetLeadingZeros(bool value) { Update(FLeadingZeros, value, false); }
void TKzGutter::SetZeroStart(bool value) { Update(FZeroStart, value, true); }
void TKzGutter::SetLeftOffset(int value) { Update(FLeftOffset, std::max(0, value), false); }
void TKzGutter::SetRightOffset(int value) { Update(FRightOffset, std::max(0, value), false); }
void TKzGutter::SetDigitCount(int value) { Update(FDigitCount, std::clamp(value, 2, 12), true); }
void TKzGutter::SetAutoSize(bool value) { Update(FAutoSize, value, true); }
void TKzGutter::SetBorderStyle(TKzGutterBorderStyle value) { Update(FBorderStyle, value, false); }

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

void TKzSelectedColor::Update(kzp::TColor &field, kzp::TColor value) {
  if (field == value)
    return;
  field = value;
  if (OnChange)
    OnChange();
}

void TKzSelectedColor::SetBackground(kzp::TColor value) { Update(FBackground, value); }
void TKzSelectedColor::SetForeground(kzp::TColor value) { Update(FForeground, value); }
