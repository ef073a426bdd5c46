// Adding files one after another: only the new records are written, yet after every add
// the pack on disk is exactly the whole pack, and nothing is left beside it afterwards.
#include "pack/PackStore.h"

#include "PackTestUtil.h"
#include "pack/FolderScan.h"

#include <algorithm>
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using List = std::vector<std::string>;

const std::string kMeta = "Titel\t.\tAutor\t.\tmail@x.de\t.\thttp://x.de\t.\tordner";

class PackAppend : public ::testing::Test {
protected:
  void SetUp() override {
    src = tmp / "src";
    ::mkdir(src.c_str(), 0755);
    packDir = tmp / "pack";
    ::mkdir(packDir.c_str(), 0755);
    path = packDir + "/p.kzp";
    WriteBytes(path, PackFileOf(Joined({kMeta, "main.htm\t.\tx"})));
    store.LoadPack(path);
  }

  std::string Source(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
      bytes[i] = static_cast<char>(i * 31 + size);
    const std::string file = src + "/" + std::to_string(size);
    WriteBytes(file, bytes);
    return file;
  }

  void ExpectFileHoldsRecords(const std::string &what) {
    EXPECT_EQ(ReadBytes(path), PackFileOf(Joined(store.Records))) << what;
  }

  std::string KeptName() const { return ".p.kzp.keep-" + std::to_string(::getpid()); }

  TTempFolder tmp;
  TPackStore store;
  std::string src, packDir, path;
};

TEST_F(PackAppend, EveryAddLeavesTheWholePackOnDiskForEveryCarry) {
  // Record lengths that leave 0, 1 and 2 bytes of the last group open, several times over.
  for (std::size_t size : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 100u, 4096u, 8192u, 1u, 2u}) {
    store.AddFileRecord("f" + std::to_string(size), Source(size));
    ExpectFileHoldsRecords("after adding " + std::to_string(size) + " bytes");
    TPackStore other;
    EXPECT_EQ(other.LoadPack(path).Files.back(), "f" + std::to_string(size));
  }
}

TEST_F(PackAppend, AKeptFileLivesOnlyWhileFilesAreBeingAdded) {
  store.AddFileRecord("a", Source(10));
  store.AddFileRecord("b", Source(11));
  EXPECT_EQ(FolderEntries(packDir), (List{KeptName(), "p.kzp"}));
  store.AddFileRecord("c", Source(12));
  EXPECT_EQ(FolderEntries(packDir), (List{KeptName(), "p.kzp"}));

  // Any other change writes the whole pack and lets the kept file go.
  store.SaveTemplate("main.htm", "neu");
  ExpectFileHoldsRecords("after saving");
  EXPECT_EQ(FolderEntries(packDir), (List{"p.kzp"}));

  store.AddFileRecord("d", Source(13));
  store.AddFileRecord("e", Source(14));
  EXPECT_EQ(FolderEntries(packDir), (List{KeptName(), "p.kzp"}));
  store.LoadPack(path);
  EXPECT_EQ(FolderEntries(packDir), (List{"p.kzp"}));

  {
    TPackStore other;
    other.LoadPack(path);
    other.AddFileRecord("f", Source(15));
    other.AddFileRecord("g", Source(16));
    EXPECT_EQ(FolderEntries(packDir), (List{KeptName(), "p.kzp"}));
  }
  EXPECT_EQ(FolderEntries(packDir), (List{"p.kzp"}));
}

TEST_F(PackAppend, OpeningAPackRemovesWhatACrashedRunLeftBesideIt) {
  // A process number that cannot be running: above the kernel's limit.
  const std::string dead = "99999999";
  for (const std::string &name :
       {".p.kzp.keep-" + dead, ".p.kzp.prev-" + dead, ".p.kzp.tmp-" + dead + "-Ab12Cd"})
    WriteBytes(packDir + "/" + name, "rest");
  // Files of running processes, other packs and look-alikes stay.
  const List kept{".andere.kzp.keep-" + dead, ".p.kzp.keep-" + std::to_string(::getppid()),
                  ".p.kzp.keep-x", ".p.kzp.sicherung", "p.kzp"};
  for (const std::string &name : kept)
    if (name != "p.kzp")
      WriteBytes(packDir + "/" + name, "bleibt");
  store.LoadPack(path);
  List expected = kept;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FolderEntries(packDir), expected);
}

TEST_F(PackAppend, ImportingThePacksOwnFolderDoesNotTripOverTheKeptFile) {
  store.AddFileRecord("a", Source(10));
  store.AddFileRecord("b", Source(11));
  WriteBytes(packDir + "/bild.gif", "GIF");
  const std::vector<TScannedFile> files = ScanFolder(packDir);
  List names;
  for (const TScannedFile &f : files) {
    names.push_back(f.RelativeName);
    store.AddFileRecord(f.RelativeName, f.FullPath);
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (List{"bild.gif", "p.kzp"}));
  ExpectFileHoldsRecords("after importing the pack's folder");
}

