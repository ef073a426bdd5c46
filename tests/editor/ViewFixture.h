// A fake host that records what the editor asks of its window, a small highlighter with
// fixed token rules and colours, and an editor wired to both on the recording canvas.
#pragma once

#include "editor/KzEdit.h"
#include "editor/KzEditGutter.h"
#include "platform/Clipboard.h"
#include "platform/FixedCanvas.h"

#include <memory>
#include <string>
#include <vector>

struct TRecordedScroll {
  int DX, DY;
  kzp::TRect Rect;
};

class TFakeViewHost : public TKzEditHost {
public:
  int Width = 8 * 40 + 32; // gutter 30 + gap 2 + 40 cells of 8
  int Height = 16 * 10;    // 10 rows of 16
  bool Focus = true;
  int WheelLines = 3;
  int TrackPos = 0;
  int ArrowHeight = 16;

  std::vector<kzp::TRect> Invalidated;
  int InvalidatedAll = 0;
  std::vector<TRecordedScroll> Scrolls;
  int UpdatesNow = 0;
  TKzScrollBarState Bars[2];
  int BarUpdates = 0;
  std::string HintText;
  int HintX = 0, HintY = 0;
  std::uint32_t HintColour = 0;
  bool HintVisible = false;

  void ClearRecords() {
    Invalidated.clear();
    InvalidatedAll = 0;
    Scrolls.clear();
    UpdatesNow = 0;
  }

  int ClientWidth() const override { return Width; }
  int ClientHeight() const override { return Height; }
  kzp::TClipboard &Clipboard() override { return FClipboard; }
  void InvalidateRect(int l, int t, int r, int b) override { Invalidated.push_back({l, t, r, b}); }
  void InvalidateAll() override { ++InvalidatedAll; }
  void ScrollPixels(int dx, int dy, int l, int t, int r, int b) override {
    Scrolls.push_back({dx, dy, {l, t, r, b}});
  }
  void UpdateNow() override { ++UpdatesNow; }
  void SetScrollBar(bool vertical, const TKzScrollBarState &s) override {
    Bars[vertical ? 1 : 0] = s;
    ++BarUpdates;
  }
  int ScrollBarTrackPos(bool) const override { return TrackPos; }
  int ScrollArrowHeight() const override { return ArrowHeight; }
  void ShowScrollHint(const std::string &text, int x, int y, std::uint32_t colour) override {
    HintText = text;
    HintX = x;
    HintY = y;
    HintColour = colour;
    HintVisible = true;
  }
  void HideScrollHint() override { HintVisible = false; }
  int WheelScrollLines() const override { return WheelLines; }
  bool HasFocus() const override { return Focus; }
  void SetCaretPos(int x, int y) override {
    CaretX = x;
    CaretY = y;
  }
  int CaretX = -1, CaretY = -1;

private:
  kzp::TMemoryClipboard FClipboard;
};

// Tokens: runs of lower-case letters (Word), upper-case letters (Key, bold), digits (Number),
// blanks (Space), '#' to the line end (Comment), and each other character alone (Symbol).
// A line ending inside "/*" without "*/" carries range 1 into the next line (Comment).
class TTestHighlighter : public TKzCustomHighlighter {
public:
  TTestHighlighter();
  TKzHighlighterAttributes *RoleAttribute(int role) const override;
  void ClearRange() override { FRange = 0; }
  void RestoreRange(TKzRange r) override { FRange = r; }
  TKzRange CurrentRange() const override { return FRange; }
  void BeginLine(const std::string &line, int lineIndex) override;
  bool AtLineEnd() const override { return FTokenStart >= FLen; }
  int TokenStart() const override { return FTokenStart; }
  std::string TokenText() const override { return std::string(FLine + FTokenStart, FLine + FPos); }
  int TokenKind() const override { return 0; }
  TKzHighlighterAttributes *TokenAttribute() const override { return FAttr; }
  void Advance() override;

  TKzHighlighterAttributes *Word, *Key, *Number, *Space, *Comment, *Symbol;
  int LinesBegun = 0;

private:
  void Scan();
  const char *FLine = "";
  int FLen = 0;
  int FPos = 0;
  int FTokenStart = 0;
  TKzRange FRange = 0;
  TKzHighlighterAttributes *FAttr = nullptr;
};

// An editor on the fake host, measured on a fixed canvas of 8 x 16 cells.
struct TViewFixture {
  TFakeViewHost Host;
  kzp::TFixedCanvas Measure;
  std::unique_ptr<TCustomKzEdit> Edit;
  kzp::TFixedCanvas Canvas;

  TViewFixture();
  // Paints the whole client area (or the given clip) onto a cleared canvas.
  void PaintAll();
  void PaintClip(const kzp::TRect &clip);
  // The recorded Text calls whose y lies in the given display row (0-based from the top).
  std::vector<kzp::TCanvasCall> TextsInRow(int row) const;
  std::vector<kzp::TCanvasCall> FillsInRow(int row) const;
};
