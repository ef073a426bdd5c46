// The two completion lists: shown item lines in formatted item text with two columns, and on
// the same line of the second list the text that is inserted.
#include "DataFiles.h"

#include "pack/PackStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

using namespace kzdata;

namespace {

const char *const kColourNames[] = {
    "clBlack", "clMaroon",  "clGreen",      "clOlive",    "clNavy",         "clPurple",
    "clTeal",  "clGray",    "clSilver",     "clRed",      "clLime",         "clYellow",
    "clBlue",  "clFuchsia", "clAqua",       "clWhite",    "clMoneyGreen",   "clSkyBlue",
    "clCream", "clMedGray", "clWindowText", "clGrayText", "clHighlightText"};

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return std::toupper(c); });
  return text;
}

// Checks one item line against the formatting commands the list understands and returns the
// text that is left once the commands are removed; appends every problem to `problems`.
std::string PlainTextChecked(const std::string &line, int &columns,
                             std::vector<std::string> &problems) {
  std::string plain;
  columns = 0;
  for (std::size_t i = 0; i < line.size();) {
    if (line[i] != '\\') {
      plain += line[i++];
      continue;
    }
    const std::size_t open = line.find('{', i);
    const std::size_t close = open == std::string::npos ? open : line.find('}', open);
    if (close == std::string::npos) {
      problems.push_back("command without braces at " + std::to_string(i));
      break;
    }
    const std::string name = Upper(line.substr(i + 1, open - i - 1));
    const std::string arg = line.substr(open + 1, close - open - 1);
    if (name == "COLUMN") {
      if (!arg.empty())
        problems.push_back("column with an argument");
      ++columns;
    } else if (name == "STYLE") {
      if (arg.size() != 2 || std::string("+-~").find(arg[0]) == std::string::npos ||
          std::string("BISUbisu").find(arg[1]) == std::string::npos)
        problems.push_back("bad style " + arg);
    } else if (name == "COLOR") {
      const bool known = std::any_of(std::begin(kColourNames), std::end(kColourNames),
                                     [&](const char *c) { return Upper(c) == Upper(arg); });
      if (!known)
        problems.push_back("unknown colour " + arg);
    } else {
      problems.push_back("unknown command " + name);
    }
    i = close + 1;
  }
  return plain;
}

} // namespace

TEST(CompletionLists, HaveOneInsertTextForEveryItemLine) {
  const std::vector<std::string> items = ReadLines(BinPath("varLib01.db"));
  const std::vector<std::string> inserts = ReadLines(BinPath("varLib02.db"));
  ASSERT_EQ(items.size(), inserts.size());
  const auto variables = std::count_if(inserts.begin(), inserts.end(), [](const std::string &s) {
    return s.size() > 4 && s.rfind("%%", 0) == 0 && s.compare(s.size() - 2, 2, "%%") == 0 &&
           s.find(':') == std::string::npos && s.rfind("%%LANG", 0) != 0;
  });
  EXPECT_GE(variables, 60);
  std::set<std::string> seen;
  for (std::size_t i = 0; i < inserts.size(); ++i) {
    SCOPED_TRACE("line " + std::to_string(i + 1) + ": " + inserts[i]);
    // The list opens on the typed "%%" and offers the entries whose insert text begins with
    // what was typed, so an entry without the lead could never be offered.
    EXPECT_EQ(inserts[i].rfind("%%", 0), 0u);
    EXPECT_EQ(inserts[i].find_first_of("\r\t "), std::string::npos);
    EXPECT_TRUE(seen.insert(inserts[i]).second) << "offered twice";
  }
}

TEST(CompletionLists, ItemLinesUseTwoColumnsAndOnlyKnownCommands) {
  const std::vector<std::string> items = ReadLines(BinPath("varLib01.db"));
  ASSERT_FALSE(items.empty());
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE("line " + std::to_string(i + 1) + ": " + items[i]);
    std::vector<std::string> problems;
    int columns = 0;
    const std::string plain = PlainTextChecked(items[i], columns, problems);
    EXPECT_EQ(problems, std::vector<std::string>());
    // One column stop: group or language number first, the name in the bold second column.
    EXPECT_EQ(columns, 1);
    EXPECT_EQ(items[i].find("\\\\"), std::string::npos);
    EXPECT_EQ(items[i].find('\r'), std::string::npos);
    EXPECT_FALSE(plain.empty());
  }
}

TEST(CompletionLists, AreWindowsTextNotUtf8) {
  // The lists are read as 8-bit text in the Windows code page; a file saved as UTF-8 would
  // show every umlaut as two wrong letters.
  const std::string bytes = ReadBytes(BinPath("varLib01.db"));
  std::size_t umlauts = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c == 0xC3 && i + 1 < bytes.size() &&
        (static_cast<unsigned char>(bytes[i + 1]) & 0xC0) == 0x80)
      ADD_FAILURE() << "UTF-8 sequence at byte " << i;
    if (c == 0xE4 || c == 0xF6 || c == 0xFC || c == 0xDF)
      ++umlauts;
  }
  EXPECT_GT(umlauts, 10u);
}

TEST(CompletionLists, OfferEveryPlaceholderOfTheStandardTemplates) {
  std::set<std::string> offered;
  for (const std::string &insert : ReadLines(BinPath("varLib02.db")))
    offered.insert(insert);
  TPackStore store;
  const TPackContents contents = store.LoadPack(BinPath("stdtpl.db"));
  for (const std::string &name : contents.Templates) {
    for (const std::string &placeholder : PlaceholdersOf(store.GetTemplate(name))) {
      // A condition is offered as its lead "%%IF:" followed by the variable it tests.
      if (placeholder.rfind("IF:", 0) == 0) {
        EXPECT_TRUE(offered.count("%%" + placeholder.substr(3) + "%%"))
            << name << ": " << placeholder;
        continue;
      }
      EXPECT_TRUE(offered.count("%%" + placeholder + "%%")) << name << ": " << placeholder;
    }
  }
  EXPECT_TRUE(offered.count("%%IF:"));
}
