// The studio's writes to its pack: a pack changed outside the studio is asked about and read
// again or left alone, a cut-off pack warns and asks, a failed write leaves nothing behind in
// memory, refused target names, and one folder imported alike by the studio and kzp.
#include "WorkbenchFixture.h"

#include "pack/PackFile.h"
#include "workbench/AppWindows.h"
#include "workbench/ErrorHandler.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <new>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

using List = std::vector<std::string>;

const char *const kChanged = "Das Pack wurde außerhalb des Studios geändert.";

bool StartsWith(const std::string &text, const std::string &start) {
  return text.rfind(start, 0) == 0;
}

class PackWritePaths : public WorkbenchTest {
protected:
  // Another program (here a second store) adds a file to the open pack.
  void AddBehindTheStudiosBack(const std::string &name) {
    WriteFile(dir / "fremd.bin", "F");
    TPackStore other;
    other.LoadPack(demoPack);
    other.AddFileRecord(name, (dir / "fremd.bin").string());
  }

  // Opens main.css and gives it new text, marked as changed.
  void EditMainCss() {
    OpenTemplate("main.css");
    frm->editor->SetText("neu");
    ThePackStore().Modified = true;
  }
};

TEST_F(PackWritePaths, NeuLadenReadsTheChangedPackKeepsTheEditorAndThenSaves) {
  StartWithPack(demoPack);
  EditMainCss();
  AddBehindTheStudiosBack("fremd.gif");
  dialogs.Answers = {TModalResult::mrYes};
  frm->actItem8->trigger();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_TRUE(StartsWith(dialogs.Shown[0].Text, kChanged)) << dialogs.Shown[0].Text;
  EXPECT_EQ(dialogs.Shown[0].Buttons, TMsgDlgButtons::mbReloadCancel);
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtConfirmation);
  // Both changes are in the pack, and the tree shows what the pack holds.
  EXPECT_EQ(FileRecordNames(demoPack), (List{"logo.gif", "fremd.gif"}));
  EXPECT_EQ(Children(frm->FileRoot()), (List{"logo.gif", "fremd.gif"}));
  TPackStore fresh;
  fresh.LoadPack(demoPack);
  EXPECT_EQ(fresh.GetTemplate("main.css"), "neu");
  EXPECT_EQ(frm->editor->Text(), "neu");
  EXPECT_EQ(ThePackStore().CurrentTemplate, "main.css");
  EXPECT_FALSE(ThePackStore().Modified);
  EXPECT_EQ(frm->windowTitle().toStdString(), "Tarvex Template Studio - [main.css]");
}

TEST_F(PackWritePaths, AbbrechenWritesNothingAndEveryLaterWriteAsksAgain) {
  StartWithPack(demoPack);
  EditMainCss();
  AddBehindTheStudiosBack("fremd.gif");
  const std::string theirs = ReadFile(demoPack);
  WriteFile(dir / "neu.gif", "N");
  dialogs.Answers = {TModalResult::mrCancel, TModalResult::mrCancel, TModalResult::mrCancel};
  frm->actItem8->trigger();
  frm->Button1->click();
  // As the menu runs it: through the error handler.
  RunGuarded([&] { AddFile((dir / "neu.gif").string(), QString()); });
  ASSERT_EQ(dialogs.Shown.size(), 3u);
  for (const TShownMessage &m : dialogs.Shown)
    EXPECT_TRUE(StartsWith(m.Text, kChanged)) << m.Text;
  EXPECT_EQ(ReadFile(demoPack), theirs);
  EXPECT_EQ(Children(frm->FileRoot()), (List{"logo.gif"}));
  EXPECT_EQ(frm->editor->Text(), "neu");
  EXPECT_TRUE(ThePackStore().Modified);
}

TEST_F(PackWritePaths, TheWindowAsksOnceForEachChangeWhenItIsActivated) {
  StartWithPack(demoPack);
  EditMainCss();
  frm->CheckPackOnDisk();
  EXPECT_TRUE(dialogs.Shown.empty()) << "nothing changed";

  AddBehindTheStudiosBack("eins.gif");
  dialogs.Answers = {TModalResult::mrCancel};
  frm->CheckPackOnDisk();
  frm->CheckPackOnDisk();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_TRUE(StartsWith(dialogs.Shown[0].Text, kChanged));
  EXPECT_EQ(Children(frm->FileRoot()), (List{"logo.gif"}));

  AddBehindTheStudiosBack("zwei.gif");
  dialogs.Answers = {TModalResult::mrYes};
  frm->CheckPackOnDisk();
  ASSERT_EQ(dialogs.Shown.size(), 2u);
  EXPECT_EQ(Children(frm->FileRoot()), (List{"logo.gif", "eins.gif", "zwei.gif"}));
  EXPECT_EQ(frm->editor->Text(), "neu");
  EXPECT_TRUE(ThePackStore().Modified);
  EXPECT_FALSE(ThePackStore().ChangedOnDisk());

  // Activating the window is what asks.
  AddBehindTheStudiosBack("drei.gif");
  dialogs.Answers = {TModalResult::mrCancel};
  QEvent activation(QEvent::ActivationChange);
  frm->activateWindow();
  QApplication::sendEvent(frm.get(), &activation);
  for (int i = 0; i < 20 && dialogs.Shown.size() < 3; ++i)
    QApplication::processEvents();
  ASSERT_TRUE(frm->isActiveWindow());
  ASSERT_EQ(dialogs.Shown.size(), 3u);
  EXPECT_TRUE(StartsWith(dialogs.Shown[2].Text, kChanged));
}

