// The shared check of the HTML and CSS fuzz targets.
#pragma once

#include <cstddef>
#include <cstdint>

class TKzCustomHighlighter;

// Scans the input's lines as the editor does, the range carried from line to line, and
// checks that the tokens of each line follow each other without gap or overlap to its end
// (and get there). `runner`, a second instance of the same kind, scans the same lines by
// running to each line end at once and must end every line with the same range. Two
// instances, since a highlighter may keep state besides the range (the CSS highlighter's
// SavedRange), so scanning a line twice on one instance need not repeat itself.
void FuzzHighlighterLines(TKzCustomHighlighter &stepper, TKzCustomHighlighter &runner,
                          const std::uint8_t *data, std::size_t size);
