// The folder import shared by the studio and kzp: names in the pack's code page in scan
// order, progress and stopping, refusals before anything is added, and an error halfway.
#include "pack/FolderImport.h"

#include "PackTestUtil.h"
#include "pack/FolderScan.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using List = std::vector<std::string>;

const std::string kMeta = "T\t.\tA\t.\tM\t.\tW\t.\tO";

class FolderImport : public ::testing::Test {
protected:
  void SetUp() override {
    path = tmp / "p.kzp";
    WriteBytes(path, PackFileOf(Joined({kMeta})));
    store.LoadPack(path);
    dir = tmp / "ordner";
    std::filesystem::create_directories(dir + "/grün");
    WriteBytes(dir + "/a.gif", "A");
    WriteBytes(dir + "/grün/€.png", "E");
    WriteBytes(dir + "/grün/b.css", "B");
  }

  TTempFolder tmp;
  TPackStore store;
  std::string path, dir;
};

TEST_F(FolderImport, AddsEveryFileInScanOrderUnderItsNameInTheCodePageWithProgress) {
  const std::vector<TImportFile> files = PrepareFolderImport(dir);
  List expected;
  for (const TScannedFile &f : ScanFolder(dir)) {
    std::string name = f.RelativeName;
    for (const auto &[utf8, cp] :
         {std::pair<std::string, std::string>{"grün", "gr\xFCn"}, {"€", "\x80"}})
      if (const std::size_t at = name.find(utf8); at != std::string::npos)
        name.replace(at, utf8.size(), cp);
    expected.push_back(name);
  }
  ASSERT_EQ(files.size(), 3u);
  List names, calls;
  for (const TImportFile &f : files)
    names.push_back(f.Name);
  EXPECT_EQ(names, expected);

  const std::size_t added = RunFolderImport(
      store, files,
      {[&](std::size_t done, std::size_t total) {
         calls.push_back("vor " + std::to_string(done) + "/" + std::to_string(total));
         return true;
       },
       [&](const TImportFile &f) { calls.push_back("neu " + f.Name); }});
  EXPECT_EQ(added, 3u);
  EXPECT_EQ(calls, (List{"vor 0/3", "neu " + expected[0], "vor 1/3", "neu " + expected[1],
                         "vor 2/3", "neu " + expected[2]}));
  ASSERT_EQ(store.Records.size(), 4u);
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_EQ(RecordKey(store.Records[i + 1]), "img:" + expected[i]);
  EXPECT_EQ(ReadBytes(path), PackFileOf(Joined(store.Records)));
  EXPECT_EQ(FileCount(1), "1 Datei");
  EXPECT_EQ(FileCount(0), "0 Dateien");
  EXPECT_EQ(FileCount(3), "3 Dateien");
}

TEST_F(FolderImport, StopsWhenAskedAndRefusesAFolderWithANameThePackCannotTake) {
  const std::vector<TImportFile> files = PrepareFolderImport(dir);
  const std::size_t added = RunFolderImport(
      store, files, {[](std::size_t done, std::size_t) { return done < 1; }, nullptr});
  EXPECT_EQ(added, 1u);
  EXPECT_EQ(store.Records.size(), 2u);

  // A name that is no UTF-8 is shown in hex, and nothing at all is imported.
  WriteBytes(dir + "/grün/\xFC.gif", "x");
  try {
    PrepareFolderImport(dir);
    ADD_FAILURE();
  } catch (const EPackImportRefused &e) {
    EXPECT_EQ(std::string(e.what()),
              "Der Name \"grün/\\xFC.gif\" enthält Zeichen, die ein Template-Pack nicht "
              "speichern kann. Bitte benennen Sie die Datei um; es wurde nichts importiert.");
  }
  EXPECT_TRUE(PrepareFolderImport(tmp / "fehlt").empty());
}

} // namespace
