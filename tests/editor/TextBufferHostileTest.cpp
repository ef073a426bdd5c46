// The text buffer under large and hostile input: every byte value, a 200,000-line document,
// a one-megabyte line, and random line edits checked against a plain vector of strings.
#include "editor/KzEditMiscProcs.h"
#include "editor/KzEditTextBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The lines a text splits into when CR LF, lone CR and lone LF each end one line and a final
// break makes no empty last line.
std::vector<std::string> SplitReference(const std::string &data) {
  std::vector<std::string> lines;
  std::string cur;
  for (std::size_t i = 0; i < data.size(); ++i) {
    const char c = data[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(cur);
      cur.clear();
      if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n')
        ++i;
    } else {
      cur += c;
    }
  }
  if (!cur.empty())
    lines.push_back(cur);
  return lines;
}

int ExpandedReference(const std::string &line, int tabWidth) {
  int col = 0;
  for (char c : line)
    col += c == '\t' && tabWidth > 1 ? tabWidth - col % tabWidth : 1;
  return col;
}

void ExpectSameLines(const TKzEditStringList &list, const std::vector<std::string> &want) {
  ASSERT_EQ(list.Count(), static_cast<int>(want.size()));
  for (int i = 0; i < list.Count(); ++i)
    ASSERT_EQ(list.GetLine(i), want[static_cast<std::size_t>(i)]) << "line " << i;
}

} // namespace

TEST(TextBufferHostile, EveryByteValueSplitsOnlyAtBreaks) {
  std::string data;
  for (int round = 0; round < 3; ++round)
    for (int b = 1; b < 256; ++b)
      data += static_cast<char>(b);
  const std::vector<std::string> want = SplitReference(data);

  TKzEditStringList read;
  read.ReadBytes(data);
  ExpectSameLines(read, want);
  EXPECT_EQ(read.LineBreakStyle(), TKzLineBreakStyle::CrLf); // both kinds seen

  TKzEditStringList set;
  set.SetText(data);
  ExpectSameLines(set, want);
  // Written back with CR LF breaks, the lines read again are the same lines.
  std::ostringstream out;
  set.WriteStream(out);
  TKzEditStringList again;
  again.ReadBytes(out.str());
  ExpectSameLines(again, want);

  // A NUL ends the text that SetText takes, but reading keeps it as a byte of the line.
  const std::string withNul = std::string("ab\0cd\r\nef", 9);
  set.SetText(withNul);
  ExpectSameLines(set, {"ab"});
  read.ReadBytes(withNul);
  ExpectSameLines(read, {std::string("ab\0cd", 5), "ef"});

  for (int tabWidth : {1, 3, 8}) {
    read.SetTabWidth(tabWidth);
    for (int i = 0; i < read.Count(); ++i)
      EXPECT_EQ(read.ExpandedLength(i), ExpandedReference(read.GetLine(i), tabWidth));
  }
}

