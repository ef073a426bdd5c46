// The view's scrolling: top line, left column, the scroll-bar state, scroll-bar messages,
// the mouse wheel, the scroll hint, and the mapping between pixels and cells.
#include "editor/KzEditView.h"

#include "editor/KzEditDocument.h"
#include "editor/KzEditModel.h"

#include "editor/KzEditGutter.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

// Scroll bars hold 16-bit positions; longer ranges are scaled onto 0..32767.
constexpr int kMaxBarRange = 32767;

// a * b / c rounded to the nearest integer, without overflow.
int MulDiv(long long a, long long b, long long c) {
  if (c == 0)
    return 0;
  long long p = a * b;
  long long q = p / c, r = p % c;
  if (2 * std::llabs(r) >= std::llabs(c))
    q += ((p < 0) != (c < 0)) ? -1 : 1;
  return static_cast<int>(q);
}

// Range, page and position of a bar over `range` items with `window` of them in view and the
// first one in view at `pos`; ranges beyond 16 bits are scaled onto 0..32767. With hideShow
// an unscaled bar with nothing to scroll is hidden, otherwise it stays and is disabled.
void SetBarRange(TKzScrollBarState &bar, int range, int window, int pos, bool hideShow) {
  const bool scaled = range > kMaxBarRange;
  if (scaled) {
    bar.Min = 0;
    bar.Max = kMaxBarRange;
    bar.Page = MulDiv(kMaxBarRange, window, range);
    bar.Pos = MulDiv(kMaxBarRange, pos, range);
  } else {
    bar.Min = 1;
    bar.Max = std::max(range, 1);
    bar.Page = window;
    bar.Pos = pos;
  }
  bar.Visible = !(hideShow && !scaled && window >= bar.Max);
  bar.Enabled = bar.Page < bar.Max - bar.Min + 1;
}

// The first item in view after a line (0, 1) or page (2, 3) message, backwards or forwards.
int StepTarget(int code, int current, int window, bool byOneLess) {
  const int page = window - (byOneLess ? 1 : 0);
  switch (code) {
  case 0: return current - 1;
  case 1: return current + 1;
  case 2: return current - page;
  default: return current + page;
  }
}

// The first item in view for a thumb position: the position itself, or scaled back from
// 0..32767 onto the range when the bar was scaled.
int ThumbTarget(bool scaled, int range, int position) {
  return scaled ? static_cast<int>(static_cast<long long>(range) * position / kMaxBarRange)
                : position;
}

} // namespace

// ---- the view ----

void TKzEditView::SetTopLine(int value) {
  int highest =
      HasOption(eoScrollPastEof) ? DisplayLineCount() : DisplayLineCount() - FLinesInWindow + 1;
  value = std::max(std::min(value, highest), 1);
  if (value == FTopLine)
    return;
  int delta = FTopLine - value;
  FTopLine = value;
  // A move smaller than the window keeps the pixels that stay visible.
  if (std::abs(delta) < FLinesInWindow)
    FWindow.ScrollPixels(0, delta * FLineHeight, 0, 0, FWindow.ClientWidth(),
                         FWindow.ClientHeight());
  else
    Invalidate();
  UpdateScrollBars();
  // The caret stays on its cell, which has moved on the screen.
  UpdateCaret();
  FHost.StatusChanged({scTopLine});
}