TEST_F(PackWritePaths, AReadAgainPackWithoutTheOpenTemplateKeepsTheTextUnsaved) {
  StartWithPack(demoPack);
  EditMainCss();
  WriteTestPack(demoPack, {"Demo", "Anna", "anna@example.com", "www.example.com", "demo"},
                {{"index.htm", "x"}});
  const std::string theirs = ReadFile(demoPack);
  dialogs.Answers = {TModalResult::mrYes, TModalResult::mrOk};
  frm->actItem8->trigger();
  ASSERT_EQ(dialogs.Shown.size(), 2u);
  EXPECT_EQ(dialogs.Shown[1].Text,
            "Das Pack enthält das Template \"main.css\" nicht mehr; es wurde außerhalb des "
            "Studios entfernt oder umbenannt. Der Text wurde nicht gespeichert und bleibt "
            "im Editor.");
  EXPECT_EQ(frm->editor->Text(), "neu");
  EXPECT_TRUE(ThePackStore().Modified);
  EXPECT_EQ(Children(frm->TemplateRoot()), (List{"index.htm"}));
  EXPECT_EQ(ReadFile(demoPack), theirs) << "the save wrote the pack it read, unchanged";
}

TEST_F(PackWritePaths, ACutOffPackWarnsWhenOpenedAndAsksBeforeTheFirstWrite) {
  const std::string whole = ReadFile(demoPack);
  const std::string cut = whole.substr(0, whole.size() - 12);
  WriteFile(demoPack, cut);
  dialogs.Answers = {TModalResult::mrOk};
  StartWithPack(demoPack);
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Caption, "Pack öffnen");
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtWarning);
  EXPECT_TRUE(StartsWith(dialogs.Shown[0].Text,
                         "Das Pack \"demo.kzp\" ist unvollständig. Die Datei endet mitten "
                         "im Pack; es fehlt, was nach dem letzten vollständigen Eintrag kam. "
                         "Der letzte vollständige Eintrag ist das Template \"na\"; die "
                         "Datei \"logo.gif\" danach ist abgeschnitten."))
      << dialogs.Shown[0].Text;

  dialogs.Answers = {TModalResult::mrNo};
  frm->Button1->click();
  ASSERT_EQ(dialogs.Shown.size(), 2u);
  EXPECT_EQ(dialogs.Shown[1].Caption, "Speichern");
  EXPECT_EQ(dialogs.Shown[1].Buttons, TMsgDlgButtons::mbYesNo);
  EXPECT_NE(dialogs.Shown[1].Text.find("endgültig verloren. Trotzdem speichern?"),
            std::string::npos);
  EXPECT_EQ(ReadFile(demoPack), cut);

  dialogs.Answers = {TModalResult::mrYes};
  frm->Button1->click();
  EditMainCss();
  frm->actItem8->trigger();
  EXPECT_EQ(dialogs.Shown.size(), 3u) << "asked before the first write only";
  TPackStore fresh;
  EXPECT_FALSE(fresh.LoadPack(demoPack).CutOff);
  EXPECT_EQ(fresh.GetTemplate("main.css"), "neu");
}

