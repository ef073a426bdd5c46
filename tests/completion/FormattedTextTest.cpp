// Formatted item text: the chunks an entry parses into, its plain text, and where its pieces
// land on a canvas with fixed metrics (8 pixels a character, 9 in bold).
#include "completion/KzCompletionText.h"
#include "platform/FixedCanvas.h"

#include <gtest/gtest.h>

using namespace kzp;

namespace {

TFormatChunkList Parse(std::string_view text, TFormatChunkKinds strip = {}) {
  TFormatChunkList list;
  ParseFormattedText(text, list, strip);
  return list;
}

// The texts of a chunk list with the commands in brackets, e.g. "a|[color 255]|b".
std::string Dump(const TFormatChunkList &list) {
  std::string out;
  for (const TFormatChunk &c : list) {
    if (!out.empty())
      out += '|';
    switch (c.Kind) {
    case ckText: out += c.Text; break;
    case ckColor: out += "[color " + std::to_string(c.Data) + "]"; break;
    case ckStyle:
      out += std::string("[style ") +
             (c.StyleChange.Action > 0   ? '+'
              : c.StyleChange.Action < 0 ? '-'
                                         : '~') +
             c.StyleChange.Style + "]";
      break;
    case ckColumn: out += "[column]"; break;
    case ckHSpace: out += "[hspace " + std::to_string(c.Data) + "]"; break;
    case ckImage: out += "[image " + std::to_string(c.Data) + "]"; break;
    }
  }
  return out;
}

class FormattedCanvas : public ::testing::Test {
protected:
  void SetUp() override {
    TFixedMetrics bold;
    bold.CharWidth = 9;
    for (int style = 0; style < 16; ++style)
      if (style & fsBold)
        Canvas.PerStyle[style] = bold;
    TFont f;
    f.Name = "MS Sans Serif";
    f.Color = clWindowText;
    Canvas.SetFont(f);
  }
  std::vector<TCanvasCall> Texts() const { return Canvas.CallsOf(TCanvasOp::Text); }
  TFixedCanvas Canvas;
};

} // namespace

TEST(FormattedTextParse, CommandsBecomeChunksAndEveryCommandEndsTheTextBeforeIt) {
  EXPECT_EQ(Dump(Parse("\\style{+B}Name\\style{-b}\\column{}Rest")),
            "[style +B]|Name|[style -B]|[column]|Rest");
  EXPECT_EQ(Dump(Parse("a\\COLOR{clRed}b\\Color{$00FF00}c\\color{-1}")),
            "a|[color 255]|b|[color 65280]|c|[color 4294967295]");
  EXPECT_EQ(Dump(Parse("\\hspace{-12}\\image{3}\\style{~u}")), "[hspace -12]|[image 3]|[style ~U]");
  // Rejected arguments drop the command, but the text before it is still its own chunk.
  EXPECT_EQ(Dump(Parse("x\\color{}y\\color{notacolour}z")), "x|y|z");
  EXPECT_EQ(Dump(Parse("x\\column{1}y\\hspace{1.5}z\\image{}w\\unknown{}v")), "x|y|z|w|v");
  EXPECT_EQ(Dump(Parse("\\style{+X}a\\style{B}b\\style{+Bx}c\\style{*B}d")), "a|b|c|d");
  // A doubled backslash is one backslash inside the same chunk.
  EXPECT_EQ(Dump(Parse("a\\\\b")), "a\\b");
  EXPECT_EQ(Dump(Parse("a\\\\\\color{clRed}b")), "a\\|[color 255]|b");
  // Unfinished commands take the rest of the entry with them.
  EXPECT_EQ(Dump(Parse("abc\\")), "abc");
  EXPECT_EQ(Dump(Parse("ab\\hspace{5")), "ab");
  EXPECT_EQ(Dump(Parse("ab\\color")), "ab");
  EXPECT_EQ(Dump(Parse("ab\\color x {clRed}c")), "ab|c"); // the name is taken as it stands
  EXPECT_EQ(Parse("").Count(), 0);
}

TEST(FormattedTextParse, StripSetsLeaveOutTheirKindsOnly) {
  EXPECT_EQ(Dump(Parse("a\\color{clRed}b\\style{+B}c", {ckColor})), "a|b|[style +B]|c");
  EXPECT_EQ(Dump(Parse("a\\color{clRed}b\\column{}c", AllFormatCommands)), "a|b|c");
  EXPECT_EQ(AllFormatCommands.Bits(), 62u);
}