void TKzEditView::SetLeftChar(int value) {
  int highest;
  if (HasOption(eoScrollPastEol)) {
    highest = HasOption(eoAutoSizeMaxScrollWidth) ? INT_MAX
                                                  : FModel.MaxScrollWidth() - FCharsInWindow + 1;
  } else {
    int longest = FDoc.Lines().LongestLineLength();
    highest = FCharsInWindow < longest ? longest - FCharsInWindow + 1 : longest;
  }
  // Whatever the range, the view stops where the pixel positions of its columns would no
  // longer fit an int: a growing scroll width has no bound of its own, and a line of a
  // million tabs is wider than that.
  highest = std::min(highest, INT_MAX / std::max(FCharWidth, 1) - FCharsInWindow);
  value = std::max(std::min(value, highest), 1);
  if (WordWrap())
    value = 1;
  if (value == FLeftChar)
    return;
  int delta = FLeftChar - value;
  FLeftChar = value;
  if (std::abs(delta) < FCharsInWindow) {
    int gw = GutterWidth();
    FWindow.ScrollPixels(delta * FCharWidth, 0, gw + 2, 0, FWindow.ClientWidth(),
                         FWindow.ClientHeight());
  } else if (FWindow.HandleAllocated()) {
    FWindow.InvalidateRect(GutterWidth(), 0, FWindow.ClientWidth(), FWindow.ClientHeight());
  }
  if (HasOption(eoScrollPastEol) && HasOption(eoAutoSizeMaxScrollWidth) &&
      static_cast<long long>(FLeftChar) + FCharsInWindow > FModel.MaxScrollWidth())
    FHost.GrowMaxScrollWidth(FLeftChar + FCharsInWindow);
  else
    UpdateScrollBars();
  UpdateCaret();
  FHost.StatusChanged({scLeftChar});
}

void TKzEditView::EnsureCursorPosVisible() {
  TKzPaintLock lock(FHost);
  TDisplayCoord p = FModel.DisplayXY();
  if (p.Column < FLeftChar)
    SetLeftChar(p.Column);
  else if (p.Column >= FLeftChar + FCharsInWindow)
    SetLeftChar(p.Column - FCharsInWindow + 1);
  if (p.Row < FTopLine)
    SetTopLine(p.Row);
  else if (p.Row > FTopLine + std::max(1, FLinesInWindow) - 1)
    SetTopLine(p.Row - std::max(1, FLinesInWindow) + 1);
}

// ---- scroll bars ----

void TKzEditView::SetScrollBars(TKzScrollStyle value) {
  if (value == FScrollBars)
    return;
  FScrollBars = value;
  UpdateScrollBars();
}

void TKzEditView::FlushPending() {
  if (FScrollBarsPending)
    UpdateScrollBars();
  if (FCaretPending) {
    FCaretPending = false;
    UpdateCaret();
  }
}

void TKzEditView::UpdateScrollBars() {
  if (!FWindow.HandleAllocated() || FHost.PaintLocked()) {
    FScrollBarsPending = true;
    return;
  }
  FScrollBarsPending = false;
  // A line count that needs another digit widens the gutter and narrows the text area.
  if (Gutter().AutoSizeDigitCount(FDoc.Lines().Count())) {
    FCharsInWindow = std::max(FWindow.ClientWidth() - GutterWidth() - 2, 0) / FCharWidth;
    Invalidate();
  }

  TKzScrollBarState hidden;
  hidden.Visible = false;
  if (FScrollBars == ssNoBars) {
    FHorzBar = hidden;
    FVertBar = hidden;
    FWindow.SetScrollBar(false, FHorzBar);
    FWindow.SetScrollBar(true, FVertBar);
    return;
  }
  // Without eoHideShowScrollbars a bar with nothing to scroll stays, shown disabled.
  const bool hideShow = HasOption(eoHideShowScrollbars);
  const bool arrowsFollow = HasOption(eoDisableScrollArrows);

  if ((FScrollBars == ssHorizontal || FScrollBars == ssBoth) && !WordWrap()) {
    TKzScrollBarState bar;
    int range = HasOption(eoScrollPastEol) ? FModel.MaxScrollWidth()
                                           : std::max(FDoc.Lines().LongestLineLength(), 1);
    SetBarRange(bar, range, FCharsInWindow, FLeftChar, hideShow);
    if (arrowsFollow || FCharsInWindow >= range) {
      bool moreRight = FLeftChar + FCharsInWindow - 1 < range;
      if (FLeftChar > 1 || moreRight) {
        bar.FirstArrowEnabled = FLeftChar > 1;
        bar.SecondArrowEnabled = !(FLeftChar > 1 && !moreRight);
      } else {
        bar.FirstArrowEnabled = false;
        bar.SecondArrowEnabled = false;
      }
    }
    FHorzBar = bar;
  } else {
    FHorzBar = hidden;
  }
  FWindow.SetScrollBar(false, FHorzBar);

  if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
    TKzScrollBarState bar;
    int range = DisplayLineCount();
    if (HasOption(eoScrollPastEof))
      range += FLinesInWindow - 1;
    SetBarRange(bar, range, FLinesInWindow, FTopLine, hideShow);
    if (arrowsFollow || FLinesInWindow >= range) {
      if (FTopLine > 1 || FLinesInWindow < range) {
        bar.FirstArrowEnabled = true;
        bar.SecondArrowEnabled = true;
        if (FTopLine <= 1)
          bar.FirstArrowEnabled = false;
        else if (DisplayLineCount() - FTopLine - FLinesInWindow + 1 == 0)
          bar.SecondArrowEnabled = false;
      } else {
        bar.FirstArrowEnabled = false;
        bar.SecondArrowEnabled = false;
      }
    }
    FVertBar = bar;
  } else {
    FVertBar = hidden;
  }
  FWindow.SetScrollBar(true, FVertBar);
}

