// The fake host, the test highlighter and the editor fixture.
#include "ViewFixture.h"

TTestHighlighter::TTestHighlighter() {
  auto make = [this](const char *name, kzp::TColor fg, kzp::TColor bg, kzp::TFontStyles style) {
    auto a = std::make_unique<TKzHighlighterAttributes>(name);
    a->SetForeground(fg);
    a->SetBackground(bg);
    a->SetStyle(style);
    TKzHighlighterAttributes *p = a.get();
    RegisterAttribute(std::move(a));
    return p;
  };
  Word = make("Word", kzp::clNavy, clNone, 0);
  Key = make("Key", kzp::clMaroon, clNone, kzp::fsBold);
  Number = make("Number", kzp::clRed, kzp::clYellow, 0);
  Space = make("Space", clNone, clNone, 0);
  Comment = make("Comment", kzp::clGreen, clNone, kzp::fsItalic);
  Symbol = make("Symbol", kzp::clPurple, clNone, 0);
  ConnectAttributes();
}

TKzHighlighterAttributes *TTestHighlighter::RoleAttribute(int role) const {
  switch (role) {
  case RoleComment: return Comment;
  case RoleIdentifier: return Word;
  case RoleKeyword: return Key;
  case RoleWhitespace: return Space;
  case RoleSymbol: return Symbol;
  default: return nullptr;
  }
}

void TTestHighlighter::BeginLine(const std::string &line, int) {
  ++LinesBegun;
  FLine = line.c_str();
  FLen = static_cast<int>(line.size());
  FPos = 0;
  Scan();
}

void TTestHighlighter::Advance() { Scan(); }

void TTestHighlighter::Scan() {
  FTokenStart = FPos;
  if (FPos >= FLen) {
    FAttr = nullptr;
    return;
  }
  auto cls = [](char c) {
    if (c >= 'a' && c <= 'z')
      return 1;
    if (c >= 'A' && c <= 'Z')
      return 2;
    if (c >= '0' && c <= '9')
      return 3;
    if (c == ' ' || c == '\t')
      return 4;
    return 0;
  };
  if (FRange == 1) {
    // Inside a block comment until "*/".
    while (FPos < FLen && !(FLine[FPos] == '*' && FPos + 1 < FLen && FLine[FPos + 1] == '/'))
      ++FPos;
    if (FPos < FLen) {
      FPos += 2;
      FRange = 0;
    }
    FAttr = Comment;
    return;
  }
  char c = FLine[FPos];
  if (c == '#') {
    FPos = FLen;
    FAttr = Comment;
    return;
  }
  if (c == '/' && FPos + 1 < FLen && FLine[FPos + 1] == '*') {
    FRange = 1;
    FPos += 2;
    Scan();
    FTokenStart -= 2;
    return;
  }
  int k = cls(c);
  if (k == 0) {
    ++FPos;
    FAttr = Symbol;
    return;
  }
  while (FPos < FLen && cls(FLine[FPos]) == k)
    ++FPos;
  FAttr = k == 1 ? Word : k == 2 ? Key : k == 3 ? Number : Space;
}

TViewFixture::TViewFixture() {
  Edit = std::make_unique<TCustomKzEdit>(Host);
  Edit->SetMeasureCanvas(&Measure);
  Edit->SizeOrFontChanged(false);
  Host.ClearRecords();
}

void TViewFixture::PaintAll() { PaintClip({0, 0, Host.Width, Host.Height}); }

void TViewFixture::PaintClip(const kzp::TRect &clip) {
  Canvas.ClearCalls();
  Edit->Paint(Canvas, clip);
}

std::vector<kzp::TCanvasCall> TViewFixture::TextsInRow(int row) const {
  std::vector<kzp::TCanvasCall> out;
  int lh = Edit->LineHeight();
  for (const auto &c : Canvas.Calls)
    if (c.Op == kzp::TCanvasOp::Text && c.Y >= row * lh && c.Y < (row + 1) * lh &&
        c.X >= Edit->GutterWidth())
      out.push_back(c);
  return out;
}

std::vector<kzp::TCanvasCall> TViewFixture::FillsInRow(int row) const {
  std::vector<kzp::TCanvasCall> out;
  int lh = Edit->LineHeight();
  for (const auto &c : Canvas.Calls)
    if (c.Op == kzp::TCanvasOp::FillRect && c.Rect.Top == row * lh &&
        c.Rect.Bottom == (row + 1) * lh && c.Rect.Left >= Edit->GutterWidth() + 2)
      out.push_back(c);
  return out;
}
