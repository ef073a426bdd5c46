// Changing a pack: the records each operation leaves, the bytes written, and what a failed
// write or an unreadable source leaves behind.
#include "pack/PackStore.h"

#include "PackTestUtil.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using List = std::vector<std::string>;

const std::string kMeta = "Titel\t.\tAutor\t.\tmail@x.de\t.\thttp://x.de\t.\tordner";

class PackWrite : public ::testing::Test {
protected:
  void SetUp() override {
    path = tmp / "pack.kzp";
    WriteBytes(path, PackFileOf(Joined({kMeta, "main.htm\t.\talt", "img:a.gif\t.\tR0lG",
                                        "Titel\t.\tvom Titel"})));
    store.LoadPack(path);
  }

  // The file on disk must be exactly the writer's form of the store's records.
  void ExpectFileHoldsRecords() { EXPECT_EQ(ReadBytes(path), PackFileOf(Joined(store.Records))); }

  TTempFolder tmp;
  TPackStore store;
  std::string path;
};

TEST_F(PackWrite, SaveTemplateReplacesEveryRecordOfTheNameButNeverRecordZero) {
  store.Records.push_back("main.htm\t.\tzweite");
  store.SaveTemplate("main.htm", "neu\r\n\tText");
  EXPECT_EQ(store.Records[1], "main.htm\t.\tneu<_R_><_N_><_T_>Text");
  EXPECT_EQ(store.Records[4], "main.htm\t.\tneu<_R_><_N_><_T_>Text");
  ExpectFileHoldsRecords();

  // A template named like the pack's title leaves the metadata alone.
  store.SaveTemplate("Titel", "x");
  EXPECT_EQ(store.Records[0], kMeta);
  EXPECT_EQ(store.Records[3], "Titel\t.\tx");
  ExpectFileHoldsRecords();
}

unsigned long long InodeOf(const std::string &path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_ino;
}

TEST_F(PackWrite, SaveTemplateOfAnUnknownNameChangesNothingButStillWrites) {
  const List before = store.Records;
  const unsigned long long inode = InodeOf(path);
  EXPECT_EQ(store.SaveTemplate("fehlt.htm", "x"), 0u);
  EXPECT_EQ(store.Records, before);
  EXPECT_NE(InodeOf(path), inode);
  ExpectFileHoldsRecords();
  // A file record is not a template, even when asked for by its full key.
  store.SaveTemplate("img:a.gif", "x");
  EXPECT_EQ(store.Records, before);
}

TEST_F(PackWrite, GetTemplateReadsTheFirstMatchAndSkipsFilesAndEmptyRecords) {
  store.Records.insert(store.Records.begin() + 1, "");
  store.Records.push_back("main.htm\t.\tzweite");
  EXPECT_EQ(store.GetTemplate("main.htm"), "alt");
  EXPECT_EQ(store.GetTemplate("fehlt.htm"), "");
  EXPECT_EQ(store.GetTemplate("img:a.gif"), "");
  EXPECT_EQ(store.GetTemplate("Titel"), "vom Titel");
  store.SaveTemplate("main.htm", "");
  EXPECT_EQ(store.Records[2], "main.htm\t.\t");
  EXPECT_EQ(store.GetTemplate("main.htm"), "");
}

TEST_F(PackWrite, EveryByteOfATemplateTextComesBackAfterReopening) {
  const std::string text = AllBytes() + "\r\n" + AllBytes();
  store.SaveTemplate("main.htm", text);
  TPackStore other;
  other.LoadPack(path);
  EXPECT_EQ(other.GetTemplate("main.htm"), text);
}

TEST_F(PackWrite, AddFileRecordAppendsEvenTwiceAndOneDeleteRemovesBoth) {
  WriteBytes(tmp / "Bild mit Ümlaut.gif", "GIF89a\x01\x02");
  store.AddFileRecord("sub/Bild ä.gif", tmp / "Bild mit Ümlaut.gif");
  store.AddFileRecord("sub/Bild ä.gif", tmp / "Bild mit Ümlaut.gif");
  ASSERT_EQ(store.Records.size(), 6u);
  EXPECT_EQ(store.Records[4], "img:sub/Bild ä.gif\t.\tR0lGODlhAQI");
  EXPECT_EQ(store.Records[5], store.Records[4]);
  ExpectFileHoldsRecords();

  store.DeleteFileRecord("sub/Bild ä.gif");
  EXPECT_EQ(store.Records,
            (List{kMeta, "main.htm\t.\talt", "img:a.gif\t.\tR0lG", "Titel\t.\tvom Titel"}));
  ExpectFileHoldsRecords();
}

