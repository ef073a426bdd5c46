// Drawing one row: tokens merged into runs, runs split at the selection, the rest filled.
#include "editor/KzEditLinePainter.h"

#include "editor/KzTextDrawer.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr unsigned char kMiddleDot = 183;
constexpr unsigned char kGuillemet = 187;
constexpr unsigned char kPilcrow = 182;

bool OnlySpaces(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' ' || c == '\t'; });
}

} // namespace

int TKzColumnGrid::X(int column) const {
  const long long x = static_cast<long long>(column - LeftChar) * CharWidth + Origin;
  return static_cast<int>(std::clamp<long long>(x, INT_MIN, INT_MAX / 2));
}

void TKzLinePainter::PaintRow(kzp::TCanvas &canvas, const TKzPaintFrame &frame,
                              const TKzPaintRow &row) {
  FFrame = &frame;
  FRow = &row;
  const std::string &text = *row.Text;
  FLength = static_cast<int>(text.size());
  FHasSel = row.SelStart < row.SelEnd;
  FCompleteSel = FHasSel && row.SelStart <= frame.FirstCol && row.SelEnd > frame.LastCol;
  FRun.clear();
  FRunCol = 0;
  FRunLook = row.Look;
  FPaintedTo = frame.FirstCol;

  const bool specialColours = row.Special && !frame.SpecialLineDefaultFg;
  TKzHighlighterAttributes *lastAttr = nullptr;
  if (frame.Highlighter) {
    TKzTokenWalk walk(*frame.Highlighter, *frame.Lines, text, row.LineIndex);
    for (TKzToken t; walk.Next(t);) {
      if (t.Start + 1 > frame.LastCol)
        break;
      if (t.End + 1 <= frame.FirstCol)
        continue;
      // A special line keeps its own colours; the active line keeps its background.
      AddToken(t.Start, t.End,
               LookOfToken(t.Attr, row.Look, !specialColours, !row.Special && !row.ActiveLine));
    }
    lastAttr = walk.LastAttr();
  } else {
    AddToken(0, FLength, row.Look);
  }
  const kzp::TFontStyles lastStyle = FRunLook.Style;
  const char lastChar = FRun.empty() ? ' ' : FRun.back();
  Flush();

  // The end-of-line mark occupies the cell after the text, in the look of a comment when the
  // line ends in one and of white space otherwise.
  if (frame.ShowSpecialChars && FLength + 1 >= frame.FirstCol && FLength + 1 <= frame.LastCol) {
    TKzHighlighterAttributes *eolAttr =
        lastAttr && lastAttr == frame.CommentAttr ? frame.CommentAttr : frame.SpaceAttr;
    TKzTokenLook look = LookOfToken(eolAttr, row.Look);
    look.Style = 0;
    FRun.assign(1, static_cast<char>(kPilcrow));
    DrawRun(FLength + 1, look);
    FRun.clear();
    FPaintedTo = FLength + 2;
  }
  FillRest(canvas, lastStyle, lastChar);
}

void TKzLinePainter::AddToken(int start, int end, const TKzTokenLook &look) {
  const TKzPaintFrame &f = *FFrame;
  const int c1 = std::max(start + 1, f.FirstCol);
  const int c2 = std::min(end + 1, f.LastCol + 1);
  if (c1 >= c2)
    return;
  const std::string_view text(FRow->Text->data() + (c1 - 1), static_cast<size_t>(c2 - c1));
  const bool spaces = OnlySpaces(text);
  bool absorb = false;
  if (FRunCol > 0) {
    // Blanks show no style but underlining, and no foreground at all.
    const bool sameStyle =
        look.Style == FRunLook.Style ||
        (spaces && !(look.Style & kzp::fsUnderline) && !(FRunLook.Style & kzp::fsUnderline));
    const bool sameColours = (FRow->Special && !f.SpecialLineDefaultFg) || FCompleteSel ||
                             (look.Background == FRunLook.Background &&
                              (look.Foreground == FRunLook.Foreground || spaces));
    absorb = sameStyle && sameColours;
  }
  if (!absorb) {
    Flush();
    FRunCol = c1;
    FRunLook = look;
  }
  AppendText(c1 - 1, c2 - 1);
}