TEST_F(PackAppend, ChangesBetweenAddsAreWrittenToo) {
  store.AddFileRecord("a", Source(10));
  store.AddFileRecord("b", Source(11));
  store.SaveTemplate("main.htm", "geändert");
  store.AddFileRecord("c", Source(12));
  store.AddFileRecord("d", Source(13));
  store.DeleteFileRecord("a");
  store.AddFileRecord("e", Source(14));
  store.AddFileRecord("f", Source(15));
  store.WriteMetaData({"T", "A", "M", "W", "O"});
  store.AddFileRecord("g", Source(16));
  store.AddFileRecord("h", Source(17));
  ExpectFileHoldsRecords("after mixed changes");
  // A list replaced by the caller is noticed and written whole.
  store.Records = List{kMeta, "neu.htm\t.\tx"};
  store.AddFileRecord("i", Source(18));
  ExpectFileHoldsRecords("after replacing the list");
}

unsigned long long InodeOf(const std::string &path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_ino;
}

TEST_F(PackAppend, FromTheThirdAddOnTheTwoFilesTakeTurns) {
  // The pack each add replaces is brought up to date in place at the next add but one, so
  // the pack file alternates between two files instead of being written anew each time.
  std::vector<unsigned long long> inodes;
  for (int i = 0; i < 6; ++i) {
    store.AddFileRecord("f" + std::to_string(i), Source(static_cast<std::size_t>(20 + i)));
    inodes.push_back(InodeOf(path));
  }
  EXPECT_NE(inodes[0], inodes[1]);
  EXPECT_EQ(inodes[2], inodes[0]);
  EXPECT_EQ(inodes[3], inodes[1]);
  EXPECT_EQ(inodes[4], inodes[0]);
  EXPECT_EQ(inodes[5], inodes[1]);
  ExpectFileHoldsRecords("after six adds");
}

TEST_F(PackAppend, AKeptFileChangedByOthersIsNotUsed) {
  store.AddFileRecord("a", Source(10));
  store.AddFileRecord("b", Source(11));
  WriteBytes(packDir + "/" + KeptName(), "fremd");
  store.AddFileRecord("c", Source(12));
  ExpectFileHoldsRecords("after the kept file was overwritten");
  ::unlink((packDir + "/" + KeptName()).c_str());
  store.AddFileRecord("d", Source(13));
  store.AddFileRecord("e", Source(14));
  ExpectFileHoldsRecords("after the kept file was removed");

  // A pack replaced behind the store's back is read again before the next add, so the
  // adds go onto what the other program wrote.
  WriteBytes(path, PackFileOf(Joined({kMeta, "fremd.htm\t.\tx"})));
  store.AddFileRecord("f", Source(15));
  store.AddFileRecord("g", Source(16));
  ExpectFileHoldsRecords("after the pack was replaced by another program");
  ASSERT_EQ(store.Records.size(), 4u);
  EXPECT_EQ(store.Records[1], "fremd.htm\t.\tx");
  EXPECT_EQ(store.Records[2].rfind("img:f\t.\t", 0), 0u);
  EXPECT_EQ(store.Records[3].rfind("img:g\t.\t", 0), 0u);
}

TEST_F(PackAppend, APackWithASecondNameIsNeverChangedInPlace) {
  store.AddFileRecord("a", Source(10));
  // A backup made as a hard link must keep the state it was made at.
  ASSERT_EQ(::link(path.c_str(), (tmp / "sicherung.kzp").c_str()), 0);
  const std::string backup = ReadBytes(tmp / "sicherung.kzp");
  for (int i = 0; i < 4; ++i)
    store.AddFileRecord("f" + std::to_string(i), Source(static_cast<std::size_t>(30 + i)));
  EXPECT_EQ(ReadBytes(tmp / "sicherung.kzp"), backup);
  ExpectFileHoldsRecords("after adding with a backup link");
}

TEST_F(PackAppend, AddsKeepPermissionsAndRefuseAReadOnlyPack) {
  store.AddFileRecord("a", Source(10));
  store.AddFileRecord("b", Source(11));
  ::chmod(path.c_str(), 0604);
  store.AddFileRecord("c", Source(12));
  EXPECT_EQ(FileMode(path), 0604u);
  ::chmod(path.c_str(), 0444);
  const std::string before = ReadBytes(path);
  const List records = store.Records;
  EXPECT_THROW(store.AddFileRecord("d", Source(13)), EPackIOError);
  EXPECT_EQ(ReadBytes(path), before);
  // The failed add is taken back: the next write must not carry a record never shown.
  EXPECT_EQ(store.Records, records);
  ::chmod(path.c_str(), 0644);
  store.AddFileRecord("e", Source(14));
  ExpectFileHoldsRecords("after the pack became writable again");
  EXPECT_EQ(store.Records.size(), records.size() + 1);
  EXPECT_EQ(store.Records.back().rfind("img:e\t.\t", 0), 0u);
}

} // namespace