void TKzEditView::SizeOrFontChanged(bool fontChanged) {
  if (fontChanged) {
    RecalcCharExtent();
    Invalidate();
  }
  Gutter().AutoSizeDigitCount(FDoc.Lines().Count());
  FCharsInWindow = std::max(FWindow.ClientWidth() - GutterWidth() - 2, 0) / FCharWidth;
  FLinesInWindow = FWindow.ClientHeight() / FLineHeight;
  UpdateScrollBars();
  if (fontChanged)
    UpdateCaret();
}

TDisplayCoord TKzEditView::PixelsToRowColumn(int x, int y) const {
  TDisplayCoord p;
  int maxY = std::max(FLinesInWindow, 1) * FLineHeight - 1;
  y = std::min(std::max(y, 0), std::max(maxY, 0));
  p.Row = std::max(FTopLine + y / FLineHeight, 1);
  double col = double(x - GutterWidth() - 2) / FCharWidth;
  p.Column = std::max(FLeftChar + int(col + (col >= 0 ? 0.5 : -0.5)), 1);
  return p;
}

TBufferCoord TKzEditView::PixelsToBuffer(int x, int y) const {
  TDisplayCoord d = PixelsToRowColumn(x, y);
  d.Row = std::min(d.Row, DisplayLineCount());
  return FModel.DisplayToBufferPos(d);
}

kzp::TPoint TKzEditView::RowColumnToPixels(TDisplayCoord p) const {
  kzp::TPoint r;
  r.X = ColumnToX(p.Column);
  r.Y = (p.Row - FTopLine) * FLineHeight;
  return r;
}

// ---- scroll messages ----

