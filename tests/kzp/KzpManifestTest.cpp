// kzp extract and kzp build: the folder layout, exact round trips of odd packs, and names
// that would write outside the folder.
#include "KzpRun.h"

#include "../pack/PackTestUtil.h"
#include "pack/PackStore.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::string kMeta = "Mein Pack\t.\tJörg\t.\tj@x.de\t.\thttp://x.de\t.\tmein";

class KzpManifest : public ::testing::Test {
protected:
  // Extracts `fileBytes` as a pack, builds it again and returns the built bytes.
  std::string RoundTrip(const std::string &fileBytes, const std::string &name = "x") {
    const std::string pack = tmp / (name + ".kzp");
    const std::string dir = tmp / (name + "-ex");
    WriteBytes(pack, fileBytes);
    TKzpResult r = RunKzp({"extract", pack, dir});
    EXPECT_EQ(r.Exit, 0) << r.Err;
    r = RunKzp({"build", dir, tmp / (name + "-neu.kzp")});
    EXPECT_EQ(r.Exit, 0) << r.Err;
    return Exists(tmp / (name + "-neu.kzp")) ? ReadBytes(tmp / (name + "-neu.kzp")) : std::string();
  }

  TTempFolder tmp;
};

TEST_F(KzpManifest, ExtractWritesManifestTemplatesAndDecodedFiles) {
  const std::string gif = "GIF89a\x00\x01\xFF";
  WriteBytes(tmp / "p.kzp",
             PackFileOf(kMeta + "\nmain.htm\t.\t<b><_R_><_N_><_T_>x</b>\nimg:sub/a.gif\t.\t" +
                        EncodeBase64ForTest(gif) + "\nstyle.css\t.\t\n"));
  const TKzpResult r = RunKzp({"extract", tmp / "p.kzp", tmp / "ex"});
  ASSERT_EQ(r.Exit, 0) << r.Err;
  EXPECT_EQ(ReadBytes(tmp / "ex/manifest.txt"),
            "kzp-manifest 1\nmeta\tMein Pack\tJörg\tj@x.de\thttp://x.de\tmein\n"
            "template\tmain.htm\nfile\tsub/a.gif\ntemplate\tstyle.css\n");
  EXPECT_EQ(ReadBytes(tmp / "ex/templates/main.htm"), "<b>\r\n\tx</b>");
  EXPECT_EQ(ReadBytes(tmp / "ex/templates/style.css"), "");
  EXPECT_EQ(ReadBytes(tmp / "ex/files/sub/a.gif"), gif);
  EXPECT_FALSE(Exists(tmp / "ex/raw"));
  EXPECT_FALSE(Exists(tmp / "ex/original.kzp"));
}

TEST_F(KzpManifest, BuildReadsTheLayoutWrittenByHand) {
  const std::string dir = tmp / "src";
  std::filesystem::create_directories(dir + "/templates");
  std::filesystem::create_directories(dir + "/files/img");
  WriteBytes(dir + "/manifest.txt",
             "kzp-manifest 1\nmeta\tT\tA\tM\tW\tO\ntemplate\tindex.htm\nfile\timg/l.png\n");
  WriteBytes(dir + "/templates/index.htm", "a\r\nb");
  WriteBytes(dir + "/files/img/l.png", "ab");
  const TKzpResult r = RunKzp({"build", dir, tmp / "out.kzp"});
  ASSERT_EQ(r.Exit, 0) << r.Err;
  EXPECT_EQ(
      ReadBytes(tmp / "out.kzp"),
      PackFileOf("T\t.\tA\t.\tM\t.\tW\t.\tO\nindex.htm\t.\ta<_R_><_N_>b\nimg:img/l.png\t.\tYWI\n"));
}

TEST_F(KzpManifest, PlainPacksComeBackByteForByte) {
  const std::string file =
      PackFileOf(kMeta + "\nmain.htm\t.\t" + EscapeTemplateText(AllBytes()) + "\nimg:a.gif\t.\t" +
                 EncodeBase64ForTest(AllBytes()) + "\nimg:leer\t.\t\nleer.htm\t.\t\n");
  EXPECT_EQ(RoundTrip(file), file);
}

TEST_F(KzpManifest, OddRecordsComeBackByteForByte) {
  const std::string cases[] = {
      // empty records inside, at the start of the records and at the end
      kMeta + "\n\nmain.htm\t.\tx\n\n\n",
      "\n" + kMeta + "\nmain.htm\t.\tx\n",
      // record 0 with an empty field, too few fields, or nothing but separators
      "\t.\tA\t.\tM\t.\tW\t.\tO\nmain.htm\t.\tx\n",
      "Nur Titel\nmain.htm\t.\tx\n",
      "\t\t\nmain.htm\t.\tx\n",
      // templates that unescaping and escaping would change
      kMeta + "\nroh.htm\t.\tmit\rCR\nzwei.htm\t.\ta\t.\tb\n\t\tvorne.htm\t.\tx\nohne-feld.htm\n",
      // file data that is not the encoder's own text
      kMeta + "\nimg:a.gif\t.\tYR\nimg:b.gif\t.\tYWJj=\nimg:c.gif\t.\tYW Jj\nimg:d.gif\n",
      // two records under one name, and a name that is also a folder of another
      kMeta + "\nmain.htm\t.\teins\nmain.htm\t.\tzwei\nimg:a\t.\tQQ\nimg:a/b\t.\tQg\n",
      // names that cannot be files of their own
      kMeta + "\nimg:\t.\tQQ\nimg:a//b\t.\tQQ\nimg:a/\t.\tQQ\nimg:./x\t.\tQQ\n",
      // no line feed after the last record
      kMeta + "\nmain.htm\t.\tx",
  };
  int n = 0;
  for (const std::string &packText : cases) {
    const std::string file = PackFileOf(packText);
    EXPECT_EQ(RoundTrip(file, "c" + std::to_string(n)), file) << "case " << n;
    ++n;
  }
}

