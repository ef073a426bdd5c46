// What the completion list needs from the window system: showing, placing and repainting its
// pop-up window, the scroll bar, focus, screen geometry and a few platform metrics. The Qt
// pop-up implements it; tests plug in a fake, so every rule of the list runs without a window.
#pragma once

#include "completion/KzCompletionTypes.h"
#include "platform/Canvas.h"

class TCustomKzEdit;

// The list's vertical scroll bar as the list computes it.
struct TKzListScrollBar {
  bool Visible = true;
  bool Enabled = false;
  int Max = 0; // highest position; the position is the first visible row
  int PageSize = 0;
  int LargeChange = 1; // rows one page step moves
  int Position = 0;
  int Left = 0, Top = 0, Height = 0; // client coordinates of the window
  bool operator==(const TKzListScrollBar &) const = default;
};

class TKzCompletionHost {
public:
  virtual ~TKzCompletionHost() = default;

  // The list model this window shows and reports to; null once the list is gone.
  virtual void SetForm(TKzBaseCompletionProposalForm *) {}

  // -- the window; bounds are the outer rectangle in screen pixels --
  // Shows the window; with `activate` it takes the keyboard and the mouse until hidden.
  virtual void ShowWindow(bool activate) = 0;
  virtual void HideWindow() = 0;
  virtual void SetWindowBounds(int left, int top, int width, int height) = 0;
  // The frame depends on the kind: a sizing frame for a resizeable code list.
  virtual void FrameChanged(KzCompletionType, bool /*resizeable*/) {}
  // Gives the keyboard focus to the window (while it is shown).
  virtual void TakeFocus() {}
  // Repaint later, or at once.
  virtual void Invalidate() {}
  virtual void RepaintNow() { Invalidate(); }
  virtual void SetScrollBar(const TKzListScrollBar &) {}

  // -- platform metrics --
  // Thickness of one side of a sizing frame.
  virtual int SizingFrameHeight() const { return 4; }
  virtual int ScrollBarWidth() const { return 16; }
  // The part of the desktop windows may cover, in screen pixels.
  virtual kzp::TRect DesktopRect() const { return {0, 0, 1024, 768}; }
  // Rows per wheel notch; -1 means a page.
  virtual int WheelScrollLines() const { return 3; }
  // Measures texts in the list's fonts for the screen.
  virtual kzp::TCanvas &MeasureCanvas() = 0;

  // -- environment --
  // Whether the studio is the application the user works in.
  virtual bool ApplicationActive() const { return true; }
  // Lets queued paint and timer messages run.
  virtual void ProcessMessages() {}
  // A point of an editor's client area in screen pixels.
  virtual kzp::TPoint EditorClientToScreen(const TCustomKzEdit &, kzp::TPoint p) const { return p; }
  virtual kzp::TPoint MouseCursorPos() const { return {}; }
};