void TKzLinePainter::AppendText(int from, int to) {
  const std::string &text = *FRow->Text;
  const bool showSpecial = FFrame->ShowSpecialChars;
  for (int i = from; i < to; ++i) {
    char c = text[static_cast<size_t>(i)];
    if (c == '\t') {
      if (showSpecial) {
        // One guillemet in the middle of each tab's run of cells; a tab's run ends at the
        // next multiple of the tab width.
        const int tw = std::max(FFrame->TabWidth, 1);
        int tabStart = i;
        while (tabStart > 0 && tabStart % tw != 0 &&
               text[static_cast<size_t>(tabStart - 1)] == '\t')
          --tabStart;
        int tabEnd = i + 1;
        while (tabEnd < FLength && tabEnd % tw != 0 && text[static_cast<size_t>(tabEnd)] == '\t')
          ++tabEnd;
        c = i == tabStart + (tabEnd - tabStart - 1) / 2 ? static_cast<char>(kGuillemet) : ' ';
      } else {
        c = ' ';
      }
    } else if (c == ' ' && showSpecial) {
      c = static_cast<char>(kMiddleDot);
    }
    FRun.push_back(c);
  }
}

void TKzLinePainter::Flush() {
  if (FRunCol > 0 && !FRun.empty()) {
    DrawRun(FRunCol, FRunLook);
    FPaintedTo = FRunCol + static_cast<int>(FRun.size());
  }
  FRun.clear();
  FRunCol = 0;
}

// Draws the run, which starts at column runCol, split at the selection into an unselected,
// a selected and an unselected piece; the unselected ones split again at the marks.
void TKzLinePainter::DrawRun(int runCol, const TKzTokenLook &look) {
  const TKzPaintRow &row = *FRow;
  const TKzColumnGrid &grid = FFrame->Grid;
  const int y = row.Y, bottom = row.Y + FFrame->LineHeight;
  const int runEnd = runCol + static_cast<int>(FRun.size());
  FDrawer.SetStyle(look.Style);
  auto piece = [&](int c1, int c2, kzp::TColor fore, kzp::TColor back) {
    if (c1 >= c2)
      return;
    FDrawer.SetForeColor(fore);
    FDrawer.SetBackColor(back);
    const kzp::TRect r{grid.X(c1), y, grid.X(c2), bottom};
    FDrawer.ExtTextOut(r.Left, y, kzp::etoOpaque, r,
                       std::string_view(FRun).substr(static_cast<size_t>(c1 - runCol),
                                                     static_cast<size_t>(c2 - c1)));
  };
  auto unselected = [&](int c1, int c2) {
    if (row.Marks) {
      for (const auto &[m1, m2] : *row.Marks) {
        if (m2 <= c1)
          continue;
        if (m1 >= c2)
          break;
        const int s = std::max(m1, c1), e = std::min(m2, c2);
        piece(c1, s, look.Foreground, look.Background);
        piece(s, e, look.Foreground, row.MarkBackground);
        c1 = e;
      }
    }
    piece(c1, c2, look.Foreground, look.Background);
  };
  if (!FHasSel) {
    unselected(runCol, runEnd);
    return;
  }
  const int s = std::clamp(row.SelStart, runCol, runEnd);
  const int e = std::clamp(row.SelEnd, runCol, runEnd);
  unselected(runCol, s);
  piece(s, e, row.SelForeground, row.SelBackground);
  unselected(e, runEnd);
}

// The rest of the row: the part the selection covers beyond the text in the selection's
// background, then the line's background to the clip's right edge.
void TKzLinePainter::FillRest(kzp::TCanvas &canvas, kzp::TFontStyles lastStyle, char lastChar) {
  const TKzPaintFrame &f = *FFrame;
  const TKzPaintRow &row = *FRow;
  const int y = row.Y, bottom = row.Y + f.LineHeight;
  const int fillCol = std::max(FPaintedTo, std::min(FLength + 1, f.LastCol + 1));
  int fillX = std::max(f.Grid.X(fillCol), f.TextLeft);
  if (lastStyle != 0 && fillCol == FLength + 1 && FLength >= f.FirstCol) {
    // A styled last character may reach past its cell; its overhang stays visible.
    FDrawer.SetStyle(lastStyle);
    const int extra = canvas.TextWidth(std::string_view(&lastChar, 1)) - f.Grid.CharWidth;
    if (extra > 0)
      fillX += extra;
  }
  const int right = f.Clip.Right;
  if (fillX >= right)
    return;
  if (FHasSel && row.SelEnd > fillCol) {
    const int s = std::max(f.Grid.X(std::max(row.SelStart, fillCol)), fillX);
    const int e = std::min(row.SelEnd >= KzBeyondLine ? right : f.Grid.X(row.SelEnd), right);
    if (s > fillX) {
      canvas.SetBrushColor(row.Look.Background);
      canvas.FillRect({fillX, y, s, bottom});
    }
    if (e > s) {
      canvas.SetBrushColor(row.SelBackground);
      canvas.FillRect({s, y, e, bottom});
    }
    fillX = std::max(fillX, e);
  }
  if (fillX < right) {
    canvas.SetBrushColor(row.Look.Background);
    canvas.FillRect({fillX, y, right, bottom});
  }
}
