// The token dump of the kzp tool: `kzp tokens html|css FILE`.
#pragma once

#include <string>
#include <vector>

// args are the words after "tokens". Returns the process exit code (0, 1 or 2).
int RunTokens(const std::vector<std::string> &args);
