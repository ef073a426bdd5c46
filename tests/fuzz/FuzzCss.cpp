// Fuzz target css_lines: the CSS highlighter over any text, line by line.
#include "FuzzHighlighter.h"
#include "FuzzTargets.h"

#include "highlight/KzHighlighterCSS.h"

KZ_FUZZ_TARGET(css_lines)(const std::uint8_t *data, std::size_t size) {
  TKzCssHighlighter stepper, runner;
  FuzzHighlighterLines(stepper, runner, data, size);
}
