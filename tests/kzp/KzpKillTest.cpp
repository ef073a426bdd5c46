// kzp killed at random moments while it changes a pack: whatever moment the kill hits, the
// pack reads afterwards as it was before the command or as the command leaves it (for an
// import: with some of its files added, each whole), and the next opening clears away what
// the killed run left beside it.
#include "KzpRun.h"

#include "../pack/PackTestUtil.h"
#include "pack/PackStore.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <thread>

namespace {

using List = std::vector<std::string>;
using TClock = std::chrono::steady_clock;

int EnvCount(const char *name, int fallback) {
  const char *value = std::getenv(name);
  return value && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

struct TCommandCase {
  List Args;
  std::string Stdin = "/dev/null";
  std::vector<List> States; // every state the pack may be left in, the old one first
  long long Micros = 0;     // how long a whole run takes
};

TEST(KzpKill, EveryKilledChangeLeavesTheOldOrTheNewPack) {
  const int rounds = EnvCount("KZ_KILL_ROUNDS", 200);
  TTempFolder tmp;
  const std::string pack = tmp / "pack/p.kzp";
  std::filesystem::create_directories(tmp / "pack");
  std::mt19937 rng(20240607);
  auto bytes = [&](std::size_t n) {
    std::string s(n, '\0');
    for (char &c : s)
      c = static_cast<char>(rng());
    return s;
  };
  std::string text = "T\t.\tA\t.\tM\t.\tW\t.\tO\nmain.htm\t.\t" + std::string(400000, 'q') + "\n";
  text += "img:a.gif\t.\t" + ReferenceEncode(bytes(300000)) + "\n";
  const std::string baseFile = PackFileOf(text);
  WriteBytes(tmp / "neu.htm", std::string(300000, 'n'));
  WriteBytes(tmp / "src.bin", bytes(300000));
  std::filesystem::create_directories(tmp / "dir/sub");
  WriteBytes(tmp / "dir/eins.bin", bytes(100000));
  WriteBytes(tmp / "dir/sub/zwei.bin", bytes(100000));
  WriteBytes(tmp / "dir/drei.bin", bytes(100000));

  std::vector<TCommandCase> cases(5);
  cases[0].Args = {"save", pack, "main.htm"};
  cases[0].Stdin = tmp / "neu.htm";
  cases[1].Args = {"add", pack, "b.gif", tmp / "src.bin"};
  cases[2].Args = {"meta", pack, "Neu", "A", "M", "W", "O"};
  cases[3].Args = {"delete", pack, "a.gif"};
  cases[4].Args = {"import", pack, tmp / "dir"};
  const List old = [&] {
    WriteBytes(pack, baseFile);
    return PackRecordsOf(pack);
  }();
  for (TCommandCase &c : cases) {
    WriteBytes(pack, baseFile);
    const TClock::time_point start = TClock::now();
    ASSERT_EQ(WaitKzp(StartKzp(c.Args, c.Stdin)), 0) << c.Args[0];
    c.Micros = std::chrono::duration_cast<std::chrono::microseconds>(TClock::now() - start).count();
    const List done = PackRecordsOf(pack);
    c.States.push_back(old);
    if (c.Args[0] == "import") {
      // An import writes each file on its own, so every prefix of it is a whole pack.
      ASSERT_EQ(done.size(), old.size() + 3);
      for (std::size_t n = old.size() + 1; n <= done.size(); ++n)
        c.States.push_back(List(done.begin(), done.begin() + static_cast<std::ptrdiff_t>(n)));
    } else {
      c.States.push_back(done);
    }
  }

  int killed = 0, finished = 0, broken = 0;
  for (int round = 0; round < rounds; ++round) {
    TCommandCase &c = cases[static_cast<std::size_t>(round) % cases.size()];
    WriteBytes(pack, baseFile);
    const long long wait = static_cast<long long>(rng() % static_cast<unsigned>(c.Micros + 1));
    const pid_t pid = StartKzp(c.Args, c.Stdin);
    std::this_thread::sleep_for(std::chrono::microseconds(wait));
    ::kill(pid, SIGKILL);
    int signal = 0;
    WaitKzp(pid, &signal);
    ++(signal == SIGKILL ? killed : finished);
    // A run's time changes with the machine's load; the window the kills fall in
    // follows it, shrinking after a run that finished first, so that most kills keep
    // landing while kzp is at work.
    c.Micros = signal == SIGKILL ? c.Micros * 21 / 20 + 1 : c.Micros * 3 / 4 + 1;

    TPackStore store;
    store.LoadPack(pack);
    if (std::find(c.States.begin(), c.States.end(), store.Records) == c.States.end()) {
      ++broken;
      ADD_FAILURE() << c.Args[0] << " killed after " << wait << " us left a pack of "
                    << store.Records.size() << " records that is neither the old nor the new one";
    }
    // Opening the pack cleared away the killed run's working files.
    EXPECT_EQ(FolderEntries(tmp / "pack"), List{"p.kzp"})
        << c.Args[0] << " after " << wait << " us";
  }
  EXPECT_EQ(broken, 0);
  EXPECT_GT(killed, rounds / 2) << "too few kills landed while kzp was at work";
  std::printf("[ figures  ] %d runs: %d killed while at work, %d finished first, %d packs broken\n",
              rounds, killed, finished, broken);
  ::testing::Test::RecordProperty("kills_survived", killed);
}

} // namespace
