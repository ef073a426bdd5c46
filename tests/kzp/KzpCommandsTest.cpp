// The kzp commands on real pack files: output, exit codes, and that failures change nothing.
#include "KzpRun.h"

#include "../pack/PackTestUtil.h"
#include "pack/PackStore.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using List = std::vector<std::string>;

// The pack keeps Windows-1252: "J\xF6rg" is "Jörg", printed as UTF-8.
const std::string kMeta = "Mein Pack\t.\tJ\xF6rg\t.\tj@x.de\t.\thttp://x.de\t.\tmein";

class KzpTool : public ::testing::Test {
protected:
  void SetUp() override {
    pack = tmp / "p.kzp";
    WriteBytes(
        pack,
        PackFileOf(kMeta +
                   "\nmain.htm\t.\t<b><_R_><_N_>x</b>\nimg:a b.gif\t.\tR0lG\n\nstyle.css\t.\t\n"));
  }

  TTempFolder tmp;
  std::string pack;
};

TEST_F(KzpTool, InfoListAndCatShowThePack) {
  TKzpResult r = RunKzp({"info", pack});
  EXPECT_EQ(r.Exit, 0);
  EXPECT_EQ(r.Out,
            "Titel: Mein Pack\nAutor: Jörg\nE-Mail: j@x.de\nWeb: http://x.de\nOrdner: mein\n");
  r = RunKzp({"list", pack});
  EXPECT_EQ(r.Exit, 0);
  EXPECT_EQ(r.Out, "template\tmain.htm\nfile\ta b.gif\ntemplate\tstyle.css\n");
  r = RunKzp({"cat", pack, "main.htm"});
  EXPECT_EQ(r.Exit, 0);
  EXPECT_EQ(r.Out, "<b>\r\nx</b>");
  r = RunKzp({"cat", pack, "fehlt.htm"});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Out, "");
  EXPECT_EQ(r.Err, "kzp: Das Pack enthält kein Template \"fehlt.htm\".\n");
}

TEST_F(KzpTool, SaveStoresStdinByteForByte) {
  const std::string text = AllBytes() + "\r\nEnde";
  TKzpResult r = RunKzp({"save", pack, "style.css"}, text);
  EXPECT_EQ(r.Exit, 0) << r.Err;
  EXPECT_EQ(RunKzp({"cat", pack, "style.css"}).Out, text);
  const std::string before = ReadBytes(pack);
  r = RunKzp({"save", pack, "neu.htm"}, "x");
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(ReadBytes(pack), before);
}

TEST_F(KzpTool, AddDeleteAndMetaChangeThePack) {
  WriteBytes(tmp / "quelle", "GIF89a");
  EXPECT_EQ(RunKzp({"add", pack, "sub/ö.gif", tmp / "quelle"}).Exit, 0);
  EXPECT_EQ(PackRecordsOf(pack).back(), "img:sub/\xF6.gif\t.\tR0lGODlh");
  EXPECT_EQ(RunKzp({"delete", pack, "a b.gif"}).Exit, 0);
  EXPECT_EQ(RunKzp({"list", pack}).Out,
            "template\tmain.htm\ntemplate\tstyle.css\nfile\tsub/ö.gif\n");
  TKzpResult r = RunKzp({"delete", pack, "a b.gif"});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(RunKzp({"meta", pack, "T", "A", "M", "W", "O"}).Exit, 0);
  EXPECT_EQ(PackRecordsOf(pack)[0], "T\t.\tA\t.\tM\t.\tW\t.\tO");
}

