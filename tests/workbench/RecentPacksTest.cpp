// "Datei" / "Zuletzt geöffnet" and the folder the file dialogs start in.
#include "WorkbenchFixture.h"

#include "workbench/AppWindows.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"
#include "workbench/untNew.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

namespace fs = std::filesystem;

class RecentPacksTest : public WorkbenchTest {
protected:
  // The recent menu as the user sees it when it opens: caption and whether it can be chosen.
  std::vector<std::pair<std::string, bool>> Items() {
    emit frm->mnuRecent->aboutToShow();
    std::vector<std::pair<std::string, bool>> out;
    for (const QAction *a : frm->mnuRecent->actions())
      out.emplace_back(a->text().toStdString(), a->isEnabled());
    return out;
  }
  std::string Pack(int i) {
    const std::string path =
        (dir / ("p" + std::to_string(i)) / ("pack" + std::to_string(i) + ".kzp")).string();
    if (!fs::exists(path))
      fs::copy_file(demoPack, (fs::create_directories(fs::path(path).parent_path()), path));
    return path;
  }
  std::string Item(int number, int pack) {
    return "&" + std::to_string(number) + "  pack" + std::to_string(pack) + ".kzp  (" +
           (dir / ("p" + std::to_string(pack))).string() + ")";
  }
  void Restart() {
    DestroyAppWindows();
    frm.reset();
    Start();
  }
};

TEST_F(RecentPacksTest, TheLastEightPacksLatestFirstMissingOnesDisabled) {
  Start();
  EXPECT_EQ(Items(), (std::vector<std::pair<std::string, bool>>{{"(keine)", false}}));
  // The submenu sits right under "Öffnen".
  const QList<QAction *> file = frm->menuBar()->actions()[0]->menu()->actions();
  ASSERT_GE(file.indexOf(frm->actBarItem4), 0);
  EXPECT_EQ(file.value(file.indexOf(frm->actBarItem4) + 1), frm->mnuRecent->menuAction());
  EXPECT_EQ(frm->mnuRecent->menuAction()->text().toStdString(), "&Zuletzt geöffnet");

  for (int i = 1; i <= 9; ++i)
    frm->OpenPack(Pack(i));
  frm->OpenPack(Pack(5)); // opened again: moves to the front, no second entry
  std::vector<std::pair<std::string, bool>> expected;
  int number = 0;
  for (int pack : {5, 9, 8, 7, 6, 4, 3, 2})
    expected.emplace_back(Item(++number, pack), true);
  EXPECT_EQ(Items(), expected);

  // Kept between runs; a pack that went away is shown but cannot be chosen.
  fs::remove(Pack(8));
  Restart();
  expected[2].second = false;
  EXPECT_EQ(Items(), expected);

  // Choosing one opens it, after the question about the edited template.
  frm->OpenPack(Pack(9));
  OpenTemplate("index.htm");
  Type(QStringLiteral("x"));
  dialogs.Answers = {TModalResult::mrNo};
  Items();
  frm->mnuRecent->actions()[3]->trigger(); // pack 7
  EXPECT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(ThePackStore().PackPath, Pack(7));
  EXPECT_EQ(frm->editor->Text(), "");
  EXPECT_EQ(Items()[0].first, Item(1, 7));
}

TEST_F(RecentPacksTest, FileDialogsStartInThePacksFolderOrWhereTheLastPackLay) {
  Start();
  dialogs.OpenAnswers = {""};
  frm->actBarItem4->trigger();
  EXPECT_EQ(dialogs.OpenStarts, std::vector<std::string>{""})
      << "no pack yet: the platform's choice";

  const std::string pack = Pack(1);
  frm->OpenPack(pack);
  const std::string folder = (dir / "p1").string();
  dialogs.OpenAnswers = {""};
  frm->actBarItem4->trigger();
  dialogs.FolderAnswers = {""};
  frm->actItem40->trigger();
  WhenModalOpens([](QWidget &modal) {
    auto &dlg = dynamic_cast<TfrmNew &>(modal);
    QTest::mouseClick(dlg.Button2, Qt::LeftButton);
    dlg.close();
  });
  dialogs.SaveAnswers = {""};
  frm->actItem1->trigger();
  EXPECT_EQ(dialogs.OpenStarts, (std::vector<std::string>{"", folder}));
  EXPECT_EQ(dialogs.FolderStarts, std::vector<std::string>{folder});
  EXPECT_EQ(dialogs.SaveStarts, std::vector<std::string>{folder});

  // The next run starts where the last pack lay.
  DestroyAppWindows();
  frm.reset();
  dialogs.SetStartFolder("");
  Start();
  dialogs.OpenAnswers = {""};
  frm->actBarItem4->trigger();
  EXPECT_EQ(dialogs.OpenStarts.back(), folder);
}
