// kzp on hostile input: pipes that would block, memory that runs out, packs cut off, a
// disk limit reached halfway through an import.
#include "KzpRun.h"

#include "../pack/PackTestUtil.h"
#include "pack/PackStore.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using List = std::vector<std::string>;

const std::string kMeta = "T\t.\tA\t.\tM\t.\tW\t.\tO";

class KzpHardening : public ::testing::Test {
protected:
  void SetUp() override {
    pack = tmp / "p.kzp";
    WriteBytes(pack, PackFileOf(kMeta + "\nmain.htm\t.\tx\n"));
  }

  TTempFolder tmp;
  std::string pack;
};

TEST_F(KzpHardening, PipesAndDevicesAreRefusedBeforeAnythingWaits) {
  const std::string fifo = tmp / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  const std::string before = ReadBytes(pack);
  const List commands[] = {
      {"info", fifo},
      {"add", pack, "x.gif", fifo},
      {"tokens", "html", fifo},
      {"add", pack, "z", "/dev/zero"},
  };
  for (const List &args : commands) {
    TKzpLimits limits;
    limits.TimeoutMs = 5000;
    const TKzpResult r = RunKzpLimited(args, limits);
    EXPECT_FALSE(r.TimedOut) << args[0] << " " << args.back();
    EXPECT_EQ(r.Exit, 1) << args[0];
    EXPECT_EQ(r.Err, "kzp: Keine gewöhnliche Datei: " + args.back() + "\n");
  }
  // A pipe where the pack is written: refused too, nothing left beside it.
  TKzpLimits limits;
  limits.TimeoutMs = 5000;
  std::filesystem::create_directories(tmp / "ex");
  ASSERT_EQ(RunKzp({"extract", pack, tmp / "ex/x"}).Exit, 0);
  const TKzpResult r = RunKzpLimited({"build", tmp / "ex/x", fifo}, limits);
  EXPECT_FALSE(r.TimedOut);
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(ReadBytes(pack), before);
  EXPECT_EQ(FolderEntries(tmp.Path()), (List{"ex", "fifo", "p.kzp"}));
}

TEST_F(KzpHardening, RunningOutOfMemoryEndsWithAGermanMessageAndLeavesThePack) {
  if (UnderAddressSanitizer())
    GTEST_SKIP() << "the sanitizer's shadow memory does not fit under an address-space limit";
  const std::string before = ReadBytes(pack);
  // A source far larger than the memory allowed; sparse, so it costs no disk.
  const std::string big = tmp / "gross.bin";
  WriteBytes(big, "");
  ASSERT_EQ(::truncate(big.c_str(), 700ll << 20), 0);
  TKzpLimits limits;
  limits.Memory = 256ull << 20;
  TKzpResult r = RunKzpLimited({"add", pack, "gross.bin", big}, limits);
  EXPECT_EQ(r.Signal, 0);
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Err, "kzp: Nicht genügend Arbeitsspeicher; der Befehl wurde abgebrochen.\n");
  // An endless standard input grows until memory runs out.
  limits.StdinPath = "/dev/zero";
  r = RunKzpLimited({"save", pack, "main.htm"}, limits);
  EXPECT_EQ(r.Signal, 0);
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Err, "kzp: Nicht genügend Arbeitsspeicher; der Befehl wurde abgebrochen.\n");
  EXPECT_EQ(ReadBytes(pack), before);
  EXPECT_EQ(FolderEntries(tmp.Path()), (List{"gross.bin", "p.kzp"}));
}