TEST_F(KzpTool, FailuresReportInGermanAndChangeNothing) {
  const std::string before = ReadBytes(pack);
  TKzpResult r = RunKzp({"meta", pack, "T", "", "M", "W", "O"});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_NE(r.Err.find("\"Autor\" ist leer"), std::string::npos) << r.Err;
  r = RunKzp({"add", pack, "x", tmp / "fehlt"});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Err, "kzp: Datei nicht gefunden: " + (tmp / "fehlt") + "\n");
  WriteBytes(tmp / "leer.kzp", "");
  r = RunKzp({"list", tmp / "leer.kzp"});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Err, "kzp: Listenindex überschreitet das Maximum (0)\n"
                   "kzp: Die Datei ist leer oder enthält kein Template-Pack.\n");
  r = RunKzp({"info", tmp.Path()});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Err, "kzp: Ist ein Ordner, keine Datei (E/A-Fehler 21): " + tmp.Path() + "\n");
  EXPECT_EQ(ReadBytes(pack), before);

  ::chmod(pack.c_str(), 0444);
  r = RunKzp({"save", pack, "main.htm"}, "neu");
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Err, "kzp: Zugriff verweigert: " + pack + "\n");
  EXPECT_EQ(ReadBytes(pack), before);
}

TEST_F(KzpTool, WrongUsageExitsWithTwo) {
  for (const List &args : {List{}, List{"info"}, List{"cat", pack}, List{"meta", pack, "a"},
                           List{"frobnicate"}, List{"new", "a", "b"}}) {
    const TKzpResult r = RunKzp(args);
    EXPECT_EQ(r.Exit, 2) << (args.empty() ? "" : args[0]);
    EXPECT_NE(r.Err.find("Aufruf:"), std::string::npos);
  }
}

TEST_F(KzpTool, ImportAddsEveryFileOfTheFolderInScanOrder) {
  const std::string dir = tmp / "import";
  std::filesystem::create_directories(dir + "/sub");
  WriteBytes(dir + "/sub/a.gif", "A");
  WriteBytes(dir + "/b.css", "B");
  const TKzpResult r = RunKzp({"import", pack, dir});
  EXPECT_EQ(r.Exit, 0) << r.Err;
  List records = PackRecordsOf(pack);
  // The empty record inside the pack vanished on opening.
  ASSERT_EQ(records.size(), 6u);
  List added{records[4], records[5]};
  std::sort(added.begin(), added.end());
  EXPECT_EQ(added, (List{"img:b.css\t.\tQg", "img:sub/a.gif\t.\tQQ"}));
  EXPECT_EQ(RunKzp({"import", pack, tmp / "fehlt"}).Exit, 1);
}

TEST_F(KzpTool, NewCopiesTheStandardPackBesideTheProgramAndFillsDefaults) {
  // A copy of the tool in its own folder, with a standard pack beside it.
  const std::string bin = tmp / "bin";
  std::filesystem::create_directories(bin);
  std::filesystem::copy_file(KZ_BIN_DIR "/kzp", bin + "/kzp");
  ::chmod((bin + "/kzp").c_str(), 0755);
  WriteBytes(bin + "/stdtpl.db",
             PackFileOf("Std\t.\tS\t.\tS\t.\tS\t.\tS\nindex.htm\t.\tStandard\n"));

  TKzpResult r = RunKzp({"new", tmp / "neu.kzp"}, "", bin + "/kzp");
  EXPECT_EQ(r.Exit, 0) << r.Err;
  EXPECT_EQ(
      ReadBytes(tmp / "neu.kzp"),
      PackFileOf("Neues Template\t.\tAutor\t.\tnicht definiert\t.\tnicht definiert\t.\tundefined\n"
                 "index.htm\t.\tStandard\n"));

  r = RunKzp({"new", tmp / "zwei.kzp", "Titel", "", "m@x.de", "", "ordner"}, "", bin + "/kzp");
  EXPECT_EQ(r.Exit, 0) << r.Err;
  EXPECT_EQ(RunKzp({"info", tmp / "zwei.kzp"}).Out,
            "Titel: Titel\nAutor: Autor\nE-Mail: m@x.de\nWeb: nicht definiert\nOrdner: ordner\n");

  // An existing file is never overwritten.
  const std::string before = ReadBytes(pack);
  r = RunKzp({"new", pack}, "", bin + "/kzp");
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(ReadBytes(pack), before);

  std::filesystem::remove(bin + "/stdtpl.db");
  r = RunKzp({"new", tmp / "drei.kzp"}, "", bin + "/kzp");
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Err, "kzp: Datei nicht gefunden: " + bin + "/stdtpl.db\n");
  EXPECT_FALSE(Exists(tmp / "drei.kzp"));
}

} // namespace