TEST_F(KzpManifest, PackFilesInAnotherLayoutComeBackByteForByte) {
  const std::string b64 =
      EncodeBase64ForTest(kMeta + "\nmain.htm\t.\t" + std::string(200, 'q') + "\n");
  std::string wrapped;
  for (std::size_t i = 0; i < b64.size(); i += 76)
    wrapped += b64.substr(i, 76) + "\n";
  int n = 0;
  for (const std::string &file : {wrapped, b64, b64 + "==\r\n"}) {
    EXPECT_EQ(RoundTrip(file, "l" + std::to_string(n)), file) << "layout " << n;
    ++n;
  }
}

TEST_F(KzpManifest, AChangedExtractionIsBuiltInTheWritersOwnForm) {
  const std::string b64 = EncodeBase64ForTest(kMeta + "\nmain.htm\t.\talt\n");
  WriteBytes(tmp / "p.kzp", b64 + "==\n");
  ASSERT_EQ(RunKzp({"extract", tmp / "p.kzp", tmp / "ex"}).Exit, 0);
  WriteBytes(tmp / "ex/templates/main.htm", "neu");
  ASSERT_EQ(RunKzp({"build", tmp / "ex", tmp / "n.kzp"}).Exit, 0);
  EXPECT_EQ(ReadBytes(tmp / "n.kzp"), PackFileOf(kMeta + "\nmain.htm\t.\tneu\n"));
}

TEST_F(KzpManifest, NamesThatLeaveTheFolderAreKeptRawAndComeBackByteForByte) {
  const std::string names[] = {"img:../evil", "/etc/evil",  "img:a/../../evil",
                               "img:a\\b",    "sub\\x.htm", std::string("img:a\0b", 7),
                               ".."};
  int n = 0;
  for (const std::string &name : names) {
    const std::string file = PackFileOf(kMeta + "\nok.htm\t.\tx\n" + name + "\t.\tQQ\n");
    const std::string dir = tmp / ("c" + std::to_string(n) + "-ex");
    EXPECT_EQ(RoundTrip(file, "c" + std::to_string(n)), file) << "name " << n;
    // The record lies in raw/, and nothing was written anywhere else.
    EXPECT_EQ(ReadBytes(dir + "/manifest.txt"),
              "kzp-manifest 1\nmeta\tMein Pack\tJörg\tj@x.de\thttp://x.de\tmein\n"
              "template\tok.htm\nraw\traw/000002\n")
        << "name " << n;
    EXPECT_EQ(ReadBytes(dir + "/raw/000002"), name + "\t.\tQQ") << "name " << n;
    ++n;
  }
  EXPECT_FALSE(Exists(tmp / "evil"));
  EXPECT_FALSE(Exists(tmp / "a"));
  // A name that merely contains two dots is a plain name.
  WriteBytes(tmp / "dots.kzp", PackFileOf(kMeta + "\nimg:a..b.gif\t.\tQQ\n"));
  EXPECT_EQ(RunKzp({"extract", tmp / "dots.kzp", tmp / "dots"}).Exit, 0);
  EXPECT_EQ(ReadBytes(tmp / "dots/files/a..b.gif"), "A");
}

TEST_F(KzpManifest, ExtractNeedsAnEmptyFolderAndBuildAValidManifest) {
  WriteBytes(tmp / "p.kzp", PackFileOf(kMeta + "\n"));
  std::filesystem::create_directories(tmp / "voll");
  WriteBytes(tmp / "voll/da", "x");
  TKzpResult r = RunKzp({"extract", tmp / "p.kzp", tmp / "voll"});
  EXPECT_EQ(r.Exit, 1);
  EXPECT_EQ(r.Err, "kzp: Der Zielordner ist nicht leer: " + (tmp / "voll") + "\n");
  std::filesystem::create_directories(tmp / "leer");
  EXPECT_EQ(RunKzp({"extract", tmp / "p.kzp", tmp / "leer"}).Exit, 0);

  const std::string dir = tmp / "m";
  std::filesystem::create_directories(dir + "/templates");
  const std::pair<std::string, std::string> bad[] = {
      {"kzp-manifest 2\nmeta\tT\tA\tM\tW\tO\n", "keine Manifest-Datei"},
      {"kzp-manifest 1\n", "Zeile 2"},
      {"kzp-manifest 1\nmeta\tT\t\tM\tW\tO\n", "Zeile 2: ein Metadaten-Feld ist leer"},
      {"kzp-manifest 1\nmeta\tT\tA\tM\tW\tO\nbild\tx\n", "Zeile 3: unbekannter Eintrag \"bild\""},
      {"kzp-manifest 1\nmeta\tT\tA\tM\tW\tO\ntemplate\tfehlt.htm\n", "Datei nicht gefunden"},
      {"kzp-manifest 1\nmeta\tT\tA\tM\tW\tO\ntemplate\t../x\n", "Zeile 3: der Name"},
      {"kzp-manifest 1\nmeta\tT\tA\tM\tW\tO\ntemplate\timg:x\n", "Zeile 3: ein Template-Name"},
  };
  WriteBytes(tmp / "out.kzp", "alt");
  for (const auto &[manifest, message] : bad) {
    WriteBytes(dir + "/manifest.txt", manifest);
    r = RunKzp({"build", dir, tmp / "out.kzp"});
    EXPECT_EQ(r.Exit, 1) << manifest;
    EXPECT_NE(r.Err.find(message), std::string::npos) << r.Err;
    EXPECT_EQ(ReadBytes(tmp / "out.kzp"), "alt");
  }
}

} // namespace