TEST(TextBufferHostile, LargeDocumentAndMegabyteLine) {
  std::string data;
  for (int i = 0; i < 200000; ++i)
    data += "line " + std::to_string(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
  TKzEditStringList list;
  list.ReadBytes(data);
  ASSERT_EQ(list.Count(), 200000);
  EXPECT_EQ(list.GetLine(199999), "line 199999");
  EXPECT_EQ(list.LongestLineLength(), 11);

  // One line of a megabyte, half of it tabs.
  std::string huge;
  for (int i = 0; i < (1 << 20); ++i)
    huge += i % 2 ? '\t' : 'x';
  list.ReplaceLine(100000, huge);
  list.SetTabWidth(4);
  EXPECT_EQ(list.ExpandedLength(100000), (1 << 20) / 2 * 4);
  EXPECT_EQ(list.LongestLineLength(), (1 << 20) / 2 * 4);
  EXPECT_EQ(static_cast<int>(list.ExpandedLine(100000).size()), (1 << 20) / 2 * 4);
  list.DeleteLine(100000);
  EXPECT_EQ(list.LongestLineLength(), 11);
  EXPECT_EQ(list.GetLine(100000), "line 100001");
}

TEST(TextBufferHostile, RandomEditsMatchAPlainVector) {
  std::mt19937 rng(20261208);
  auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  auto randomLine = [&] {
    std::string s(static_cast<std::size_t>(pick(40)), ' ');
    for (char &c : s)
      c = static_cast<char>(pick(5) == 0 ? '\t' : 'a' + pick(26));
    return s;
  };
  TKzEditStringList list;
  int tabWidth = 3;
  list.SetTabWidth(tabWidth);
  std::vector<std::string> model;
  for (int step = 0; step < 20000; ++step) {
    const int n = static_cast<int>(model.size());
    switch (pick(8)) {
    case 0: {
      const int at = pick(n + 1);
      const std::string s = randomLine();
      list.InsertLine(at, s);
      model.insert(model.begin() + at, s);
      break;
    }
    case 1:
      if (n > 0) {
        const int at = pick(n);
        list.DeleteLine(at);
        model.erase(model.begin() + at);
      }
      break;
    case 2: {
      const int at = pick(n + 1);
      const std::string s = randomLine();
      list.ReplaceLine(at, s);
      if (at == n)
        model.push_back(s);
      else
        model[static_cast<std::size_t>(at)] = s;
      break;
    }
    case 3:
      if (n > 1) {
        const int i = pick(n), j = pick(n);
        list.ExchangeLines(i, j);
        std::swap(model[static_cast<std::size_t>(i)], model[static_cast<std::size_t>(j)]);
      }
      break;
    case 4: {
      const int at = pick(n + 1), count = pick(4);
      list.DeleteLines(at, count);
      const int gone = std::min(count, n - at);
      model.erase(model.begin() + at, model.begin() + at + gone);
      break;
    }
    case 5: {
      const int at = pick(n + 1), count = pick(3);
      list.InsertEmptyLines(at, count);
      model.insert(model.begin() + at, static_cast<std::size_t>(count), std::string());
      break;
    }
    case 6:
      if (pick(20) == 0) {
        tabWidth = tabWidth == 3 ? 4 : 3;
        list.SetTabWidth(tabWidth);
      } else if (n > 0) {
        // Shorten a line, which may be the longest one.
        const int at = pick(n);
        std::string &line = model[static_cast<std::size_t>(at)];
        line = line.substr(0, line.size() / 2);
        list.ReplaceLine(at, line);
      }
      break;
    default:
      // Out-of-range indices are refused and change nothing.
      EXPECT_THROW(list.DeleteLine(n), EKzEditStringList);
      EXPECT_THROW(list.InsertLine(n + 1, "x"), EKzEditStringList);
      EXPECT_EQ(list.GetLine(n), "");
      break;
    }
    // The longest line after every edit for a while, then now and then.
    if (step < 4000 || step % 97 == 0) {
      int longest = 0;
      for (const std::string &s : model)
        longest = std::max(longest, ExpandedReference(s, tabWidth));
      ASSERT_EQ(list.LongestLineLength(), longest) << "after step " << step;
    }
  }
  ExpectSameLines(list, model);
  for (int i = 0; i < list.Count(); ++i)
    ASSERT_EQ(list.ExpandedLength(i),
              ExpandedReference(model[static_cast<std::size_t>(i)], tabWidth));
}

// Nine megabytes of tabs at the widest stop are more cells than an int counts: lengths stop at
// the largest width a line reports, column conversions stay within half the int range.
TEST(TextBufferHostile, ColumnsOfAnOverlongTabLineSaturate) {
  const std::string tabs(9 << 20, '\t');
  EXPECT_EQ(GetExpandedLength(tabs, 256), KzMaxExpandedCells);
  EXPECT_EQ(GetExpandedLength(tabs, 1), 9 << 20);
  EXPECT_EQ(BufferToDisplayColumn(tabs, (9 << 20) + 1, 256), INT_MAX / 2);
  EXPECT_EQ(BufferToDisplayColumn(tabs, 3, 256), 513);
  EXPECT_EQ(DisplayToBufferColumn(tabs, INT_MAX / 2, 256), (INT_MAX / 2 - 1) / 256 + 1);
  EXPECT_EQ(DisplayToBufferColumn(tabs, 513, 256), 3);
  TKzEditStringList list;
  list.SetTabWidth(256);
  list.AddLine(tabs);
  EXPECT_EQ(list.ExpandedLength(0), KzMaxExpandedCells);
  EXPECT_EQ(list.LongestLineLength(), KzMaxExpandedCells);
}
