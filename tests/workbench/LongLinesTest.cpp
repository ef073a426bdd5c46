// A template line far longer than the editor's default scroll width can be reached, read and
// edited to its end.
#include "WorkbenchFixture.h"

#include "editor/qt/KzEditWidget.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"

#include <QScrollBar>
#include <QTest>

TEST_F(WorkbenchTest, ATwentyThousandCharacterLineIsEditedAtItsEnd) {
  std::string longLine;
  while (longLine.size() < 20000)
    longLine += "<td class=\"c\">%%V%%</td>";
  longLine.resize(20000);
  WriteTestPack(demoPack, {"Demo", "Anna", "anna@example.com", "www.example.com", "demo"},
                {{"min.htm", "<html>\r\n" + longLine}, {"short.htm", "<p>kurz</p>"}});
  TfrmMain &w = StartWithPack(demoPack);
  auto *edit = dynamic_cast<TKzEdit *>(w.editor->Widget());
  ASSERT_NE(edit, nullptr);
  TCustomKzEdit &core = edit->Editor();

  OpenTemplate("min.htm");
  // The whole line lies within the scroll width, the caret's column behind it included.
  EXPECT_EQ(core.MaxScrollWidth(), 20001);
  // The scroll bar alone brings the last character into view.
  QScrollBar *bar = edit->horizontalScrollBar();
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_GE(core.LeftChar() + core.CharsInWindow(), 20001);
  EXPECT_LE(core.LeftChar(), 20000);
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(core.LeftChar(), 1);

  w.editor->SetFocus();
  QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(core.CaretY(), 2);
  EXPECT_EQ(core.CaretX(), 20001);
  QTest::keyClicks(edit, "xyz");
  // Compared whole but not printed whole: a failure would dump 20,000 characters.
  EXPECT_TRUE(w.editor->Text() == "<html>\r\n" + longLine + "xyz")
      << w.editor->Text().substr(0, 1100);
  EXPECT_EQ(core.CaretX(), 20004);
  // The view followed the caret to the end of the line.
  EXPECT_LE(core.LeftChar(), 20004);
  EXPECT_GT(core.LeftChar() + core.CharsInWindow(), 20004);
  EXPECT_GE(core.MaxScrollWidth(), 20004);

  // A short template starts from the default width again.
  ThePackStore().Modified = false;
  OpenTemplate("short.htm");
  EXPECT_EQ(core.MaxScrollWidth(), 1024);
}