TEST_F(PackWritePaths, AFailedWriteLeavesNoHiddenRecordForTheNextOne) {
  StartWithPack(demoPack);
  const List records = PackRecords(demoPack);
  const std::string source = (dir / "bild.png").string();
  WriteFile(source, "PNG");
  ::chmod(demoPack.c_str(), 0444);
  dialogs.Answers = {TModalResult::mrOk, TModalResult::mrOk};
  RunGuarded([&] { AddFile(source, QString()); });
  EditMainCss();
  frm->actItem8->trigger();
  ASSERT_EQ(dialogs.Shown.size(), 2u);
  EXPECT_EQ(dialogs.Shown[0].Text, "Zugriff verweigert: " + demoPack);
  EXPECT_EQ(Children(frm->FileRoot()), (List{"logo.gif"}));
  EXPECT_EQ(ThePackStore().Records, records);
  EXPECT_EQ(frm->editor->Text(), "neu");
  EXPECT_TRUE(ThePackStore().Modified) << "the failed save can be repeated";

  // Writable again, the metadata's "Speichern" writes the metadata and nothing else.
  ::chmod(demoPack.c_str(), 0644);
  frm->metaTitel->setText(QStringLiteral("Neu"));
  frm->Button1->click();
  List expected = records;
  expected[0] = "Neu\t.\tAnna\t.\tanna@example.com\t.\twww.example.com\t.\tdemo";
  EXPECT_EQ(PackRecords(demoPack), expected);
  frm->actItem8->trigger();
  EXPECT_FALSE(ThePackStore().Modified);
  TPackStore fresh;
  fresh.LoadPack(demoPack);
  EXPECT_EQ(fresh.GetTemplate("main.css"), "neu");
}

TEST_F(PackWritePaths, AddFileRefusesTargetNamesThatWouldLeaveTheFolder) {
  StartWithPack(demoPack);
  const std::string before = ReadFile(demoPack);
  const std::string source = (dir / "bild.png").string();
  WriteFile(source, "PNG");
  dialogs.Answers = {TModalResult::mrOk, TModalResult::mrOk, TModalResult::mrOk};
  for (const char *name : {"../bild.png", "/etc/bild.png", "a\\b.png"})
    AddFile(source, QString::fromUtf8(name));
  ASSERT_EQ(dialogs.Shown.size(), 3u);
  EXPECT_EQ(dialogs.Shown[0].Text,
            "Der Zielname \"../bild.png\" ist nicht erlaubt: er enthält den Ordnernamen "
            "\"..\". Ein Zielname ist ein relativer Pfad im Pack, dessen Ordner durch \"/\" "
            "getrennt sind. Die Datei wurde nicht hinzugefügt.");
  for (const TShownMessage &m : dialogs.Shown) {
    EXPECT_EQ(m.Caption, "Datei hinzufügen");
    EXPECT_EQ(m.Type, TMsgDlgType::mtWarning);
  }
  EXPECT_EQ(ReadFile(demoPack), before);
  EXPECT_EQ(Children(frm->FileRoot()), (List{"logo.gif"}));
}

TEST_F(PackWritePaths, TheStudioAndKzpImportOneFolderIntoTheSameBytes) {
  const fs::path folder = dir / "import";
  WriteFile(folder / "a.gif", "A");
  WriteFile(folder / "grün" / "ä.png", std::string("\0\1\2", 3));
  WriteFile(folder / "grün" / "tief" / "€ – „x“.css", "body{}");
  const std::string copy = (dir / "kopie.kzp").string();
  fs::copy_file(demoPack, copy);

  StartWithPack(demoPack);
  dialogs.FolderAnswers = {folder.string()};
  dialogs.Answers = {TModalResult::mrOk};
  frm->actItem40Click();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text, "Importvorgang abgeschlossen.");

  const pid_t pid = ::fork();
  if (pid == 0) {
    ::execl(KZ_BIN_DIR "/kzp", "kzp", "import", copy.c_str(), folder.c_str(),
            static_cast<char *>(nullptr));
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadFile(copy), ReadFile(demoPack));
  EXPECT_EQ(FileRecordNames(demoPack).size(), 4u);
  // The tree shows the names as the user reads them.
  const List shown = Children(frm->FileRoot());
  EXPECT_NE(std::find(shown.begin(), shown.end(), "grün/tief/€ – „x“.css"), shown.end());
}

TEST_F(PackWritePaths, ErrorsWithoutAGermanTextOfTheirOwnAreShownInGerman) {
  dialogs.Answers = {TModalResult::mrOk, TModalResult::mrOk, TModalResult::mrOk};
  RunGuarded([] { throw std::bad_alloc(); });
  RunGuarded([] { throw std::out_of_range("vector::_M_range_check"); });
  RunGuarded([] { throw EPackCancelled(); });
  RunGuarded([] { throw 42; });
  ASSERT_EQ(dialogs.Shown.size(), 3u);
  EXPECT_EQ(dialogs.Shown[0].Text, "Nicht genügend Arbeitsspeicher; der Befehl wurde abgebrochen.");
  EXPECT_EQ(dialogs.Shown[1].Text,
            "Interner Fehler (vector::_M_range_check); der Befehl wurde abgebrochen.");
  EXPECT_EQ(dialogs.Shown[2].Text, "Unbekannter interner Fehler; der Befehl wurde abgebrochen.");
}

} // namespace
