// Golden token dumps of the example documents; a mismatch leaves a .new file beside the
// expected one (scripts/promote-golden accepts it after a look).
#include "highlight/KzHighlighterTokenDump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "highlight/KzHighlighterCSS.h"
#include "highlight/KzHighlighterHtml.h"

namespace fs = std::filesystem;

namespace {

const fs::path ExamplesDir = fs::path(KZ_TEST_SOURCE_DIR) / "examples";

std::string ReadFile(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::unique_ptr<TKzCustomHighlighter> HighlighterFor(const fs::path &file) {
  if (file.extension() == ".css")
    return std::make_unique<TKzCssHighlighter>();
  return std::make_unique<TKzHTMLHighlighter>();
}

std::vector<fs::path> Examples() {
  std::vector<fs::path> files;
  for (const auto &entry : fs::directory_iterator(ExamplesDir)) {
    const auto ext = entry.path().extension();
    if (ext == ".html" || ext == ".htm" || ext == ".css")
      files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Every line break turned into `brk`.
std::string WithBreaks(const std::vector<std::string> &lines, const std::string &brk) {
  std::string text;
  for (const auto &l : lines)
    text += l + brk;
  return text;
}

TEST(GoldenTokens, ExamplesMatchTheirExpectedDumps) {
  const auto files = Examples();
  ASSERT_GE(files.size(), 5u);
  for (const fs::path &file : files) {
    const auto lines = KzSplitLines(ReadFile(file));
    const std::string dump = KzDumpTokens(*HighlighterFor(file), lines);
    const fs::path golden = file.string() + ".tokens";
    const fs::path fresh = golden.string() + ".new";
    if (!fs::exists(golden) || ReadFile(golden) != dump) {
      std::ofstream(fresh, std::ios::binary) << dump;
      ADD_FAILURE() << file.filename() << " differs from its golden dump; see " << fresh;
    } else {
      fs::remove(fresh);
    }
  }
}

TEST(GoldenTokens, LineBreakStyleDoesNotChangeTheTokens) {
  for (const fs::path &file : Examples()) {
    const auto lines = KzSplitLines(ReadFile(file));
    const std::string dump = KzDumpTokens(*HighlighterFor(file), lines);
    for (const char *brk : {"\n", "\r\n", "\r"}) {
      EXPECT_EQ(KzDumpTokens(*HighlighterFor(file), KzSplitLines(WithBreaks(lines, brk))), dump)
          << file.filename() << " with breaks "
          << (brk[0] == '\n' ? "LF"
              : brk[1]       ? "CR LF"
                             : "CR");
    }
  }
}

TEST(GoldenTokens, HtmlLinesRescannedAloneMatchTheWholeDocumentScan) {
  // What the editor relies on: a line scanned from its stored start range, by an instance
  // that saw nothing else, gives the tokens of the whole-document scan.
  for (const fs::path &file : Examples()) {
    if (file.extension() == ".css")
      continue;
    const auto lines = KzSplitLines(ReadFile(file));
    TKzHTMLHighlighter whole;
    whole.ClearRange();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const TKzRange start = whole.CurrentRange();
      std::vector<std::pair<int, std::string>> expected;
      whole.BeginLine(lines[i], static_cast<int>(i));
      for (; !whole.AtLineEnd(); whole.Advance())
        expected.emplace_back(whole.TokenKind(), whole.TokenText());
      TKzHTMLHighlighter alone;
      alone.RestoreRange(start);
      std::vector<std::pair<int, std::string>> actual;
      alone.BeginLine(lines[i], static_cast<int>(i));
      for (; !alone.AtLineEnd(); alone.Advance())
        actual.emplace_back(alone.TokenKind(), alone.TokenText());
      ASSERT_EQ(actual, expected) << file.filename() << " line " << i;
      ASSERT_EQ(alone.CurrentRange(), whole.CurrentRange()) << file.filename() << " line " << i;
    }
  }
}

std::string RunKzp(const std::string &arguments, int &exitCode) {
  const std::string command = std::string(KZ_BIN_DIR) + "/kzp " + arguments + " 2>/dev/null";
  FILE *pipe = popen(command.c_str(), "r");
  std::string out;
  if (!pipe) {
    exitCode = -1;
    return out;
  }
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    out.append(buffer, n);
  const int status = pclose(pipe);
  exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return out;
}

TEST(GoldenTokens, KzpTokensPrintsTheSameDumps) {
  if (!fs::exists(fs::path(KZ_BIN_DIR) / "kzp"))
    GTEST_SKIP() << "kzp is not built in " << KZ_BIN_DIR;
  for (const fs::path &file : Examples()) {
    int code = 0;
    const std::string kind = file.extension() == ".css" ? "css" : "html";
    const std::string out = RunKzp("tokens " + kind + " '" + file.string() + "'", code);
    EXPECT_EQ(code, 0) << file.filename();
    EXPECT_EQ(out, ReadFile(file.string() + ".tokens")) << file.filename();
  }
  int code = 0;
  RunKzp("tokens html '" + (ExamplesDir / "does-not-exist.html").string() + "'", code);
  EXPECT_EQ(code, 1);
  RunKzp("tokens xml '" + Examples().front().string() + "'", code);
  EXPECT_EQ(code, 2);
  RunKzp("tokens html", code);
  EXPECT_EQ(code, 2);
}

} // namespace
