// Start-up of the main window and its fixed layout: names, captions, order, initial state.
#include "WorkbenchFixture.h"

#include "editor/KzEditGutter.h"
#include "editor/KzEditKeyCmds.h"
#include "editor/qt/KzEditWidget.h"
#include "highlight/KzHighlighterHtml.h"
#include "workbench/HtmlView.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>

namespace {
// A caption as shown, without the "&" of its mnemonic.
std::string Shown(const QAction *a) {
  return QString(a->text()).remove(QLatin1Char('&')).toStdString();
}

// The captions of a menu's or tool bar's actions, "-" for a separator.
std::vector<std::string> Captions(const QList<QAction *> &actions) {
  std::vector<std::string> out;
  for (const QAction *a : actions)
    out.push_back(a->isSeparator() ? "-" : Shown(a));
  return out;
}
} // namespace

TEST_F(WorkbenchTest, StartsWithThePackNamedOnTheCommandLineShowingItsMetadata) {
  TfrmMain &w = StartWithPack(demoPack);
  EXPECT_EQ(w.windowTitle().toStdString(), "Tarvex Template Studio");
  EXPECT_EQ(w.metaTitel->text().toStdString(), "Demo");
  EXPECT_EQ(w.metaAuthor->text().toStdString(), "Anna");
  EXPECT_EQ(w.metaAuthorMail->text().toStdString(), "anna@example.com");
  EXPECT_EQ(w.metaAuthorWeb->text().toStdString(), "www.example.com");
  EXPECT_EQ(w.metaOrdner->text().toStdString(), "demo");
  EXPECT_EQ(ThePackStore().CurrentTemplate, "na");
  EXPECT_FALSE(ThePackStore().Modified);
  EXPECT_EQ(w.HelpFile(), programDir + "kzpStudio.chm");
  EXPECT_EQ(w.CPSItemList, (std::vector<std::string>{"%%LANG123%% Betreff", "%%USER%% Benutzer"}));
  EXPECT_EQ(w.CPSInsertList, (std::vector<std::string>{"%%LANG123%%", "%%USER%%"}));
  EXPECT_EQ(w.htmLang->CurrentPath().toStdString(), programDir + "varLib/lang.htm");
  EXPECT_EQ(w.htmVar->CurrentPath().toStdString(), programDir + "varLib/var_main.htm");
}

TEST_F(WorkbenchTest, MenusToolBarAndPanelsHaveTheirCaptionsInOrder) {
  TfrmMain &w = Start();
  std::vector<std::string> menus;
  for (const QAction *a : w.menuBar()->actions())
    menus.push_back(Shown(a));
  EXPECT_EQ(menus, (std::vector<std::string>{"Datei", "Bearbeiten", "Format", "Ansicht", "Hilfe"}));
  const QList<QAction *> top = w.menuBar()->actions();
  EXPECT_EQ(Captions(top[0]->menu()->actions()),
            (std::vector<std::string>{"Neu", "Öffnen", "Zuletzt geöffnet", "-", "Speichern", "-",
                                      "Drucken", "Druckvorschau", "Als PDF exportieren …", "-",
                                      "Beenden"}));
  EXPECT_EQ(Captions(top[1]->menu()->actions()),
            (std::vector<std::string>{"Kopieren", "Einfügen", "Ausschneiden", "-", "Löschen", "-",
                                      "Suchen …", "Weitersuchen", "Rückwärts suchen", "Ersetzen …",
                                      "Im ganzen Pack suchen", "-", "Template prüfen",
                                      "Alle Templates prüfen", "-", "Gehe zu Zeile …"}));
  EXPECT_EQ(Captions(top[2]->menu()->actions()),
            (std::vector<std::string>{"Fett", "Kursiv", "Unterstrichen", "-", "Linksbündig",
                                      "Zentriert", "Rechtsbündig", "Blocksatz"}));
  EXPECT_EQ(Captions(top[3]->menu()->actions()),
            (std::vector<std::string>{"Projekt-Explorer", "Variablen-Explorer", "Language-Explorer",
                                      "Vorschau", "-", "Zeilennummern"}));
  EXPECT_EQ(Captions(top[4]->menu()->actions()),
            (std::vector<std::string>{"Hilfe...", "-", "Info"}));

  auto *bar = w.findChild<QToolBar *>(QStringLiteral("tbMain"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->windowTitle().toStdString(), "Haupt-Toolbar");
  const std::vector<QAction *> expected = {
      w.actItem1,  w.actBarItem4, w.actItem8,  nullptr,    w.actItem3,  w.actItem4,
      w.actItem5,  w.actItem6,    nullptr,     w.actItem9, w.actItem10, nullptr,
      w.actItem11, w.actItem12,   w.actItem13, nullptr,    w.actItem14, w.actItem15,
      w.actItem16, w.actItem17,   nullptr,     w.actItem41};
  const QList<QAction *> got = bar->actions();
  ASSERT_EQ(got.size(), static_cast<qsizetype>(expected.size()));
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (expected[i])
      EXPECT_EQ(got[static_cast<qsizetype>(i)], expected[i]) << "button " << i;
    else
      EXPECT_TRUE(got[static_cast<qsizetype>(i)]->isSeparator()) << "button " << i;
  }
  // A tool-bar button and the menu item of the same command are one action with one icon.
  EXPECT_FALSE(w.actItem1->icon().isNull());
  EXPECT_FALSE(w.actItem9->isEnabled());
  EXPECT_FALSE(w.actItem10->isEnabled());

  EXPECT_EQ(w.exPrj->windowTitle().toStdString(), "Projektdateien");
  EXPECT_EQ(w.exLang->windowTitle().toStdString(), "Sprachdatei");
  EXPECT_EQ(w.exVariablen->windowTitle().toStdString(), "Variablen");
  EXPECT_EQ(w.dockWidgetArea(w.exPrj), Qt::LeftDockWidgetArea);
  EXPECT_EQ(w.dockWidgetArea(w.exLang), Qt::BottomDockWidgetArea);
  EXPECT_EQ(w.dockWidgetArea(w.exVariablen), Qt::BottomDockWidgetArea);
  EXPECT_LT(w.exLang->x(), w.exVariablen->x()) << "the language panel comes first";
  for (QDockWidget *d : {w.exPrj, w.exLang, w.exVariablen}) {
    EXPECT_FALSE(d->objectName().isEmpty());
    EXPECT_TRUE(d->features().testFlag(QDockWidget::DockWidgetFloatable));
    EXPECT_TRUE(d->isAreaAllowed(Qt::RightDockWidgetArea));
  }
  auto *ready = w.statusBar()->findChild<QLabel *>(QStringLiteral("statusReady"));
  ASSERT_NE(ready, nullptr);
  EXPECT_EQ(ready->text().toStdString(), "Bereit");
  EXPECT_EQ(ready->width(), 250);
}

