// A plain-text dump of a document's token stream, for the kzp tool and the golden-file tests.
#pragma once

#include <string>
#include <vector>

class TKzCustomHighlighter;

// Splits bytes into lines as the text buffer reads a file: CR LF, LF or CR end a line, and a
// break at the very end adds no further line (so "" gives no lines at all).
std::vector<std::string> KzSplitLines(const std::string &bytes);

// Token text made printable: backslash, TAB, CR and LF as \\, \t, \r, \n, every other byte
// below 32 or above 126 as \xHH (two upper-case hex digits).
std::string KzEscapeTokenText(const std::string &text);

// Scans the lines as the editor does (range cleared before line 0, carried from each line's
// end to the next line's start) and writes, per line i, one "i<TAB>start<TAB>kind<TAB>text"
// line per token before the line end, then "i<TAB>end<TAB>range".
std::string KzDumpTokens(TKzCustomHighlighter &highlighter, const std::vector<std::string> &lines);
