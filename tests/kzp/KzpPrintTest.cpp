// kzp print: a template of a pack into a PDF, and the refusals before anything is written.
#include "KzpRun.h"

#include "../pack/PackTestUtil.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

const std::string kMeta = "Druck\t.\tAnna\t.\ta@x.de\t.\thttp://x.de\t.\tdruck";

std::string PdfText(const std::string &pdf)
{
    std::string out;
    if (FILE *p = ::popen(("pdftotext -layout '" + pdf + "' - 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
            out.append(buffer, n);
        ::pclose(p);
    }
    return out;
}

} // namespace

TEST(KzpPrint, PrintsATemplateIntoAPdfAndRefusesWhatItCannotPrint)
{
    TTempFolder tmp;
    const std::string pack = tmp / "p.kzp";
    // Tabs and line breaks are escaped in the pack; printed, the tab is eight columns wide.
    using namespace std::string_literals;
    WriteBytes(pack, PackFileOf(kMeta + "\nmain.htm\t.\t<b>Hallo</b><_R_><_N_><_T_>Welt\nnul.htm\t.\ta\0b\n"s +
                                "img:a.gif\t.\tR0lG\n"));
    const std::string pdf = tmp / "main.pdf";
    TKzpResult r = RunKzp({"print", pack, "main.htm", pdf});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    EXPECT_NE(r.Err.find("1 Seite geschrieben"), std::string::npos) << r.Err;
    const std::string text = PdfText(pdf);
    if (std::system("command -v pdftotext >/dev/null 2>&1") == 0) {
        EXPECT_NE(text.find("<b>Hallo</b>\n"), std::string::npos) << text;
        EXPECT_NE(text.find("        Welt"), std::string::npos) << text;
    }
    // Run again, the output is replaced.
    EXPECT_EQ(RunKzp({"print", pack, "main.htm", pdf}).Exit, 0);

    const std::string other = tmp / "x.pdf";
    EXPECT_EQ(RunKzp({"print", pack, "fehlt.htm", other}).Exit, 1);
    EXPECT_EQ(RunKzp({"print", pack, "a.gif", other}).Exit, 1);
    r = RunKzp({"print", pack, "nul.htm", other});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_NE(r.Err.find("Nullzeichen"), std::string::npos) << r.Err;
    EXPECT_EQ(RunKzp({"print", tmp / "kein.kzp", "main.htm", other}).Exit, 1);
    EXPECT_EQ(RunKzp({"print", pack, "main.htm", tmp / "fehlt/x.pdf"}).Exit, 1);
    EXPECT_FALSE(Exists(other));
    EXPECT_EQ(FolderEntries(tmp.Path()), (std::vector<std::string>{"main.pdf", "p.kzp"}));
    r = RunKzp({"print", pack, "main.htm"});
    EXPECT_EQ(r.Exit, 2);
    EXPECT_NE(r.Err.find("kzp print PACK NAME AUSGABE.pdf"), std::string::npos);
}
