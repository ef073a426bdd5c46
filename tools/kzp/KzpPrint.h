// The print command of the kzp tool: `kzp print PACK NAME OUT.pdf`.
#pragma once

#include <string>
#include <vector>

// args are the words after "print". Prints the template as the studio's "Drucken" would after
// opening it, into a PDF file. Returns the process exit code (0, 1 or 2).
int RunPrint(const std::vector<std::string> &args);
