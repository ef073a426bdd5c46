// Types of the editor's painting and scrolling side that its users see: events, hint format
// and scroll-bar kinds.
#pragma once

#include "platform/Canvas.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TCustomKzEdit;
class TKzGutter;
class TKzSelectedColor;
class TheTextDrawer;

// What the scroll hint shows: the top line, or the first and last visible lines.
enum TKzScrollHintFormat : std::uint8_t { shfTopLineOnly, shfTopToBottom };
// The scroll bar an OnScroll event is about.
enum TKzScrollBarKind : std::uint8_t { sbHorizontal, sbVertical };
// Painting events: the canvas is prepared with the editor font and background colour.
using TKzPaintEvent = std::function<void(TCustomKzEdit &, kzp::TCanvas &)>;
// The text shown for a line number (1-based buffer line); the handler may replace it.
using TKzGutterGetTextEvent = std::function<void(TCustomKzEdit &, int line, std::string &text)>;
// After a gutter row was painted: the line, its y and the x used by glyphs on that row.
using TKzGutterPaintEvent = std::function<void(TCustomKzEdit &, int line, int x, int y)>;
// May give a line its own colours and mark it special (then the selection takes them too).
using TKzSpecialLineColorsEvent = std::function<void(
    TCustomKzEdit &, int line, bool &special, kzp::TColor &foreground, kzp::TColor &background)>;
using TKzScrollEvent = std::function<void(TCustomKzEdit &, TKzScrollBarKind)>;
// A stretch of a line drawn on the mark colour (the matches of a search): characters
// [Start, End), 1-based.
struct TKzLineMark {
  int Start = 1;
  int End = 1;
};
// Asked for every line that is painted (1-based buffer line): the marks of that line that
// reach into the characters [firstChar, lastChar] the row shows, in order and not
// overlapping. Only visible lines are asked, so a long line costs only what is in view.
using TKzLineMarksEvent = std::function<void(TCustomKzEdit &, int line, int firstChar, int lastChar,
                                             std::vector<TKzLineMark> &marks)>;
