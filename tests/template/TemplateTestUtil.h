// Helpers of the template tests: packs made of records, a small catalogue, token dumps.
#pragma once

#include "template/TemplateCatalogue.h"
#include "template/TemplateCheck.h"

#include <ostream>
#include <string>
#include <utility>
#include <vector>

// The records of a pack with these templates (name, text) and files (name, bytes).
std::vector<std::string>
PackRecords(const std::vector<std::pair<std::string, std::string>> &templates,
            const std::vector<std::pair<std::string, std::string>> &files = {},
            const std::string &folder = "ordner");

// A catalogue of a few names: variables app_name ("Tarvex Mail"), user_name ("jkrause"),
// msg_subject (three samples "A", "B", "C"), flag (no sample); loop messages; LANG001
// "Posteingang", LANG002 "Verfassen".
TTemplateCatalogue SmallCatalogue();

// "LINE:COLUMN: text" for each finding, the template left out.
std::vector<std::string> Where(const std::vector<TTplFinding> &findings);

inline void PrintTo(const TTplFinding &f, std::ostream *os) {
  *os << f.Template << ':' << f.Line << ':' << f.Column << ": " << f.Text;
}
