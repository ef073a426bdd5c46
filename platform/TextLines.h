// The lines of a text file as the program's list files and token dumps read them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kzp {

// A line ends at CR LF, LF or a lone CR; empty lines are kept, and a break after the last
// line adds no empty line. Bytes pass unchanged, NUL included.
std::vector<std::string> SplitTextLines(std::string_view bytes);

} // namespace kzp