TEST_F(KzpHardening, ACutOffPackIsReadWithAWarningButNeverChanged) {
  // Cut in the middle of the last template, as a copy stopped halfway would leave it.
  const std::string whole =
      PackFileOf(kMeta + "\nmain.htm\t.\teins\nimg:a.gif\t.\tQUJD\nzwei.htm\t.\t" +
                 std::string(60, 'z') + "\n");
  const std::string cut = whole.substr(0, whole.size() - 40);
  WriteBytes(pack, cut);
  WriteBytes(tmp / "src", "S");
  TKzpResult r = RunKzp({"list", pack});
  EXPECT_EQ(r.Exit, 0);
  EXPECT_EQ(r.Out, "template\tmain.htm\nfile\ta.gif\ntemplate\tzwei.htm\n");
  EXPECT_EQ(
      r.Err,
      "kzp: Warnung: Die Datei endet mitten im Pack; es fehlt, was nach dem letzten vollständigen "
      "Eintrag kam. Der letzte vollständige Eintrag ist die Datei \"a.gif\"; das Template "
      "\"zwei.htm\" danach ist abgeschnitten.\n");
  const List changes[] = {{"save", pack, "main.htm"},
                          {"add", pack, "b.gif", tmp / "src"},
                          {"delete", pack, "a.gif"},
                          {"meta", pack, "N", "A", "M", "W", "O"}};
  for (const List &args : changes) {
    r = RunKzp(args, "neu");
    EXPECT_EQ(r.Exit, 1) << args[0];
    EXPECT_NE(r.Err.find("kzp ändert ein abgeschnittenes Pack nicht"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("kzp extract PACK ORDNER"), std::string::npos) << r.Err;
    EXPECT_EQ(ReadBytes(pack), cut) << args[0];
  }

  // What the message says to do makes a clean pack on purpose.
  const std::string dir = tmp / "ex";
  ASSERT_EQ(RunKzp({"extract", pack, dir}).Exit, 0);
  std::string manifest = ReadBytes(dir + "/manifest.txt");
  for (const std::string line : {"unterminated\n", "original\toriginal.kzp\n"}) {
    const std::size_t at = manifest.find(line);
    ASSERT_NE(at, std::string::npos) << manifest;
    manifest.erase(at, line.size());
  }
  WriteBytes(dir + "/manifest.txt", manifest);
  ASSERT_EQ(RunKzp({"build", dir, tmp / "sauber.kzp"}).Exit, 0);
  r = RunKzp({"add", tmp / "sauber.kzp", "b.gif", tmp / "src"});
  EXPECT_EQ(r.Exit, 0) << r.Err;
  EXPECT_EQ(RunKzp({"list", tmp / "sauber.kzp"}).Out,
            "template\tmain.htm\nfile\ta.gif\ntemplate\tzwei.htm\nfile\tb.gif\n");
}

TEST_F(KzpHardening, AnImportStoppedByAnErrorKeepsWhatItAddedAndSaysSo) {
  const std::string dir = tmp / "ordner";
  std::filesystem::create_directories(dir);
  WriteBytes(dir + "/a.bin", std::string(30000, 'a'));
  WriteBytes(dir + "/b.bin", std::string(30000, 'b'));
  // Room for the pack with one of the files, not with both.
  TKzpLimits limits;
  limits.FileSize = 80000; // one file takes about 53,400 bytes: its base64 is encoded once more
  const TKzpResult r = RunKzpLimited({"import", pack, dir}, limits);
  EXPECT_EQ(r.Exit, 1);
  EXPECT_NE(r.Err.find("kzp: Die Datei ist zu groß (E/A-Fehler 27): " + pack + "\n"),
            std::string::npos)
      << r.Err;
  EXPECT_NE(
      r.Err.find(
          "kzp: Import abgebrochen: 1 von 2 Dateien wurden hinzugefügt; sie bleiben vollständig im "
          "Pack.\n"),
      std::string::npos)
      << r.Err;
  const List records = PackRecordsOf(pack);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_TRUE(records[2] == "img:a.bin\t.\t" + ReferenceEncode(std::string(30000, 'a')) ||
              records[2] == "img:b.bin\t.\t" + ReferenceEncode(std::string(30000, 'b')));
  EXPECT_EQ(FolderEntries(tmp.Path()), (List{"ordner", "p.kzp"}));
}

} // namespace
