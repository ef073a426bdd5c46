// A double click on a file of the pack shows a picture in the file viewer, and describes any
// other file by name, size and type.
#include "WorkbenchFixture.h"

#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"
#include "workbench/untPicture.h"

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QTreeWidget>

namespace {
std::string Png(int width, int height, QRgb colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes.toStdString();
}
} // namespace

TEST_F(WorkbenchTest, DoubleClickOnAFileShowsThePictureOrDescribesTheFile) {
  const std::string png = Png(3, 2, qRgb(200, 10, 20));
  const std::string text(1500, 'x');
  WriteTestPack(demoPack, {"Demo", "Anna", "anna@example.com", "www.example.com", "demo"},
                {{"index.htm", "<p>Hallo</p>"}},
                {{"img/rot.png", png}, {"liesmich.txt", text}, {"kaputt.gif", "GIF89a kein Bild"}});
  TfrmMain &w = StartWithPack(demoPack);
  OpenTemplate("index.htm");
  auto open = [&](int child) -> TfrmPicture * {
    w.twProjekt->setCurrentItem(w.FileRoot()->child(child));
    w.twProjektDblClick();
    return w.findChild<TfrmPicture *>();
  };

  TfrmPicture *viewer = open(0);
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_TRUE(viewer->ShowsPicture());
  EXPECT_EQ(viewer->windowTitle().toStdString(), "img/rot.png");
  const QImage shown = viewer->Picture->pixmap().toImage();
  EXPECT_EQ(shown.size(), QSize(3, 2));
  EXPECT_EQ(shown.pixel(2, 1), qRgb(200, 10, 20));
  const std::string info = viewer->Info->text().toStdString();
  EXPECT_EQ(info.rfind("img/rot.png – ", 0), 0u) << info;
  EXPECT_NE(info.find(", 3 × 2 Pixel, " + std::to_string(png.size()) + " Bytes"), std::string::npos)
      << info;

  // Another file reuses the window; the template stays open.
  EXPECT_EQ(open(1), viewer);
  EXPECT_FALSE(viewer->ShowsPicture());
  EXPECT_TRUE(viewer->Picture->pixmap().isNull());
  EXPECT_EQ(
      viewer->Info->text().toStdString().rfind("Name: liesmich.txt\nGröße: 1.500 Bytes\nTyp: ", 0),
      0u);
  EXPECT_NE(viewer->Info->text().toStdString().find("(text/plain)"), std::string::npos);

  EXPECT_EQ(open(2), viewer);
  EXPECT_FALSE(viewer->ShowsPicture()) << "a name is no picture";
  EXPECT_EQ(viewer->Info->text().toStdString().rfind("Name: kaputt.gif\nGröße: 16 Bytes\nTyp: ", 0),
            0u);

  EXPECT_EQ(ThePackStore().CurrentTemplate, "index.htm");
  EXPECT_EQ(w.editor->Text(), "<p>Hallo</p>");
  EXPECT_TRUE(dialogs.Shown.empty());
}

TEST(PackFileBytes, TheFirstRecordOfTheNameDecoded) {
  const std::vector<std::string> records = {"T\t.\tA\t.\tM\t.\tW\t.\tO", "a.gif\t.\ttemplate text",
                                            "img:a.gif\t.\tR0lG", "img:a.gif\t.\tAAAA",
                                            "img:leer.bin"};
  EXPECT_EQ(PackFileBytes(records, "a.gif"), std::optional<std::string>("GIF"));
  EXPECT_EQ(PackFileBytes(records, "leer.bin"), std::optional<std::string>(""));
  EXPECT_EQ(PackFileBytes(records, "fehlt.gif"), std::nullopt);
  EXPECT_EQ(PackFileBytes({"img:a.gif\t.\tR0lG"}, "a.gif"), std::nullopt)
      << "record 0 is the metadata";
}