TEST(FormattedTextParse, ColourIdentifiersAndIntegers) {
  EXPECT_EQ(ColorOfIdent("clred"), clRed);
  EXPECT_EQ(ColorOfIdent("CLMONEYGREEN"), 0xC0DCC0u);
  EXPECT_EQ(ColorOfIdent("clNone"), clNone);
  EXPECT_EQ(ColorOfIdent("clDefault"), clDefault);
  EXPECT_EQ(ColorOfIdent("clWindowText"), clWindowText);
  EXPECT_EQ(ColorOfIdent("clHotLight"), 0xFF00001Au);
  EXPECT_EQ(ColorOfIdent("clMenuBar"), 0xFF00001Eu);
  EXPECT_FALSE(ColorOfIdent("clRedish"));
  EXPECT_FALSE(ColorOfIdent(""));

  EXPECT_EQ(ParseCommandInteger("42"), 42);
  EXPECT_EQ(ParseCommandInteger("-7"), -7);
  EXPECT_EQ(ParseCommandInteger("+7"), 7);
  EXPECT_EQ(ParseCommandInteger("$ff"), 255);
  EXPECT_EQ(ParseCommandInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseCommandInteger("-2147483648"), INT_MIN);
  EXPECT_FALSE(ParseCommandInteger("2147483648"));
  EXPECT_FALSE(ParseCommandInteger("$100000000"));
  EXPECT_FALSE(ParseCommandInteger("$"));
  EXPECT_FALSE(ParseCommandInteger("-"));
  EXPECT_FALSE(ParseCommandInteger("12a"));
  EXPECT_FALSE(ParseCommandInteger(" 1"));
}

TEST(FormattedTextParse, PlainTextKeepsOnlyTheText) {
  EXPECT_EQ(PlainTextOf("\\style{+B}Name\\style{-B}\\column{}Rest"), "NameRest");
  EXPECT_EQ(PlainTextOf("a\\\\b\\hspace{3}c\\"), "a\\bc");
  EXPECT_EQ(PlainTextOf("\\color{clGray}Block\\column{}\\color{clGreen}IF:\\style{-B} Bedingung"),
            "BlockIF: Bedingung");
  EXPECT_EQ(PlainTextOf(""), "");
  std::string reused = "old";
  PlainTextInto("x\\color{clRed}y", reused);
  EXPECT_EQ(reused, "xy");
}

TEST_F(FormattedCanvas, ColumnsStartAtTheirWidthsAndCarryTheirStyles) {
  TProposalColumns columns;
  columns.Add().BiggestWord = "LANG123";
  TProposalColumn &second = columns.Add();
  second.BiggestWord = "CONSTRUCTOR";
  second.DefaultFontStyle = fsBold;
  const TRect rect{10, 4, 1000, 20};
  DrawFormattedText(Canvas, rect, "a\\column{}b\\column{}c\\column{}d", false, &columns, nullptr);
  std::vector<TCanvasCall> t = Texts();
  ASSERT_EQ(t.size(), 4u);
  // "LANG123 " is 8 characters of 8 pixels; "CONSTRUCTOR " is 12 of 9 in bold.
  EXPECT_EQ(t[0].Text, "a");
  EXPECT_EQ(t[0].X, 10);
  EXPECT_EQ(t[0].Font.Style, 0);
  EXPECT_EQ(t[1].Text, "b");
  EXPECT_EQ(t[1].X, 10 + 64);
  EXPECT_EQ(t[1].Font.Style, fsBold);
  EXPECT_EQ(t[2].Text, "c");
  EXPECT_EQ(t[2].X, 10 + 64 + 108);
  EXPECT_EQ(t[2].Font.Style, fsBold);
  // The third column command finds no column left: d follows c directly.
  EXPECT_EQ(t[3].Text, "d");
  EXPECT_EQ(t[3].X, 10 + 64 + 108 + 9);
  for (const TCanvasCall &c : t) {
    EXPECT_EQ(c.Y, 4);
    EXPECT_EQ(c.Brush.Style, TBrushStyle::bsClear); // text without background
  }
  // The caller's font and a solid brush come back.
  EXPECT_EQ(Canvas.Font().Style, 0);
  EXPECT_EQ(Canvas.Brush().Style, TBrushStyle::bsSolid);
}

TEST_F(FormattedCanvas, StylesColoursAndGaps) {
  DrawFormattedText(Canvas, {0, 0, 500, 16}, "\\style{+b}x\\style{~B}y\\style{~b}z\\style{-B}w",
                    false, nullptr, nullptr);
  std::vector<TCanvasCall> t = Texts();
  ASSERT_EQ(t.size(), 4u);
  EXPECT_EQ(t[0].Font.Style, fsBold);
  EXPECT_EQ(t[1].Font.Style, 0);
  EXPECT_EQ(t[1].X, 9);
  EXPECT_EQ(t[2].Font.Style, fsBold);
  EXPECT_EQ(t[3].Font.Style, 0);
  EXPECT_EQ(t[3].X, 9 + 8 + 9);

  Canvas.ClearCalls();
  DrawFormattedText(Canvas, {0, 0, 500, 16}, "\\style{+I}\\style{+U}\\style{+S}i", false, nullptr,
                    nullptr);
  EXPECT_EQ(Texts().at(0).Font.Style, fsItalic | fsUnderline | fsStrikeOut);

  // An unselected row shows colours; a selected one keeps the colour its caller set.
  Canvas.ClearCalls();
  Canvas.SetFontColor(clHighlightText);
  DrawFormattedText(Canvas, {0, 0, 500, 16}, "\\color{$0000FF}r\\color{clBlue}b", false, nullptr,
                    nullptr);
  ASSERT_EQ(Texts().size(), 2u);
  EXPECT_EQ(Texts()[0].Font.Color, clRed);
  EXPECT_EQ(Texts()[1].Font.Color, clBlue);
  EXPECT_EQ(Canvas.Font().Color, clHighlightText);
  Canvas.ClearCalls();
  DrawFormattedText(Canvas, {0, 0, 500, 16}, "\\color{clRed}r", true, nullptr, nullptr);
  EXPECT_EQ(Texts().at(0).Font.Color, clHighlightText);

  Canvas.ClearCalls();
  DrawFormattedText(Canvas, {5, 0, 500, 16}, "a\\hspace{20}b\\hspace{-30}c", false, nullptr,
                    nullptr);
  ASSERT_EQ(Texts().size(), 3u);
  EXPECT_EQ(Texts()[1].X, 5 + 8 + 20);
  EXPECT_EQ(Texts()[2].X, 5 + 8 + 20 + 8 - 30);
}