void TKzEditView::ScrollBarMessage(bool vertical, int code, int position) {
  if (vertical) {
    if (code >= 0 && code <= 8) {
      switch (code) {
      case 0:
      case 1:
      case 2:
      case 3:
        SetTopLine(StepTarget(code, FTopLine, FLinesInWindow, HasOption(eoScrollByOneLess)));
        break;
      case 4:
      case 5:
        SetTopLine(ThumbTarget(DisplayLineCount() >= 32768, DisplayLineCount() + FLinesInWindow - 1,
                               position));
        if (HasOption(eoShowScrollHint))
          ShowScrollHint();
        break;
      case 6: SetTopLine(1); break;
      case 7: SetTopLine(DisplayLineCount()); break;
      case 8:
        if (HasOption(eoShowScrollHint) && FScrollHintShown) {
          FWindow.HideScrollHint();
          FScrollHintShown = false;
        }
        break;
      }
      FWindow.UpdateNow();
    }
    FHost.Scrolled(sbVertical);
    return;
  }

  int range = HasOption(eoScrollPastEol) ? FModel.MaxScrollWidth()
                                         : std::max(FDoc.Lines().LongestLineLength(), 1);
  switch (code) {
  case 0:
  case 1:
  case 2:
  case 3:
    SetLeftChar(StepTarget(code, FLeftChar, FCharsInWindow, HasOption(eoScrollByOneLess)));
    break;
  case 4:
  case 5: SetLeftChar(ThumbTarget(range >= 32768, range, position)); break;
  case 6: SetLeftChar(1); break;
  case 7:
    if (HasOption(eoScrollPastEol)) {
      SetLeftChar(FModel.MaxScrollWidth() - FCharsInWindow + 1);
    } else {
      int longest = FDoc.Lines().LongestLineLength();
      SetLeftChar(FCharsInWindow < longest ? longest - FCharsInWindow + 1 : longest);
    }
    break;
  default: break;
  }
  FHost.Scrolled(sbHorizontal);
}

// ---- the scroll hint ----

std::string TKzEditView::ScrollHintText() const {
  char buf[256];
  // Without word wrap a row's buffer line is the row number.
  if (FScrollHintFormat == shfTopToBottom)
    std::snprintf(buf, sizeof buf, "%d - %d", FTopLine,
                  FTopLine + std::min(FLinesInWindow, DisplayLineCount() - FTopLine));
  else
    std::snprintf(buf, sizeof buf, "Top Line: %d", FTopLine);
  return std::string(buf).substr(0, 255);
}

void TKzEditView::ShowScrollHint() {
  std::string text = ScrollHintText();
  // The hint window sizes itself for the text with at most 200 pixels; a measuring canvas
  // gives the same size here.
  int hintWidth = 0, hintHeight = 0;
  if (FMeasureCanvas) {
    FMeasureCanvas->SaveState();
    kzp::TFont hintFont;
    hintFont.Name = "Arial";
    hintFont.SetSize(8);
    FMeasureCanvas->SetFont(hintFont);
    kzp::TSize ext = FMeasureCanvas->TextExtent(text);
    FMeasureCanvas->RestoreState();
    hintWidth = std::min(ext.cx, 200) + 6;
    hintHeight = ext.cy + 2;
  }
  int x = FWindow.ClientWidth() - hintWidth - 4;
  int y = 10;
  if (HasOption(eoScrollHintFollows)) {
    int a = FWindow.ScrollArrowHeight();
    int track = FWindow.ScrollBarTrackPos(true);
    int maximum = std::max(FVertBar.Max, 1);
    y = a + MulDiv(FWindow.ClientHeight() - 2 * a, track, maximum) + hintHeight / 2;
  }
  FWindow.ShowScrollHint(text, x, y, FScrollHintColor);
  FScrollHintShown = true;
}

// ---- the mouse wheel ----

void TKzEditView::MouseWheel(int delta, TShiftState shift) {
  int step;
  if (shift & ssCtrl) {
    step = FLinesInWindow;
    if (HasOption(eoHalfPageScroll))
      step /= 2;
  } else {
    step = FWindow.WheelScrollLines();
  }
  if (step == -1 || step > FLinesInWindow)
    step = FLinesInWindow;
  // Wide arithmetic: a hostile movement times a tall window's page must not overflow.
  const long long sum = static_cast<long long>(FWheelAccumulator) + delta;
  const long long notches = sum / 120; // truncated towards zero; the rest keeps its sign
  FWheelAccumulator = static_cast<int>(sum % 120);
  SetTopLine(static_cast<int>(std::clamp<long long>(FTopLine - notches * step, INT_MIN, INT_MAX)));
  FWindow.UpdateNow();
  FHost.Scrolled(sbVertical);
}
