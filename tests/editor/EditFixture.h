// A fake host and a fixture that drive the editor core like a user: keys, commands, mouse.
#pragma once

#include "editor/KzEdit.h"
#include "editor/KzEditKeyConst.h"
#include "platform/FixedCanvas.h"

#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>

class TFakeHost : public TKzEditHost {
public:
  kzp::TMemoryClipboard Clip;
  int Width = 200, Height = 150;
  bool Focus = false;
  int FocusCalls = 0;
  std::map<TKzTimerReason, int> Timers; // running timers and their intervals
  int DragsStarted = 0;
  bool CaretCreated = false, CaretVisible = false;

  int ClientWidth() const override { return Width; }
  int ClientHeight() const override { return Height; }
  kzp::TClipboard &Clipboard() override { return Clip; }
  void StartTimer(TKzTimerReason r, int ms) override { Timers[r] = ms; }
  void StopTimer(TKzTimerReason r) override { Timers.erase(r); }
  bool HasFocus() const override { return Focus; }
  void TakeFocus() override {
    ++FocusCalls;
    Focus = true;
  }
  void BeginDrag() override { ++DragsStarted; }
  void CreateCaret(int, int) override { CaretCreated = true; }
  void DestroyCaret() override { CaretCreated = CaretVisible = false; }
  void ShowCaret() override { CaretVisible = true; }
  void HideCaret() override { CaretVisible = false; }
};

// Cells are 8 x 16 pixels; the gutter is 30 pixels wide, so the text starts at x = 32 and the
// default 200 x 150 client shows 21 columns and 9 rows.
class EditFixture : public ::testing::Test {
protected:
  void SetUp() override { Ed = MakeEditor(Host); }

  std::unique_ptr<TCustomKzEdit> MakeEditor(TFakeHost &host) {
    auto e = std::make_unique<TCustomKzEdit>(host);
    e->SetMeasureCanvas(&Canvas);
    e->SizeOrFontChanged(true);
    return e;
  }

  // A key as the platform delivers it: key-down, then the character it types (if any).
  void Key(std::uint16_t vk, TShiftState shift = 0, char typed = '\0') {
    std::uint16_t k = vk;
    Ed->KeyDown(k, shift);
    if (typed != '\0')
      Ed->KeyPress(typed);
    std::uint16_t up = vk;
    Ed->KeyUp(up, shift);
  }
  // Typing printable characters: each one's key-down has no command, its key-press inserts.
  void Type(const std::string &s) {
    for (char c : s) {
      unsigned char u = static_cast<unsigned char>(c);
      // Letters and digits have key codes of their own; other characters come without a
      // key-down here, since their key codes would collide with navigation keys.
      std::uint16_t vk = 0;
      if (u >= 'a' && u <= 'z')
        vk = std::uint16_t(u - 32);
      else if ((u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9'))
        vk = u;
      std::uint16_t k = vk;
      if (vk != 0)
        Ed->KeyDown(k, 0);
      Ed->KeyPress(c);
    }
  }
  void Cmd(TKzEditorCommand c, char ch = '\0', void *data = nullptr) {
    Ed->ProcessCommand(c, ch, data);
  }
  void Caret(int x, int y) { Ed->SetCaretPos({x, y}); }
  void Select(TBufferCoord anchor, TBufferCoord end) { Ed->SetCaretAndSelection(end, anchor, end); }
  // Client pixel of the left edge of a cell (display column, row) with the view at the top.
  static int X(int column) { return 32 + (column - 1) * 8; }
  static int Y(int row) { return (row - 1) * 16 + 4; }

  TFakeHost Host;
  kzp::TFixedCanvas Canvas;
  std::unique_ptr<TCustomKzEdit> Ed;
};

inline TBufferCoord P(int x, int y) { return TBufferCoord{x, y}; }

inline void PrintTo(const TBufferCoord &p, std::ostream *os) {
  *os << "(" << p.Char << ", " << p.Line << ")";
}