TEST_F(FormattedCanvas, TheWalkStopsAfterThePieceThatCrossesTheRightEdge) {
  // "abc" ends at 24, past the edge at 20: it is drawn whole, and nothing after it is applied.
  const TFormatChunkList chunks = Parse("abc\\style{+B}def");
  EXPECT_EQ(RenderChunks(Canvas, {0, 0, 20, 16}, chunks, nullptr, nullptr, false), 24);
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(Texts()[0].Text, "abc");
  // A gap that passes the edge ends the walk too.
  EXPECT_EQ(RenderChunks(Canvas, {0, 0, 20, 16}, Parse("a\\hspace{100}b"), nullptr, nullptr, true),
            108);
  // Exactly at the edge goes on.
  EXPECT_EQ(RenderChunks(Canvas, {0, 0, 16, 16}, Parse("ab\\hspace{0}c"), nullptr, nullptr, true),
            24);
}

TEST_F(FormattedCanvas, MeasuringDrawsNothingAndCountsStylesButNotColours) {
  EXPECT_EQ(MeasureFormattedText(Canvas, "", nullptr, nullptr), 0);
  EXPECT_EQ(MeasureFormattedText(Canvas, "\\color{clRed}ab", nullptr, nullptr), 16);
  EXPECT_EQ(MeasureFormattedText(Canvas, "\\style{+B}ab", nullptr, nullptr), 18);
  EXPECT_EQ(MeasureFormattedText(Canvas, "a\\hspace{2147483647}b", nullptr, nullptr), INT_MAX);
  EXPECT_TRUE(Canvas.Calls.empty());
  TProposalColumns columns;
  columns.Add().BiggestWord = "LANG123";
  EXPECT_EQ(MeasureFormattedText(Canvas, "x\\column{}yy", &columns, nullptr), 64 + 16);
  // Without an image list an image takes no room and draws nothing.
  EXPECT_EQ(MeasureFormattedText(Canvas, "a\\image{0}b", nullptr, nullptr), 16);
}

TEST_F(FormattedCanvas, ImagesComeFromTheHostsList) {
  struct TImages : TKzImageList {
    std::vector<std::pair<int, int>> Drawn; // x, index
    int Width() const override { return 12; }
    int Count() const override { return 2; }
    void Draw(TCanvas &, int x, int, int index, bool) override { Drawn.emplace_back(x, index); }
  } images;
  DrawFormattedText(Canvas, {0, 0, 500, 16}, "a\\image{1}b\\image{7}c", false, nullptr, &images);
  ASSERT_EQ(images.Drawn.size(), 1u); // index 7 does not exist, but still takes its room
  EXPECT_EQ(images.Drawn[0], std::make_pair(8, 1));
  ASSERT_EQ(Texts().size(), 3u);
  EXPECT_EQ(Texts()[2].X, 8 + 12 + 8 + 12);
}

TEST(FormattedTextParameters, CommaTextAndTheBoldParameter) {
  EXPECT_EQ(BoldParameterList("a, b,c", 1), "a \\style{~B}b\\style{~B} c");
  EXPECT_EQ(BoldParameterList("a, b,c", 0), "\\style{~B}a\\style{~B} b c");
  EXPECT_EQ(BoldParameterList("a, b,c", 3), "a b c");
  EXPECT_EQ(BoldParameterList("a, b,c", -1), "a b c");
  EXPECT_EQ(SplitCommaText("  x  y,\"one, two\" ,\"say \"\"hi\"\"\""),
            (std::vector<std::string>{"x", "y", "one, two", "say \"hi\""}));
  EXPECT_EQ(SplitCommaText("a,,b,"), (std::vector<std::string>{"a", "", "b", ""}));
  EXPECT_EQ(SplitCommaText("\"open"), (std::vector<std::string>{"open"}));
  EXPECT_TRUE(SplitCommaText(" \t ").empty());
}
