// The pictures of the window (tool-bar and tree icons, application icon, splash picture) and
// the files that introduce the program to the desktop.
#include "DataFiles.h"

#include <gtest/gtest.h>

using namespace kzdata;

TEST(Pictures, ToolBarAndTreeIconsHaveTheirSizes) {
  const char *const toolBar[] = {"new",        "open",    "save",      "print",     "copy",
                                 "paste",      "cut",     "delete",    "undo",      "redo",
                                 "bold",       "italic",  "underline", "alignleft", "aligncenter",
                                 "alignright", "justify", "help"};
  for (const char *name : toolBar) {
    const TSize size =
        PngSize(ReadBytes(SourcePath(std::string("resources/icons/") + name + ".png")));
    EXPECT_EQ(size.Width, 24) << name;
    EXPECT_EQ(size.Height, 24) << name;
  }
  for (const char *name : {"tree-templates", "tree-files", "tree-template", "tree-file"}) {
    const TSize size =
        PngSize(ReadBytes(SourcePath(std::string("resources/icons/") + name + ".png")));
    EXPECT_EQ(size.Width, 16) << name;
    EXPECT_EQ(size.Height, 16) << name;
  }
  const TSize app = PngSize(ReadBytes(SourcePath("resources/kzpstudio.png")));
  EXPECT_EQ(app.Width, 256);
  EXPECT_EQ(app.Height, 256);
}

TEST(Pictures, SplashIsAJpegOfTheWindowSize) {
  // The splash window and the About box are laid out for exactly this picture.
  const TSize size = JpegSize(ReadBytes(SourcePath("resources/splash.jpg")));
  EXPECT_EQ(size.Width, 518);
  EXPECT_EQ(size.Height, 258);
}

TEST(Pictures, HeaderReadersRejectOtherFiles) {
  const std::string png = ReadBytes(SourcePath("resources/icons/new.png"));
  const std::string jpeg = ReadBytes(SourcePath("resources/splash.jpg"));
  EXPECT_EQ(JpegSize(png).Width, 0);
  EXPECT_EQ(PngSize(jpeg).Width, 0);
  EXPECT_EQ(PngSize(png.substr(0, 20)).Width, 0);
}

TEST(Desktop, EntryOpensKzpFilesWithTheStudio) {
  std::set<std::string> lines;
  for (const std::string &line : ReadLines(SourcePath("resources/kzpstudio.desktop")))
    lines.insert(line);
  EXPECT_TRUE(lines.count("[Desktop Entry]"));
  EXPECT_TRUE(lines.count("Type=Application"));
  EXPECT_TRUE(lines.count("Name=Tarvex Template Studio"));
  EXPECT_TRUE(lines.count("Exec=kzpstudio %f"));
  EXPECT_TRUE(lines.count("Icon=kzpstudio"));
  EXPECT_TRUE(lines.count("MimeType=application/x-kzp;"));
  const std::string mime = ReadBytes(SourcePath("resources/kzpstudio-mime.xml"));
  EXPECT_NE(mime.find("<mime-type type=\"application/x-kzp\">"), std::string::npos);
  EXPECT_NE(mime.find("<glob pattern=\"*.kzp\"/>"), std::string::npos);
}

TEST(DataSize, EverythingBesideTheProgramStaysSmall) {
  std::size_t total = 0;
  for (const char *name : {"stdtpl.db", "demo.kzp", "varLib01.db", "varLib02.db", "kzpStudio.chm"})
    total += ReadBytes(BinPath(name)).size();
  for (const std::string &name : ListDir(BinPath("varLib")))
    total += ReadBytes(BinPath("varLib/" + name)).size();
  EXPECT_LT(total, 512u * 1024u);
}
