// The user's settings: line numbers and panel layout kept between runs in the test's own
// settings folder, a damaged file ignored, and the panels' sizes on a big and a small screen.
#include "WorkbenchFixture.h"

#include "workbench/AppWindows.h"
#include "workbench/HtmlView.h"
#include "workbench/StudioSettings.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace fs = std::filesystem;

class SettingsTest : public WorkbenchTest {
protected:
  void Restart() {
    DestroyAppWindows();
    frm.reset();
    Start();
  }
  std::string SettingsFile() { return (dir / "config/Tarvex/kzpstudio.ini").string(); }
};

TEST_F(SettingsTest, LineNumbersAndPanelLayoutAreKeptBetweenRuns) {
  EXPECT_EQ(TStudioSettings::FilePath().toStdString(), SettingsFile()) << "the test's own folder";
  Start();
  EXPECT_FALSE(frm->actLineNumbers->isChecked());
  EXPECT_FALSE(frm->editor->ShowLineNumbers());
  frm->actLineNumbers->trigger();
  EXPECT_TRUE(frm->editor->ShowLineNumbers());
  frm->actBarItem2->trigger(); // hide "Variablen"
  EXPECT_FALSE(frm->exVariablen->isVisibleTo(frm.get()));

  Restart();
  EXPECT_TRUE(fs::exists(SettingsFile()));
  EXPECT_TRUE(frm->actLineNumbers->isChecked());
  EXPECT_TRUE(frm->editor->ShowLineNumbers());
  EXPECT_FALSE(frm->exVariablen->isVisibleTo(frm.get()));
  EXPECT_TRUE(frm->exLang->isVisibleTo(frm.get()));
  emit frm->mnuAnsicht->aboutToShow();
  EXPECT_FALSE(frm->actBarItem2->isChecked());

  frm->actLineNumbers->trigger();
  frm->actBarItem2->trigger();
  Restart();
  EXPECT_FALSE(frm->editor->ShowLineNumbers());
  EXPECT_TRUE(frm->exVariablen->isVisibleTo(frm.get()));
  EXPECT_TRUE(dialogs.Shown.empty());
}

TEST_F(SettingsTest, ADamagedSettingsFileIsIgnoredAndWrittenAfresh) {
  WriteFile(
      SettingsFile(),
      std::string(
          "\0\xff[[[\n=\x01 m\xfcll\n[View]\nLineNumbers=ja\n[Window]\nState=@ByteArray(x\n", 60));
  Start();
  EXPECT_FALSE(frm->actLineNumbers->isChecked());
  EXPECT_TRUE(frm->exPrj->isVisibleTo(frm.get()));
  EXPECT_TRUE(frm->exVariablen->isVisibleTo(frm.get()));
  EXPECT_TRUE(dialogs.Shown.empty());
  DestroyAppWindows();
  frm.reset();
  QSettings written(QString::fromStdString(SettingsFile()), QSettings::IniFormat);
  EXPECT_EQ(written.status(), QSettings::NoError);
  EXPECT_EQ(written.value(QStringLiteral("View/LineNumbers")).toString(), QStringLiteral("false"));
  EXPECT_FALSE(written.value(QStringLiteral("Window/State")).toByteArray().isEmpty());

  // A state that is no saved layout at all is refused by the window and changes nothing.
  written.setValue(QStringLiteral("Window/State"), QByteArray("kein Layout"));
  written.sync();
  Start();
  EXPECT_TRUE(frm->exLang->isVisibleTo(frm.get()));
  EXPECT_EQ(frm->dockWidgetArea(frm->exLang), Qt::BottomDockWidgetArea);
}

TEST_F(SettingsTest, BottomPanelsShowSixTableRowsAndTheMetadataScrollOnASmallWindow) {
  std::string page =
      "<html><body><p><b>Variablen</b></p><p>Ein Klick fügt ein.</p><table cellpadding=\"2\">";
  for (int i = 1; i <= 12; ++i)
    page += "<tr><td>Zeile" + std::to_string(i) + "</td><td>Text</td></tr>";
  page += "</table></body></html>";
  WriteFile(programDir + "varLib/rows.htm", page);
  Start();
  frm->resize(1280, 900);
  QTest::qWait(50);
  frm->htmVar->Navigate(QString::fromStdString(programDir + "varLib/rows.htm"));
  QTextCursor sixth = frm->htmVar->document()->find(QStringLiteral("Zeile6"));
  ASSERT_FALSE(sixth.isNull());
  const QRect row = frm->htmVar->cursorRect(sixth);
  EXPECT_LE(row.bottom(), frm->htmVar->viewport()->height()) << "row six is in view";

  auto *scroll = frm->findChild<QScrollArea *>(QStringLiteral("metaScroll"));
  ASSERT_NE(scroll, nullptr);
  EXPECT_TRUE(scroll->widget()->isAncestorOf(frm->Button1));
  EXPECT_EQ(scroll->verticalScrollBar()->maximum(), 0) << "all of it shows on a big window";

  frm->resize(520, 260);
  QTest::qWait(50);
  EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0) << "too short: it scrolls";
  scroll->ensureWidgetVisible(frm->Button1);
  const QPoint button = frm->Button1->mapTo(scroll->viewport(), QPoint(0, frm->Button1->height()));
  EXPECT_LE(button.y(), scroll->viewport()->height()) << "and the button can be reached";
}
