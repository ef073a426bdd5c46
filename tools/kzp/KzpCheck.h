// The template commands of the kzp tool: `kzp check PACK [NAME]` and
// `kzp preview PACK NAME OUT.html`.
#pragma once

#include <string>
#include <vector>

// Findings on stdout as "NAME:LINE:COLUMN: text", the form compilers use; exit 1 when there
// is one, 0 when there is none.
int RunCheck(const std::vector<std::string> &args);
// The page the template makes with sample values, its pictures and style sheets put into it.
int RunPreview(const std::vector<std::string> &args);