TEST_F(PackWrite, DeleteFileRecordKeepsTemplatesOfTheSameNameAndEmptyRecords) {
  store.Records.push_back("a.gif\t.\ttemplate");
  store.Records.push_back("");
  store.DeleteFileRecord("a.gif");
  EXPECT_EQ(store.Records,
            (List{kMeta, "main.htm\t.\talt", "Titel\t.\tvom Titel", "a.gif\t.\ttemplate", ""}));
  // Deleting the metadata's first token must not touch record 0.
  store.DeleteFileRecord("Titel");
  EXPECT_EQ(store.Records[0], kMeta);
}

TEST_F(PackWrite, SourcesAreReadWholeAtBlockBoundariesAndWhenEmpty) {
  std::string bytes4096(4096, '\0'), bytes8192(8192, '\0');
  for (std::size_t i = 0; i < bytes8192.size(); ++i)
    bytes8192[i] = static_cast<char>(i * 7 + 3);
  bytes4096 = bytes8192.substr(0, 4096);
  WriteBytes(tmp / "4096", bytes4096);
  WriteBytes(tmp / "8192", bytes8192);
  WriteBytes(tmp / "leer", "");
  store.AddFileRecord("a", tmp / "4096");
  store.AddFileRecord("b", tmp / "8192");
  store.AddFileRecord("leer", tmp / "leer");
  EXPECT_EQ(store.Records[4], "img:a\t.\t" + ReferenceEncode(bytes4096));
  EXPECT_EQ(store.Records[5], "img:b\t.\t" + ReferenceEncode(bytes8192));
  EXPECT_EQ(store.Records[6], "img:leer\t.\t");
  ExpectFileHoldsRecords();
  TPackStore other;
  const TPackContents c = other.LoadPack(path);
  EXPECT_EQ(c.Files, (List{"a.gif", "a", "b", "leer"}));
}

TEST_F(PackWrite, AnUnreadableSourceFailsBeforeRecordsChange) {
  const List before = store.Records;
  const std::string file = ReadBytes(path);
  EXPECT_THROW(store.AddFileRecord("x", tmp / "fehlt"), EPackIOError);
  try {
    store.AddFileRecord("x", tmp.Path());
    ADD_FAILURE();
  } catch (const EPackIOError &e) {
    EXPECT_EQ(std::string(e.what()), "Ist ein Ordner, keine Datei (E/A-Fehler 21): " + tmp.Path());
  }
  // A device would never end; a pipe might never deliver.
  try {
    store.AddFileRecord("x", "/dev/zero");
    ADD_FAILURE();
  } catch (const EPackIOError &e) {
    EXPECT_STREQ(e.what(), "Keine gewöhnliche Datei: /dev/zero");
  }
  EXPECT_EQ(store.Records, before);
  EXPECT_EQ(ReadBytes(path), file);
}

TEST_F(PackWrite, NamesThatWouldCutTheRecordAreRefused) {
  WriteBytes(tmp / "src", "x");
  const List before = store.Records;
  EXPECT_THROW(store.AddFileRecord("a\tb", tmp / "src"), EPackError);
  EXPECT_THROW(store.AddFileRecord("a\nb", tmp / "src"), EPackError);
  EXPECT_EQ(store.Records, before);
}

TEST_F(PackWrite, WriteMetaDataReplacesRecordZeroAndRefusesEmptyOrBreakingStrings) {
  store.WriteMetaData({"Neu", "Jörg", "j@x.de", "web", "neu"});
  EXPECT_EQ(store.Records[0], "Neu\t.\tJörg\t.\tj@x.de\t.\tweb\t.\tneu");
  ExpectFileHoldsRecords();

  const std::string file = ReadBytes(path);
  const List before = store.Records;
  try {
    store.WriteMetaData({"T", "A", "", "W", "O"});
    ADD_FAILURE();
  } catch (const EPackError &e) {
    EXPECT_NE(std::string(e.what()).find("\"E-Mail\" ist leer"), std::string::npos) << e.what();
  }
  EXPECT_THROW(store.WriteMetaData({"T", "A", "M", "W", ""}), EPackError);
  EXPECT_THROW(store.WriteMetaData({"T\tX", "A", "M", "W", "O"}), EPackError);
  EXPECT_THROW(store.WriteMetaData({"T", "A", "M", "W\nmain.htm", "O"}), EPackError);
  EXPECT_EQ(store.Records, before);
  EXPECT_EQ(ReadBytes(path), file);
}

