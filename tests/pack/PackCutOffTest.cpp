// Packs that end early: told apart from whole ones at every possible cut, described by their
// last complete record, opened, and written only when the caller agrees.
#include "pack/PackFile.h"
#include "pack/PackStore.h"

#include "PackTestUtil.h"

#include <gtest/gtest.h>

namespace {

using List = std::vector<std::string>;

const std::string kMeta = "T\t.\tA\t.\tM\t.\tW\t.\tO";

TEST(PackCutOff, EveryCutOfAPackFileIsToldFromAWholePack) {
  const std::string text =
      Joined({kMeta, "main.htm\t.\teins<_N_>zwei", "img:a.gif\t.\tR0lG", "b.htm\t.\t"});
  const std::string file = PackFileOf(text);
  const std::string b64 = file.substr(0, file.size() - 2);
  int whole = 0;
  for (std::size_t n = 1; n <= b64.size(); ++n) {
    const std::string prefix = b64.substr(0, n);
    const TPackRead read = ReadPackBytes(prefix + "\r\n", "p");
    const std::string decoded = ReferenceDecode(prefix);
    if (decoded.empty()) { // no whole byte: no pack at all
      EXPECT_TRUE(read.Records.empty());
      continue;
    }
    // What the writer leaves: text ending with LF, and never a lone last character.
    const bool expectCut = decoded.back() != '\n' || n % 4 == 1;
    EXPECT_EQ(read.CutOff, expectCut) << "cut after " << n << " characters";
    EXPECT_EQ(read.LastRecordCut, decoded.back() != '\n') << "cut after " << n << " characters";
    whole += !read.CutOff;
  }
  // Only the places where a record ends exactly on a character boundary read as whole.
  EXPECT_GE(whole, 1);
  EXPECT_LE(whole, 4);
  EXPECT_FALSE(ReadPackBytes(file, "p").CutOff);
  EXPECT_FALSE(ReadPackBytes(b64 + "==\n", "p").CutOff);
}

TEST(PackCutOff, TheMessageNamesTheLastCompleteRecord) {
  const List records{kMeta, "gr\xFCn.htm\t.\tx", "img:a.gif\t.\tQQ", "b.htm\t.\tabgeschnit"};
  EXPECT_EQ(
      CutOffMessageOf(records, true),
      "Die Datei endet mitten im Pack; es fehlt, was nach dem letzten vollständigen Eintrag kam. "
      "Der "
      "letzte vollständige Eintrag ist die Datei \"a.gif\"; das Template \"b.htm\" danach ist "
      "abgeschnitten.");
  EXPECT_EQ(CutOffMessageOf({kMeta, "gr\xFCn.htm\t.\tx"}, false),
            "Die Datei endet mitten im Pack; es fehlt, was nach dem letzten vollständigen Eintrag "
            "kam. Der "
            "letzte vollständige Eintrag ist das Template \"grün.htm\".");
  EXPECT_EQ(
      CutOffMessageOf({kMeta, "img:x"}, true),
      "Die Datei endet mitten im Pack; es fehlt, was nach dem letzten vollständigen Eintrag kam. "
      "Der "
      "letzte vollständige Eintrag ist die Metadaten; die Datei \"x\" danach ist abgeschnitten.");
  EXPECT_EQ(CutOffMessageOf({"T\t.\tA"}, true), "Die Datei endet mitten im Pack; es fehlt, was "
                                                "nach dem letzten vollständigen Eintrag kam, und "
                                                "nicht einmal die Metadaten sind vollständig.");
}

TEST(PackCutOff, ACutOffPackOpensButIsWrittenOnlyWhenTheCallerAgrees) {
  TTempFolder tmp;
  const std::string path = tmp / "p.kzp";
  const std::string whole =
      PackFileOf(Joined({kMeta, "main.htm\t.\teins", "zwei.htm\t.\t" + std::string(90, 'z')}));
  const std::string cut = whole.substr(0, whole.size() / 2 + 20);
  WriteBytes(path, cut);
  WriteBytes(tmp / "src", "S");

  TPackStore store;
  const TPackContents c = store.LoadPack(path);
  EXPECT_TRUE(c.CutOff);
  EXPECT_TRUE(store.CutOff());
  EXPECT_EQ(c.Templates, (List{"main.htm", "zwei.htm"}));
  EXPECT_NE(c.CutOffMessage.find(
                "das Template \"main.htm\"; das Template \"zwei.htm\" danach ist abgeschnitten"),
            std::string::npos)
      << c.CutOffMessage;
  EXPECT_EQ(store.CutOffMessage(), c.CutOffMessage);
  const List records = store.Records;

  try {
    store.AddFileRecord("s.gif", tmp / "src");
    ADD_FAILURE();
  } catch (const EPackCutOffError &e) {
    EXPECT_EQ(std::string(e.what()), c.CutOffMessage);
  }
  int asked = 0;
  bool answer = false;
  store.OnWriteCutOff = [&] {
    ++asked;
    return answer;
  };
  EXPECT_THROW(store.SaveTemplate("main.htm", "neu"), EPackCancelled);
  EXPECT_EQ(store.Records, records);
  EXPECT_EQ(ReadBytes(path), cut);

  // Once agreed, the write makes the pack whole (with what is left) and nothing is asked again.
  answer = true;
  store.SaveTemplate("main.htm", "neu");
  store.AddFileRecord("s.gif", tmp / "src");
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(store.CutOff());
  EXPECT_EQ(store.CutOffMessage(), "");
  TPackStore fresh;
  EXPECT_FALSE(fresh.LoadPack(path).CutOff);
  EXPECT_EQ(fresh.Records, store.Records);
  EXPECT_EQ(fresh.Records[1], "main.htm\t.\tneu");
}

} // namespace
