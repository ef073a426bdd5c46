// What the editor core needs from the window it lives in: clipboard, timers, scroll bars,
// invalidation, caret, mouse capture and focus. The Qt widget implements it; tests plug in a
// fake that records the calls. Every service has a harmless default so a fake only overrides
// what it watches.
#pragma once

#include "platform/Clipboard.h"

#include <cstdint>
#include <string>

// Timers are keyed by what they are for, so one host serves several.
enum class TKzTimerReason { AutoScroll, CaretBlink, CompletionTrigger };

// The state of one scroll bar as the editor computes it.
struct TKzScrollBarState {
  bool Visible = true;
  bool Enabled = true; // false: shown disabled because there is nothing to scroll
  int Min = 1, Max = 1, Page = 1, Pos = 1;
  bool FirstArrowEnabled = true;  // left or up
  bool SecondArrowEnabled = true; // right or down
  bool operator==(const TKzScrollBarState &) const = default;
};

// A window the editor hands its focus to while it is registered (the completion list).
class TKzFocusTarget {
public:
  virtual ~TKzFocusTarget() = default;
  virtual void SetFocus() = 0;
};

class TKzEditHost {
public:
  virtual ~TKzEditHost() = default;

  // The platform window exists (before that, scroll bars and carets are only remembered).
  virtual bool HandleAllocated() const { return true; }
  virtual int ClientWidth() const { return 200; }
  virtual int ClientHeight() const { return 150; }

  // -- clipboard --
  virtual kzp::TClipboard &Clipboard() = 0;

  // -- timers; the host calls TCustomKzEdit::TimerFired(reason) on each tick --
  virtual void StartTimer(TKzTimerReason, int /*intervalMs*/) {}
  virtual void StopTimer(TKzTimerReason) {}

  // -- painting: rectangles in client pixels, right and bottom exclusive --
  virtual void InvalidateRect(int /*left*/, int /*top*/, int /*right*/, int /*bottom*/) {}
  virtual void InvalidateAll() {}
  // Moves the pixels of the rectangle by (dx, dy) and invalidates the uncovered band.
  virtual void ScrollPixels(int /*dx*/, int /*dy*/, int /*left*/, int /*top*/, int /*right*/,
                            int /*bottom*/) {}
  // Paints the invalidated area at once instead of at the next event-loop turn.
  virtual void UpdateNow() {}

  // -- scroll bars and the hint shown while the vertical thumb is dragged --
  virtual void SetScrollBar(bool /*vertical*/, const TKzScrollBarState &) {}
  virtual int ScrollBarTrackPos(bool /*vertical*/) const { return 0; }
  virtual int ScrollArrowHeight() const { return 16; }
  virtual void ShowScrollHint(const std::string & /*text*/, int /*x*/, int /*y*/,
                              std::uint32_t /*colour*/) {}
  virtual void HideScrollHint() {}
  // Lines per wheel notch; -1 means one page.
  virtual int WheelScrollLines() const { return 3; }

  // -- caret, in client pixels --
  virtual void CreateCaret(int /*width*/, int /*height*/) {}
  virtual void DestroyCaret() {}
  virtual void ShowCaret() {}
  virtual void HideCaret() {}
  virtual void SetCaretPos(int /*x*/, int /*y*/) {}

  // -- mouse and focus --
  virtual void SetMouseCapture(bool /*capture*/) {}
  virtual bool HasFocus() const { return false; }
  // Gives the platform's input focus to the editor's window.
  virtual void TakeFocus() {}
  // Pixels the mouse must travel with the button held before a drag starts.
  virtual int DragDistance() const { return 5; }
  // Starts the platform's drag operation of the editor's selected text.
  virtual void BeginDrag() {}
};
