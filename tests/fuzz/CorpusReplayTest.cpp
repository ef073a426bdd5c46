// Every input stored in the fuzz corpus, run through its target: the seeds, and each input
// fuzzing ever found a fault with, so that none comes back.
#include "FuzzTargets.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>

namespace fs = std::filesystem;

namespace {

const fs::path kCorpus = fs::path(KZ_TEST_SOURCE_DIR) / "corpus";

TEST(FuzzCorpus, EveryTargetHasSeedsAndRunsEachOfThemClean) {
  const std::set<std::string> expected{"base64",     "css_lines", "help_index", "html_lines",
                                       "keystrokes", "pack_read", "stored_form"};
  std::set<std::string> names;
  for (const TFuzzTarget &t : FuzzTargets())
    names.insert(t.Name);
  EXPECT_EQ(names, expected);

  for (const TFuzzTarget &target : FuzzTargets()) {
    const fs::path dir = kCorpus / target.Name;
    ASSERT_TRUE(fs::is_directory(dir)) << dir;
    std::vector<fs::path> inputs(fs::directory_iterator(dir), fs::directory_iterator{});
    EXPECT_GE(inputs.size(), 3u) << target.Name;
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path &input : inputs) {
      std::ifstream in(input, std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
      FuzzCurrentInput() = input.string();
      target.Run(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    }
  }
  FuzzCurrentInput().clear();
}

} // namespace
