// Line-by-line scanning of fuzz input through a highlighter.
#include "FuzzHighlighter.h"

#include "FuzzTargets.h"

#include "highlight/KzEditHighlighter.h"
#include "platform/TextLines.h"

void FuzzHighlighterLines(TKzCustomHighlighter &highlighter, const std::uint8_t *data, std::size_t size)
{
    const std::vector<std::string> lines = kzp::SplitTextLines(FuzzBytes(data, size));
    TKzRange range = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        const int index = static_cast<int>(i);
        if (i == 0)
            highlighter.ClearRange();
        else
            highlighter.RestoreRange(range);
        highlighter.BeginLine(line, index);
        std::size_t expected = 0, tokens = 0;
        while (!highlighter.AtLineEnd()) {
            FuzzCheck(highlighter.TokenStart() == static_cast<int>(expected), "a token starts where the last ended");
            // An empty token is allowed (a value that ends with the line), an endless run of
            // them is not.
            const std::string text = highlighter.TokenText();
            FuzzCheck(line.compare(expected, text.size(), text) == 0, "a token's text is the line's text there");
            highlighter.TokenAttribute();
            highlighter.TokenKind();
            expected += text.size();
            FuzzCheck(++tokens <= 2 * line.size() + 4, "the scan of a line comes to its end");
            highlighter.Advance();
        }
        FuzzCheck(expected == line.size(), "the tokens cover the whole line");
        const TKzRange stepped = highlighter.CurrentRange();

        if (i == 0)
            highlighter.ClearRange();
        else
            highlighter.RestoreRange(range);
        highlighter.BeginLine(line, index);
        highlighter.RunToLineEnd();
        FuzzCheck(highlighter.CurrentRange() == stepped, "running to the line end leaves the range stepping leaves");
        range = stepped;
    }
}
