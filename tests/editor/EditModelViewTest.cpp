// The edit model and the view each on their own, through fake hosts: what the model asks of
// the control around it while it edits, and what the view asks while it scrolls and paints.
#include "editor/KzEditDocument.h"
#include "editor/KzEditModel.h"
#include "editor/KzEditView.h"
#include "platform/FixedCanvas.h"

#include "UndoReasons.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

using R = TKzChangeReason;

// Records what the model asks for, and checks that every paint lock is released.
class TFakeModelHost : public TKzEditModelHost {
public:
  int Depth = 0, Releases = 0;
  TKzStatusChanges Status;
  std::vector<std::pair<int, int>> Invalidated;
  int CaretMoves = 0, EnsureVisible = 0;
  kzp::TMemoryClipboard Clip;

  void IncPaintLock() override { ++Depth; }
  void DecPaintLock() override {
    if (--Depth == 0)
      ++Releases;
  }
  void StatusChanged(TKzStatusChanges changes) override { Status |= changes; }
  void InvalidateLines(int first, int last) override { Invalidated.emplace_back(first, last); }
  void Invalidate() override { Invalidated.emplace_back(0, 0); }
  void CaretMoved(bool ensureVisible) override {
    ++CaretMoves;
    EnsureVisible += ensureVisible ? 1 : 0;
  }
  void EnsureCaretVisible() override { ++EnsureVisible; }
  void UpdateScrollBars() override {}
  int CharsInWindow() const override { return 40; }
  kzp::TClipboard &Clipboard() override { return Clip; }
};

class TFakeViewHost : public TKzEditViewHost {
public:
  int Depth = 0;
  TKzStatusChanges Status;
  std::vector<TKzScrollBarKind> Scrolls;
  std::vector<int> SpecialAsked;
  std::vector<int> MarksAsked;
  std::vector<std::pair<int, int>> VisibleChars;
  std::vector<TKzLineMark> MarksOfLine1;
  int Grown = 0;

  void IncPaintLock() override { ++Depth; }
  void DecPaintLock() override { --Depth; }
  bool PaintLocked() const override { return Depth > 0; }
  void StatusChanged(TKzStatusChanges changes) override { Status |= changes; }
  void GrowMaxScrollWidth(int value) override { Grown = value; }
  void Scrolled(TKzScrollBarKind bar) override { Scrolls.push_back(bar); }
  void PaintHooks(kzp::TCanvas &) override {}
  void GutterGetText(int, std::string &) override {}
  void GutterPaint(int, int, int) override {}
  void SpecialLineColors(int line, bool &special, kzp::TColor &, kzp::TColor &background) override {
    SpecialAsked.push_back(line);
    if (line == 2) {
      special = true;
      background = kzp::clYellow;
    }
  }
  bool HasLineMarks() const override { return true; }
  void LineMarks(int line, int firstChar, int lastChar, std::vector<TKzLineMark> &marks) override {
    MarksAsked.push_back(line);
    VisibleChars.emplace_back(firstChar, lastChar);
    if (line == 1)
      marks = MarksOfLine1;
  }
};

// A window of 10 rows and 40 columns of 8 x 16 pixels beside the 30-pixel gutter.
class TWindow : public TKzEditHost {
public:
  kzp::TMemoryClipboard Clip;
  std::vector<TKzScrollBarState> Bars;
  int ClientWidth() const override { return 32 + 40 * 8; }
  int ClientHeight() const override { return 160; }
  kzp::TClipboard &Clipboard() override { return Clip; }
  void SetScrollBar(bool vertical, const TKzScrollBarState &state) override {
    if (vertical)
      Bars.push_back(state);
  }
};

struct TParts {
  TKzEditDocument Doc;
  TFakeModelHost ModelHost;
  TKzEditModel Model{Doc, ModelHost};
  TWindow Window;
  TFakeViewHost ViewHost;
  TKzEditView View{Doc, Model, Window, ViewHost};
  kzp::TFixedCanvas Canvas;
  TParts() { View.SetMeasureCanvas(&Canvas); }
};

} // namespace