TEST(PackStoreState, StartsClosedAndRefusesWritesWithoutAPack) {
  TPackStore store;
  EXPECT_TRUE(store.Records.empty());
  EXPECT_EQ(store.PackPath, "na");
  EXPECT_EQ(store.CurrentTemplate, "na");
  EXPECT_FALSE(store.Modified);
  EXPECT_THROW(store.WritePack(), EPackError);
  EXPECT_THROW(store.SaveTemplate("a", "b"), EPackError);
  EXPECT_TRUE(store.Records.empty());
  EXPECT_EQ(&ThePackStore(), &ThePackStore());
}

TEST_F(PackWrite, EveryFailedWriteTakesItsChangeBackAndLeavesTheFile) {
  const std::string file = ReadBytes(path);
  const List start = store.Records;
  WriteBytes(tmp / "src", "z");
  ::chmod(path.c_str(), 0444);
  try {
    store.SaveTemplate("main.htm", "neu");
    ADD_FAILURE();
  } catch (const EPackIOError &e) {
    EXPECT_EQ(std::string(e.what()), "Zugriff verweigert: " + path);
  }
  EXPECT_EQ(store.Records, start);
  EXPECT_THROW(store.AddFileRecord("z", tmp / "src"), EPackIOError);
  EXPECT_EQ(store.Records, start);
  EXPECT_THROW(store.DeleteFileRecord("a.gif"), EPackIOError);
  EXPECT_EQ(store.Records, start);
  EXPECT_THROW(store.WriteMetaData({"N", "A", "M", "W", "O"}), EPackIOError);
  EXPECT_EQ(store.Records, start);
  EXPECT_EQ(ReadBytes(path), file);
  EXPECT_EQ(FolderEntries(tmp.Path()), (List{"pack.kzp", "src"}));

  // Once writable again, the next write carries none of the failed changes along.
  ::chmod(path.c_str(), 0644);
  store.AddFileRecord("z", tmp / "src");
  TPackStore other;
  other.LoadPack(path);
  EXPECT_EQ(other.GetTemplate("main.htm"), "alt");
  EXPECT_EQ(other.Records, (List{kMeta, "main.htm\t.\talt", "img:a.gif\t.\tR0lG",
                                 "Titel\t.\tvom Titel", "img:z\t.\teg"}));
}

TEST_F(PackWrite, AFailedCreateLeavesNoTemporaryFileAndNoPack) {
  store.PackPath = tmp / "kein-ordner/p.kzp";
  try {
    store.WritePack();
    ADD_FAILURE();
  } catch (const EPackIOError &e) {
    EXPECT_EQ(e.Code(), ENOENT);
  }
  EXPECT_EQ(FolderEntries(tmp.Path()), (List{"pack.kzp"}));
  store.PackPath = tmp.Path();
  EXPECT_THROW(store.WritePack(), EPackIOError);
  EXPECT_EQ(FolderEntries(tmp.Path()), (List{"pack.kzp"}));
}

TEST_F(PackWrite, ReplacingKeepsPermissionsFollowsLinksAndLeavesNoTemporaryFile) {
  ::chmod(path.c_str(), 0640);
  store.SaveTemplate("main.htm", "eins");
  EXPECT_EQ(FileMode(path), 0640u);
  EXPECT_EQ(FolderEntries(tmp.Path()), (List{"pack.kzp"}));

  ASSERT_EQ(::symlink("pack.kzp", (tmp / "link.kzp").c_str()), 0);
  TPackStore viaLink;
  viaLink.LoadPack(tmp / "link.kzp");
  viaLink.SaveTemplate("main.htm", "zwei");
  struct stat st {};
  ASSERT_EQ(::lstat((tmp / "link.kzp").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  store.LoadPack(path);
  EXPECT_EQ(store.GetTemplate("main.htm"), "zwei");
  EXPECT_EQ(FileMode(path), 0640u);
}

TEST_F(PackWrite, ANewPackGetsTheUsualPermissions) {
  const mode_t mask = ::umask(022);
  store.PackPath = tmp / "neu.kzp";
  store.WritePack();
  ::umask(mask);
  EXPECT_EQ(FileMode(tmp / "neu.kzp"), 0644u);
  EXPECT_EQ(ReadBytes(tmp / "neu.kzp"), ReadBytes(path));
}

TEST_F(PackWrite, ALargePackIsWrittenInPiecesExactly) {
  // Large enough to go through several write slices, with records of lengths that leave
  // every possible carry between them.
  List records{kMeta};
  for (int i = 0; i < 40; ++i)
    records.push_back("img:f" + std::to_string(i) + "\t.\t" +
                      std::string(70000 + i, static_cast<char>('A' + i % 26)));
  store.Records = records;
  store.WritePack();
  ExpectFileHoldsRecords();
  TPackStore other;
  other.LoadPack(path);
  EXPECT_EQ(other.Records, records);
}

} // namespace
