// Line-by-line scanning of fuzz input through a highlighter.
#include "FuzzHighlighter.h"

#include "FuzzTargets.h"

#include "highlight/KzEditHighlighter.h"
#include "platform/TextLines.h"

void FuzzHighlighterLines(TKzCustomHighlighter &stepper, TKzCustomHighlighter &runner,
                          const std::uint8_t *data, std::size_t size) {
  const std::vector<std::string> lines = kzp::SplitTextLines(FuzzBytes(data, size));
  stepper.ClearRange();
  runner.ClearRange();
  TKzRange range = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string &line = lines[i];
    const int index = static_cast<int>(i);
    if (i > 0) {
      stepper.RestoreRange(range);
      runner.RestoreRange(range);
    }
    stepper.BeginLine(line, index);
    std::size_t expected = 0, tokens = 0;
    while (!stepper.AtLineEnd()) {
      FuzzCheck(stepper.TokenStart() == static_cast<int>(expected),
                "a token starts where the last ended");
      // An empty token is allowed (a value that ends with the line), an endless run of
      // them is not.
      const std::string text = stepper.TokenText();
      FuzzCheck(line.compare(expected, text.size(), text) == 0,
                "a token's text is the line's text there");
      stepper.TokenAttribute();
      stepper.TokenKind();
      expected += text.size();
      FuzzCheck(++tokens <= 2 * line.size() + 4, "the scan of a line comes to its end");
      stepper.Advance();
    }
    FuzzCheck(expected == line.size(), "the tokens cover the whole line");
    range = stepper.CurrentRange();
    runner.BeginLine(line, index);
    runner.RunToLineEnd();
    FuzzCheck(runner.CurrentRange() == range,
              "running to the line end leaves the range stepping leaves");
  }
}
