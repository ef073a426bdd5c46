// kzp print: a template of a pack into a PDF, and the refusals before anything is written.
#include "KzpRun.h"

#include "../pack/PackTestUtil.h"

#include <gtest/gtest.h>

TEST(KzpPrint, PrintsATemplateIntoAPdfAndRefusesWhatItCannotPrint) {
  using namespace std::string_literals;
  TTempFolder tmp;
  const std::string pack = tmp / "p.kzp";
  WriteBytes(
      pack,
      PackFileOf("Druck\t.\tAnna\t.\ta@x.de\t.\thttp://x.de\t.\tdruck\nmain.htm\t.\t<b>Hallo</b>\n"
                 "nul.htm\t.\ta\0b\nimg:a.gif\t.\tR0lG\n"s));
  const std::string pdf = tmp / "main.pdf";
  for (int run = 0; run < 2; ++run) { // the second run replaces the output
    TKzpResult r = RunKzp({"print", pack, "main.htm", pdf});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    EXPECT_NE(r.Err.find("1 Seite geschrieben: " + pdf), std::string::npos) << r.Err;
    EXPECT_EQ(ReadBytes(pdf).substr(0, 5), "%PDF-");
  }
  const std::string other = tmp / "x.pdf";
  EXPECT_EQ(RunKzp({"print", pack, "fehlt.htm", other}).Exit, 1);
  EXPECT_EQ(RunKzp({"print", pack, "a.gif", other}).Exit, 1);
  const TKzpResult nul = RunKzp({"print", pack, "nul.htm", other});
  EXPECT_EQ(nul.Exit, 1);
  EXPECT_NE(nul.Err.find("Nullzeichen"), std::string::npos) << nul.Err;
  EXPECT_EQ(RunKzp({"print", tmp / "kein.kzp", "main.htm", other}).Exit, 1);
  EXPECT_EQ(RunKzp({"print", pack, "main.htm", tmp / "fehlt/x.pdf"}).Exit, 1);
  EXPECT_EQ(FolderEntries(tmp.Path()), (std::vector<std::string>{"main.pdf", "p.kzp"}));
  const TKzpResult usage = RunKzp({"print", pack, "main.htm"});
  EXPECT_EQ(usage.Exit, 2);
  EXPECT_NE(usage.Err.find("kzp print PACK NAME AUSGABE.pdf"), std::string::npos);
}
