// Fuzz target html_lines: the HTML highlighter over any text, line by line.
#include "FuzzHighlighter.h"
#include "FuzzTargets.h"

#include "highlight/KzHighlighterHtml.h"

KZ_FUZZ_TARGET(html_lines)(const std::uint8_t *data, std::size_t size) {
  TKzHTMLHighlighter stepper, runner;
  FuzzHighlighterLines(stepper, runner, data, size);
}
