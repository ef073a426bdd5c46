// Two kzp processes changing one pack at the same moment: both changes end up in the pack,
// round after round, whichever pair of commands races.
#include "KzpRun.h"

#include "../pack/PackTestUtil.h"
#include "pack/PackStore.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using List = std::vector<std::string>;

int EnvCount(const char *name, int fallback) {
  const char *value = std::getenv(name);
  return value && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

bool HasRecordStarting(const List &records, const std::string &start) {
  return std::any_of(records.begin(), records.end(),
                     [&](const std::string &r) { return r.rfind(start, 0) == 0; });
}

TEST(KzpConcurrentWriters, NoRoundLosesEitherChange) {
  const int rounds = EnvCount("KZ_WRITER_ROUNDS", 200);
  TTempFolder tmp;
  const std::string pack = tmp / "p.kzp";
  // Big enough that reading and writing it takes a while, so the two runs overlap.
  std::string base = "T\t.\tA\t.\tM\t.\tW\t.\tO\nmain.htm\t.\t" + std::string(200000, 'x') + "\n";
  const std::string baseFile = PackFileOf(base);
  WriteBytes(tmp / "a.bin", "AAAA");
  WriteBytes(tmp / "b.bin", "BBBB");
  std::filesystem::create_directories(tmp / "dir");
  WriteBytes(tmp / "dir/c1.bin", "C1");
  WriteBytes(tmp / "dir/c2.bin", "C2");

  const char *pairs[] = {"add+add", "import+add", "meta+add"};
  int intact = 0;
  std::vector<std::string> lost;
  for (int round = 0; round < rounds; ++round) {
    WriteBytes(pack, baseFile);
    const int kind = round % 3;
    List first;
    if (kind == 0)
      first = {"add", pack, "a.gif", tmp / "a.bin"};
    else if (kind == 1)
      first = {"import", pack, tmp / "dir"};
    else
      first = {"meta", pack, "Neu", "A", "M", "W", "O"};
    const pid_t one = StartKzp(first);
    const pid_t two = StartKzp({"add", pack, "b.gif", tmp / "b.bin"});
    const int exitOne = WaitKzp(one), exitTwo = WaitKzp(two);
    EXPECT_EQ(exitOne, 0) << "round " << round;
    EXPECT_EQ(exitTwo, 0) << "round " << round;

    TPackStore store;
    store.LoadPack(pack);
    const List &r = store.Records;
    bool ok = HasRecordStarting(r, "img:b.gif\t.\t") && r[1].rfind("main.htm\t.\t", 0) == 0;
    if (kind == 0)
      ok = ok && HasRecordStarting(r, "img:a.gif\t.\t") && r.size() == 4;
    else if (kind == 1)
      ok = ok && HasRecordStarting(r, "img:c1.bin\t.\t") &&
           HasRecordStarting(r, "img:c2.bin\t.\t") && r.size() == 5;
    else
      ok = ok && r[0] == "Neu\t.\tA\t.\tM\t.\tW\t.\tO" && r.size() == 3;
    if (ok)
      ++intact;
    else
      lost.push_back(std::string(pairs[kind]) + " in round " + std::to_string(round));
  }
  EXPECT_EQ(intact, rounds) << "lost updates: " << (lost.empty() ? "" : lost.front());
  std::printf("[ figures  ] %d of %d rounds of two writers kept both changes\n", intact, rounds);
  ::testing::Test::RecordProperty("rounds_without_lost_update", intact);
}

} // namespace
