// Names and metadata on kzp's command line and in its output: UTF-8 outside, the studio's
// Windows-1252 inside, escapes for the bytes a terminal must not see, and the names refused.
#include "KzpRun.h"

#include "../pack/PackTestUtil.h"
#include "pack/PackStore.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using List = std::vector<std::string>;

const std::string kMeta = "T\t.\tA\t.\tM\t.\tW\t.\tO";

class KzpNames : public ::testing::Test {
protected:
  void SetUp() override {
    pack = tmp / "p.kzp";
    source = tmp / "quelle";
    WriteBytes(source, "GIF");
  }

  TTempFolder tmp;
  std::string pack, source;
};

TEST_F(KzpNames, TextTravelsAsUtf8AndIsStoredInTheStudiosCodePage) {
  WriteBytes(pack, PackFileOf(kMeta + "\n"));
  ASSERT_EQ(RunKzp({"add", pack, "grün/€ – „x“.gif", source}).Exit, 0);
  ASSERT_EQ(RunKzp({"meta", pack, "Grüße", "Jörg", "ä@x.de", "web", "€"}).Exit, 0);
  EXPECT_EQ(PackRecordsOf(pack), (List{"Gr\xFC\xDF"
                                       "e\t.\tJ\xF6rg\t.\t\xE4@x.de\t.\tweb\t.\t\x80",
                                       "img:gr\xFCn/\x80 \x96 \x84x\x93.gif\t.\tR0lG"}));
  EXPECT_EQ(RunKzp({"list", pack}).Out, "file\tgrün/€ – „x“.gif\n");
  EXPECT_EQ(RunKzp({"info", pack}).Out,
            "Titel: Grüße\nAutor: Jörg\nE-Mail: ä@x.de\nWeb: web\nOrdner: €\n");
  // What list prints is what delete takes.
  EXPECT_EQ(RunKzp({"delete", pack, "grün/€ – „x“.gif"}).Exit, 0);
  EXPECT_EQ(PackRecordsOf(pack).size(), 1u);
}

TEST_F(KzpNames, ControlBytesAndBackslashesPrintEscapedAndAreTypedBackTheSameWay) {
  const std::string nul("a\0b.htm", 7);
  WriteBytes(pack, PackFileOf("Rot\x1B[31m\t.\tA\\B\t.\tM\x81\t.\tW\x7F\t.\t\x90O\n" + nul +
                              "\t.\tnull\n"
                              "img:x\x1B]0;titel\x07.gif\t.\tQQ\nimg:c:\\\\win\\\\a.gif\t.\tQQ\n"));
  TKzpResult r = RunKzp({"info", pack});
  EXPECT_EQ(r.Out,
            "Titel: Rot\\x1B[31m\nAutor: A\\\\B\nE-Mail: M\\x81\nWeb: W\\x7F\nOrdner: \\x90O\n");
  r = RunKzp({"list", pack});
  EXPECT_EQ(
      r.Out,
      "template\ta\\x00b.htm\nfile\tx\\x1B]0;titel\\x07.gif\nfile\tc:\\\\\\\\win\\\\\\\\a.gif\n");
  // Every printed name can be given back, in either case of the hex digits.
  r = RunKzp({"cat", pack, "a\\x00b.htm"});
  EXPECT_EQ(r.Exit, 0) << r.Err;
  EXPECT_EQ(r.Out, "null");
  EXPECT_EQ(RunKzp({"delete", pack, "x\\x1b]0;titel\\x07.gif"}).Exit, 0);
  EXPECT_EQ(RunKzp({"delete", pack, "c:\\\\\\\\win\\\\\\\\a.gif"}).Exit, 0);
  EXPECT_EQ(RunKzp({"list", pack}).Out, "template\ta\\x00b.htm\n");
  // A message that names a missing name escapes it the same way.
  r = RunKzp({"cat", pack, "\\x1B.htm"});
  EXPECT_EQ(r.Err, "kzp: Das Pack enthält kein Template \"\\x1B.htm\".\n");
}

