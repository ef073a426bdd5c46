// The token splitter every reader of the pack format uses: runs of the separator collapse,
// so empty tokens vanish (except one at the end after a run of two or more separators).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Returns the next token of `text` from the 1-based `position` and advances `position` past
// the separator that ended it (or past the end of the text).
std::string NextToken(const std::string &text, char separator, std::size_t &position);

// Appends every token of `text` to `list`; the caller clears `list` first when needed.
void SplitString(const std::string &text, char separator, std::vector<std::string> &list);

// The fields of `text` between separators, exactly: nothing collapses, so n separators give
// n + 1 fields and the empty text one empty field. For formats whose fields may be empty.
std::vector<std::string> SplitExact(const std::string &text, char separator);
