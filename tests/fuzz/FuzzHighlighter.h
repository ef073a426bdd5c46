// The shared check of the HTML and CSS fuzz targets.
#pragma once

#include <cstddef>
#include <cstdint>

class TKzCustomHighlighter;

// Scans the input's lines as the editor does, the range carried from line to line, and
// checks that the tokens of each line follow each other without gap or overlap to its end
// (and get there),
// and that running to the line end at once leaves the same range as stepping.
void FuzzHighlighterLines(TKzCustomHighlighter &highlighter, const std::uint8_t *data, std::size_t size);