TEST_F(KzpNames, TextThePackCannotHoldIsRefusedWithTheStudiosWarning) {
  WriteBytes(pack, PackFileOf(kMeta + "\n"));
  const std::string before = ReadBytes(pack);
  TKzpResult r = RunKzp({"add", pack, "日本.gif", source});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(
      r.Err,
      "kzp: Der Name \"日本.gif\" enthält Zeichen, die ein Template-Pack nicht speichern kann. "
      "Bitte benennen Sie die Datei um; es wurde nichts geändert.\n");
  r = RunKzp({"add", pack, "\xFF.gif", source});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_NE(r.Err.find("\"\\xFF.gif\""), std::string::npos) << r.Err;
  r = RunKzp({"meta", pack, "T", "日本", "M", "W", "O"});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Err,
            "kzp: Das Feld \"Autor\" enthält Zeichen, die ein Template-Pack nicht speichern kann; "
            "es wurde nichts gespeichert.\n");
  for (const std::string bad : {"a\\qb", "a\\", "a\\x4", "a\\xG0"}) {
    r = RunKzp({"add", pack, bad, source});
    EXPECT_EQ(r.Exit, 1) << bad;
    EXPECT_NE(r.Err.find("weder \"\\\\\" noch \"\\xNN\""), std::string::npos) << r.Err;
  }
  EXPECT_EQ(ReadBytes(pack), before);
}

TEST_F(KzpNames, TargetNamesThatWouldLeaveTheFolderAreRefusedButOldOnesStillListAndGo) {
  WriteBytes(pack, PackFileOf(kMeta + "\nimg:../alt\t.\tQQ\n"));
  const std::string before = ReadBytes(pack);
  // Every reason has its case in the name checks' own test; these are the ones typed here.
  const std::pair<std::string, std::string> refused[] = {
      {"../x", "den Ordnernamen \"..\""},
      {"/etc/x", "absoluter Pfad"},
      {"..\\\\x", "umgekehrten Schrägstrich"},
      {"a\\x0Ab", "Steuerzeichen (\\x0A)"},
  };
  for (const auto &[name, reason] : refused) {
    const TKzpResult r = RunKzp({"add", pack, name, source});
    EXPECT_EQ(r.Exit, 1) << name;
    EXPECT_NE(r.Err.find("ist nicht erlaubt: "), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find(reason), std::string::npos) << name << ": " << r.Err;
  }
  EXPECT_EQ(ReadBytes(pack), before);
  // Names with dots that are no folder names are fine.
  EXPECT_EQ(RunKzp({"add", pack, "a..b/.rc/...", source}).Exit, 0);
  EXPECT_EQ(RunKzp({"list", pack}).Out, "file\t../alt\nfile\ta..b/.rc/...\n");
  EXPECT_EQ(RunKzp({"delete", pack, "../alt"}).Exit, 0);
  EXPECT_EQ(RunKzp({"list", pack}).Out, "file\ta..b/.rc/...\n");
}

TEST_F(KzpNames, ImportTakesFileNamesAsUtf8AndRefusesAFolderItCannotStoreWhole) {
  WriteBytes(pack, PackFileOf(kMeta + "\n"));
  const std::string dir = tmp / "ordner";
  std::filesystem::create_directories(dir + "/grün");
  WriteBytes(dir + "/grün/ä.gif", "A");
  TKzpResult r = RunKzp({"import", pack, dir});
  EXPECT_EQ(r.Exit, 0) << r.Err;
  EXPECT_EQ(r.Err, "Importvorgang abgeschlossen: 1 Datei hinzugefügt.\n");
  EXPECT_EQ(PackRecordsOf(pack).back(), "img:gr\xFCn/\xE4.gif\t.\tQQ");

  const std::string before = ReadBytes(pack);
  const std::pair<std::string, std::string> refused[] = {
      {"a\\b.gif", "Der Zielname \"a\\\\b.gif\" ist nicht erlaubt"},
      {"\xFC.gif", "Der Name \"\\xFC.gif\" enthält Zeichen"},
      {"日本.gif", "Der Name \"日本.gif\" enthält Zeichen"},
      {"esc\x1B.gif", "Steuerzeichen (\\x1B)"},
  };
  for (const auto &[file, message] : refused) {
    const std::string bad = tmp / "schlecht";
    std::filesystem::remove_all(bad);
    std::filesystem::create_directories(bad);
    WriteBytes(bad + "/gut.gif", "G");
    WriteBytes(bad + "/" + file, "S");
    r = RunKzp({"import", pack, bad});
    EXPECT_EQ(r.Exit, 1) << file;
    EXPECT_NE(r.Err.find(message), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("es wurde nichts importiert."), std::string::npos) << r.Err;
    EXPECT_EQ(ReadBytes(pack), before) << file;
  }
}

} // namespace