TEST_F(WorkbenchTest, PanelsFloatAndDockAgain) {
  TfrmMain &w = Start();
  w.exVariablen->setFloating(true);
  EXPECT_TRUE(w.exVariablen->isFloating());
  EXPECT_TRUE(w.exVariablen->isVisible());
  w.addDockWidget(Qt::RightDockWidgetArea, w.exVariablen);
  w.exVariablen->setFloating(false);
  EXPECT_EQ(w.dockWidgetArea(w.exVariablen), Qt::RightDockWidgetArea);
  EXPECT_FALSE(w.exVariablen->isFloating());
}

TEST_F(WorkbenchTest, ViewMenuChecksFollowThePanelsAndTogglesThem) {
  TfrmMain &w = Start();
  EXPECT_TRUE(w.actBarItem1->isChecked());
  EXPECT_TRUE(w.actBarItem2->isChecked());
  EXPECT_TRUE(w.actBarItem3->isChecked());
  w.actBarItem2->trigger();
  EXPECT_FALSE(w.exVariablen->isVisible());
  EXPECT_TRUE(w.exPrj->isVisible());
  // Closing a panel by its own button must show up as unchecked when the menu opens.
  w.exPrj->close();
  emit w.mnuAnsicht->aboutToShow();
  EXPECT_FALSE(w.actBarItem1->isChecked());
  EXPECT_FALSE(w.actBarItem2->isChecked());
  EXPECT_TRUE(w.actBarItem3->isChecked());
  w.actBarItem1->trigger();
  w.actBarItem2->trigger();
  EXPECT_TRUE(w.exPrj->isVisible());
  EXPECT_TRUE(w.exVariablen->isVisible());
  emit w.mnuAnsicht->aboutToShow();
  EXPECT_TRUE(w.actBarItem1->isChecked());
  EXPECT_TRUE(w.actBarItem2->isChecked());
}

TEST_F(WorkbenchTest, EditorAndHighlighterGetTheirStoredFormSettings) {
  TfrmMain &w = Start();
  auto *edit = dynamic_cast<TKzEdit *>(w.editor->Widget());
  ASSERT_NE(edit, nullptr);
  const TKzEditKeyStrokes &keys = edit->Editor().Keystrokes();
  auto commandOf = [&keys](const char *text) -> int {
    TShortCut sc = 0;
    EXPECT_TRUE(TextToShortCut(text, sc)) << text;
    const int i = keys.FindShortcuts(sc, 0);
    return i < 0 ? -1 : keys[i].Command();
  };
  EXPECT_NE(commandOf("F1"), ecContextHelp);
  EXPECT_NE(commandOf("Ctrl+Alt+C"), ecCommentBlock);
  EXPECT_EQ(commandOf("Ctrl+F1"), ecContextHelp);
  EXPECT_EQ(edit->Editor().Font().Name, "Courier New");
  EXPECT_EQ(edit->Editor().Font().Height, -13);
  EXPECT_EQ(edit->Editor().Gutter().Font().Name, "Terminal");
  EXPECT_EQ(w.htmlHighlight->DefaultFilter(), "HTML Document (*.htm,*.html)|*.htm;*.html");
  EXPECT_TRUE(dialogs.Shown.empty());
}

TEST_F(WorkbenchTest, EditorContextMenuHoldsTheClipboardCommandsAndDelete) {
  TfrmMain &w = StartWithPack(demoPack);
  OpenTemplate("index.htm");
  EXPECT_EQ(Captions(w.editorMenu->actions()),
            (std::vector<std::string>{"Kopieren", "Einfügen", "Ausschneiden", "-", "Löschen"}));
  EXPECT_EQ(w.editorMenu->actions()[0], w.actItem3);
  EXPECT_EQ(w.editorMenu->actions()[4], w.actItem6);
  auto *edit = dynamic_cast<QAbstractScrollArea *>(w.editor->Widget());
  ASSERT_NE(edit, nullptr);
  const QPoint at(20, 20);
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, edit->viewport()->mapToGlobal(at));
  QApplication::sendEvent(edit->viewport(), &event);
  EXPECT_TRUE(w.editorMenu->isVisible());
  w.editorMenu->hide();
}