TEST(EditModel, TypingBeyondTheLineEndPadsAndRecordsOneStepUnderOneLock) {
  TParts p;
  p.Doc.Lines().SetText("ab");
  p.Model.SetCaretPos({6, 1});
  p.ModelHost.Status = {};
  const int releases = p.ModelHost.Releases;
  p.Model.TypeChar('x');
  EXPECT_EQ(p.Doc.Lines().GetLine(0), "ab   x");
  EXPECT_EQ(p.Model.CaretXY(), (TBufferCoord{7, 1}));
  EXPECT_EQ(Reasons(p.Doc.UndoList()), (std::vector<R>{R::PadSpaces, R::InsertText}));
  EXPECT_EQ(p.Doc.UndoList().Item(0).StepNumber, p.Doc.UndoList().Item(1).StepNumber);
  EXPECT_EQ(p.ModelHost.Depth, 0);
  EXPECT_EQ(p.ModelHost.Releases, releases + 1); // everything under the command's lock
  EXPECT_TRUE(p.ModelHost.Status.Contains(scCaretX));
  EXPECT_FALSE(p.ModelHost.Status.Contains(scCaretY));
  EXPECT_EQ(p.Model.LastEdit().first.Caret, (TBufferCoord{6, 1}));
  EXPECT_EQ(p.Model.LastEdit().second.Caret, (TBufferCoord{7, 1}));

  // Undo takes both items back at once and leaves nothing locked.
  p.Model.Undo();
  EXPECT_EQ(p.Doc.Lines().GetLine(0), "ab");
  EXPECT_EQ(p.ModelHost.Depth, 0);
  EXPECT_TRUE(p.Doc.RedoList().HasItems());
}

TEST(EditModel, ClampsTheCaretByItsOptionsAndReportsLineChanges) {
  TParts p;
  p.Doc.Lines().SetText("abc\r\nde");
  p.Model.SetOptions(p.Model.Options() - TKzEditorOptions{eoScrollPastEol});
  p.ModelHost.Invalidated.clear();
  p.ModelHost.CaretMoves = 0;
  p.Model.SetCaretXY({9, 2}, false);
  EXPECT_EQ(p.Model.CaretXY(), (TBufferCoord{3, 2}));
  // The old and the new caret line repaint (the active line colour follows the caret).
  EXPECT_EQ(p.ModelHost.Invalidated, (std::vector<std::pair<int, int>>{{1, 1}, {2, 2}}));
  EXPECT_EQ(p.ModelHost.CaretMoves, 1);
  EXPECT_EQ(p.ModelHost.EnsureVisible, 0);
  p.Model.SetCaretXY({3, 2}, true); // unchanged: nothing to report
  EXPECT_EQ(p.ModelHost.CaretMoves, 1);

  p.Model.SetOptions(p.Model.Options() | TKzEditorOptions{eoScrollPastEol});
  p.Model.SetCaretXY({9, 7}, true);
  EXPECT_EQ(p.Model.CaretXY(), (TBufferCoord{9, 2}));
  EXPECT_EQ(p.ModelHost.EnsureVisible, 1);
}

TEST(EditModel, CutAndPasteGoThroughTheHostsClipboard) {
  TParts p;
  p.Doc.Lines().SetText("one two");
  p.Model.SetCaretAndSelection({4, 1}, {1, 1}, {4, 1});
  p.Model.CutSelection();
  EXPECT_EQ(p.Doc.Lines().GetLine(0), " two");
  ASSERT_EQ(p.ModelHost.Clip.Formats.size(), 2u);
  EXPECT_EQ(p.ModelHost.Clip.GetFormat(kzp::TClipboard::TextFormat), "one");
  p.Model.SetCaretPos({5, 1});
  p.Model.PasteClipboard();
  EXPECT_EQ(p.Doc.Lines().GetLine(0), " twoone");
  EXPECT_EQ(p.ModelHost.Depth, 0);
  EXPECT_EQ(p.Doc.UndoList().BlockDepth(), 0);
}

