// Painting of the editor control: text, gutter, invalidation and the font.
#include "editor/KzEdit.h"

#include "editor/KzEditGutter.h"

struct TCustomKzEdit::TKzPaintData {
  TKzGutter Gutter;
};

void TCustomKzEdit::CreatePaintData() { FPaintData = new TKzPaintData; }

void TCustomKzEdit::DestroyPaintData() {
  delete FPaintData;
  FPaintData = nullptr;
}

TKzGutter &TCustomKzEdit::Gutter() { return FPaintData->Gutter; }

int TCustomKzEdit::GutterWidth() const {
  return FPaintData->Gutter.Visible() ? FPaintData->Gutter.Width() : 0;
}

void TCustomKzEdit::SetFont(const kzp::TFont &font) {
  FFont = font;
  SizeOrFontChanged(true);
}

void TCustomKzEdit::InvalidateLines(int, int) { FHost.InvalidateAll(); }
void TCustomKzEdit::InvalidateLine(int line) { InvalidateLines(line, line); }
void TCustomKzEdit::InvalidateGutter() { FHost.InvalidateAll(); }
void TCustomKzEdit::InvalidateGutterLines(int, int) { FHost.InvalidateAll(); }
void TCustomKzEdit::Invalidate() { FHost.InvalidateAll(); }

void TCustomKzEdit::Paint(kzp::TCanvas &, const kzp::TRect &) {}