TEST(EditView, ScrollsWithinTheTextAndReportsEachMove) {
  TParts p;
  std::string text;
  for (int i = 1; i <= 30; ++i)
    text += "line " + std::to_string(i) + "\r\n";
  p.Doc.Lines().SetText(text);
  p.View.SizeOrFontChanged(false);
  EXPECT_EQ(p.View.LinesInWindow(), 10);
  p.View.ScrollBarMessage(true, 3, 0); // a page down
  EXPECT_EQ(p.View.TopLine(), 11);
  p.View.ScrollBarMessage(true, 7, 0); // to the bottom: no further than the last full page
  EXPECT_EQ(p.View.TopLine(), 21);
  EXPECT_EQ(p.ViewHost.Scrolls, (std::vector<TKzScrollBarKind>{sbVertical, sbVertical}));
  EXPECT_TRUE(p.ViewHost.Status.Contains(scTopLine));
  // Rows map to buffer lines through the top line.
  EXPECT_EQ(p.View.PixelsToBuffer(32 + 8 * 2, 16 * 3 + 1), (TBufferCoord{3, 24}));

  // While the control holds a paint lock the bars wait for its release.
  const std::size_t bars = p.Window.Bars.size();
  p.ViewHost.Depth = 1;
  p.View.SetTopLine(5);
  EXPECT_TRUE(p.View.ScrollBarsPending());
  EXPECT_EQ(p.Window.Bars.size(), bars);
  p.ViewHost.Depth = 0;
  p.View.FlushPending();
  EXPECT_FALSE(p.View.ScrollBarsPending());
  ASSERT_EQ(p.Window.Bars.size(), bars + 1);
  EXPECT_EQ(p.Window.Bars.back().Pos, 5);
}

TEST(EditView, PaintsEachRowInTheColoursTheControlGivesIt) {
  TParts p;
  p.Doc.Lines().SetText("a\r\nb\r\nc");
  p.View.SizeOrFontChanged(false);
  kzp::TFixedCanvas canvas;
  p.View.Paint(canvas, {0, 0, p.Window.ClientWidth(), p.Window.ClientHeight()});
  EXPECT_EQ(p.ViewHost.SpecialAsked, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(p.View.PaintedRows(), 3);
  std::vector<kzp::TColor> backgrounds;
  for (const kzp::TCanvasCall &c : canvas.CallsOf(kzp::TCanvasOp::Text))
    if (c.X >= p.View.GutterWidth())
      backgrounds.push_back(c.Brush.Color);
  EXPECT_EQ(backgrounds, (std::vector<kzp::TColor>{kzp::clWindow, kzp::clYellow, kzp::clWindow}));
}

TEST(EditView, MarksTheStretchesTheControlNamesOnTheVisibleRowsOnly) {
  TParts p;
  std::string text = "\tab ab xy";
  for (int i = 2; i <= 40; ++i)
    text += "\r\nline";
  p.Doc.Lines().SetText(text);
  p.View.SizeOrFontChanged(false);
  p.View.SetMarkColor(kzp::clAqua);
  // Characters 5..6 and 8..9 (1-based, behind the tab); an empty mark and one that overlaps
  // the one before are dropped.
  p.ViewHost.MarksOfLine1 = {{5, 7}, {6, 8}, {8, 10}, {10, 10}};
  kzp::TFixedCanvas canvas;
  p.View.Paint(canvas, {0, 0, p.Window.ClientWidth(), p.Window.ClientHeight()});
  std::vector<int> visible;
  for (int line = 1; line <= p.View.PaintedRows(); ++line)
    visible.push_back(line);
  EXPECT_EQ(p.ViewHost.MarksAsked, visible);
  EXPECT_LT(p.View.PaintedRows(), 40);
  // The 40 columns in view are characters 1..33 of line 1 behind its tab, 1..40 elsewhere.
  ASSERT_GE(p.ViewHost.VisibleChars.size(), 2u);
  EXPECT_EQ(p.ViewHost.VisibleChars[0], (std::pair<int, int>{1, 33}));
  EXPECT_EQ(p.ViewHost.VisibleChars[1], (std::pair<int, int>{1, 40}));

  // The tab takes display columns 1..8, so "ab " starts at column 9 and the marks at 12 and 15.
  const int origin = p.View.GutterWidth() + 2;
  std::vector<std::tuple<int, std::string, kzp::TColor>> row1;
  for (const kzp::TCanvasCall &c : canvas.CallsOf(kzp::TCanvasOp::Text))
    if (c.X >= origin && c.Y == 0)
      row1.emplace_back((c.X - origin) / 8 + 1, c.Text, c.Brush.Color);
  EXPECT_EQ(row1, (std::vector<std::tuple<int, std::string, kzp::TColor>>{
                      {1, "        ab ", kzp::clWindow},
                      {12, "ab", kzp::clAqua},
                      {14, " ", kzp::clWindow},
                      {15, "xy", kzp::clAqua}}));
}
