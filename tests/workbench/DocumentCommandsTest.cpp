// The document commands of the main window: open, new, save template, save metadata,
// exit and closing, with the unsaved-changes question in front of them.
#include "WorkbenchFixture.h"

#include "workbench/AppWindows.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"
#include "workbench/untNew.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace fs = std::filesystem;

namespace {
const char *const kPromptText = "Das aktuelle Template wurde geändert.\nMöchten Sie es speichern?";

std::string TemplateRecordOf(const std::string &pack, const std::string &name) {
  for (const std::string &r : PackRecords(pack))
    if (RecordKey(r) == name)
      return r;
  return {};
}
} // namespace

class DocumentCommandsTest : public WorkbenchTest {
protected:
  // A window on the demo pack with main.css open and edited.
  void StartEdited() {
    if (frm) {
      DestroyAppWindows();
      frm.reset();
    }
    WriteTestPack(demoPack, {"Demo", "Anna", "anna@example.com", "www.example.com", "demo"},
                  {{"main.css", "body { }"}, {"index.htm", "<p>Hallo</p>"}});
    StartWithPack(demoPack);
    OpenTemplate("main.css");
    frm->editor->SetText("edited");
    ThePackStore().Modified = true;
  }
  bool Saved() { return TemplateRecordOf(demoPack, "main.css") == "main.css\t.\tedited"; }
  void ExpectPrompt(std::size_t index) {
    ASSERT_GT(dialogs.Shown.size(), index);
    const TShownMessage &m = dialogs.Shown[index];
    EXPECT_EQ(m.Text, kPromptText);
    EXPECT_EQ(m.Caption, "Template öffnen");
    EXPECT_EQ(m.Type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(m.Buttons, TMsgDlgButtons::mbYesNoCancel);
    EXPECT_EQ(m.Owner, frm.get());
  }
  // Runs `command` once for each answer and checks saving and going on.
  void CheckPromptAnswers(const std::function<void()> &command, const std::function<bool()> &wentOn,
                          const std::function<void()> &scriptRest = {}) {
    for (TModalResult answer : {TModalResult::mrYes, TModalResult::mrNo, TModalResult::mrCancel}) {
      SCOPED_TRACE(static_cast<int>(answer));
      StartEdited();
      dialogs.Shown.clear();
      dialogs.Answers = {answer};
      if (answer != TModalResult::mrCancel && scriptRest)
        scriptRest();
      command();
      ExpectPrompt(0);
      EXPECT_EQ(Saved(), answer == TModalResult::mrYes);
      EXPECT_EQ(wentOn(), answer != TModalResult::mrCancel);
    }
  }
};

TEST_F(DocumentCommandsTest, NewAsksFirstAndCancelLeavesTheDialogUnopened) {
  bool dialogShown = false;
  CheckPromptAnswers(
      [&] {
        dialogShown = false;
        AppWindows().New->metaTitel->setText("kept");
        frm->actItem1Click();
      },
      [&] { return dialogShown; },
      [&] {
        WhenModalOpens([&](QWidget &modal) {
          dialogShown = &modal == AppWindows().New;
          modal.close();
        });
      });
  // Cancel came last: the dialog's fields were not touched.
  EXPECT_EQ(AppWindows().New->metaTitel->text().toStdString(), "kept");
}

TEST_F(DocumentCommandsTest, OpenAsksFirst) {
  CheckPromptAnswers(
      [&] {
        dialogs.OpenTitles.clear();
        frm->actBarItem4Click();
      },
      [&] { return dialogs.OpenTitles.size() == 1; }, [&] { dialogs.OpenAnswers = {""}; });
}

TEST_F(DocumentCommandsTest, OpeningAnotherTemplateAsksFirst) {
  CheckPromptAnswers([&] { OpenTemplate("index.htm"); },
                     [&] { return ThePackStore().CurrentTemplate == "index.htm"; });
}

TEST_F(DocumentCommandsTest, ExitAsksFirstAndEndsWithoutASecondQuestion) {
  CheckPromptAnswers([&] { frm->actItem32Click(); },
                     [&] { return frm->Terminated() && dialogs.Shown.size() == 1; });
}

TEST_F(DocumentCommandsTest, ClosingTheWindowAsksFirst) {
  CheckPromptAnswers([&] { frm->close(); }, [&] { return !frm->isVisible(); });
}

TEST_F(DocumentCommandsTest, NoQuestionWithoutChangesOrWithoutTemplate) {
  StartWithPack(demoPack);
  ThePackStore().Modified = true; // typed before any template was open
  frm->actItem32Click();
  EXPECT_TRUE(frm->Terminated());
  EXPECT_TRUE(dialogs.Shown.empty());
}

TEST_F(DocumentCommandsTest, SaveStoresTheTemplateAndClearsModifiedSoExitAsksNothing) {
  StartWithPack(demoPack);
  OpenTemplate("main.css");
  frm->editor->SetText("a\r\nb\tc");
  ThePackStore().Modified = true;
  frm->actItem8Click();
  EXPECT_FALSE(ThePackStore().Modified);
  EXPECT_EQ(TemplateRecordOf(demoPack, "main.css"), "main.css\t.\ta<_R_><_N_>b<_T_>c");
  frm->actItem32Click();
  EXPECT_TRUE(frm->Terminated());
  EXPECT_TRUE(dialogs.Shown.empty());
}

TEST_F(DocumentCommandsTest, SaveWarnsWithoutPackWithoutTemplateAndForTheTemplateNamedNa) {
  Start();
  dialogs.Answers = {TModalResult::mrOk, TModalResult::mrOk, TModalResult::mrOk};
  frm->actItem8Click();
  frm->OpenPack(demoPack);
  frm->actItem8Click();
  const std::string before = ReadFile(demoPack);
  OpenTemplate("na");
  EXPECT_EQ(frm->editor->Text(), "x");
  EXPECT_EQ(frm->windowTitle().toStdString(), "Tarvex Template Studio - [na]");
  frm->actItem8Click();
  ASSERT_EQ(dialogs.Shown.size(), 3u);
  for (const TShownMessage &m : dialogs.Shown) {
    EXPECT_EQ(m.Text, "Bitte öffnen Sie zuerst ein Projekt bzw. ein Template.");
    EXPECT_EQ(m.Caption, "Speichern");
    EXPECT_EQ(m.Type, TMsgDlgType::mtWarning);
  }
  EXPECT_EQ(ReadFile(demoPack), before);
}

TEST_F(DocumentCommandsTest, OpenShowsTheDialogWithItsFilterAndOpensTheChosenPack) {
  const std::string other = (dir / "other.kzp").string();
  WriteTestPack(other, {"Zweites", "Bert", "b@example.com", "b.example.com", "zwei"},
                {{"a.htm", "A"}});
  StartWithPack(demoPack);
  OpenTemplate("main.css");
  dialogs.OpenAnswers = {other};
  frm->actBarItem4Click();
  EXPECT_EQ(dialogs.OpenFilters, (std::vector<std::string>{"ZelkoTemplateFile (*.kzp)|*.kzp"}));
  EXPECT_EQ(ThePackStore().PackPath, other);
  EXPECT_EQ(ThePackStore().CurrentTemplate, "na");
  EXPECT_EQ(frm->editor->Text(), "");
  EXPECT_EQ(frm->windowTitle().toStdString(), "Tarvex Template Studio");
  EXPECT_EQ(frm->metaTitel->text().toStdString(), "Zweites");
  ASSERT_EQ(frm->TemplateRoot()->childCount(), 1);
  EXPECT_EQ(frm->TemplateRoot()->child(0)->text(0).toStdString(), "a.htm");
  EXPECT_EQ(frm->FileRoot()->childCount(), 0);
}

TEST_F(DocumentCommandsTest, OpeningAFileThatIsNoPackReportsItAndKeepsThePreviousPack) {
  const std::string broken = (dir / "broken.kzp").string();
  WriteFile(broken, "");
  StartWithPack(demoPack);
  OpenTemplate("main.css");
  dialogs.OpenAnswers = {broken};
  dialogs.Answers = {TModalResult::mrOk};
  frm->actBarItem4->trigger(); // through the command table, which reports what failed
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtError);
  EXPECT_FALSE(dialogs.Shown[0].Text.empty());
  EXPECT_EQ(ThePackStore().PackPath, demoPack);
  EXPECT_EQ(ThePackStore().CurrentTemplate, "main.css");
  EXPECT_EQ(frm->windowTitle().toStdString(), "Tarvex Template Studio - [main.css]");
  EXPECT_EQ(frm->metaTitel->text().toStdString(), "Demo");
  EXPECT_EQ(frm->TemplateRoot()->childCount(), 3);
}

class NewPackTest : public DocumentCommandsTest {
protected:
  // Fills the New-pack dialog once it is open and confirms it with `target`.
  void ConfirmNewPack(const std::string &target, const kzpMetaData &meta) {
    dialogs.SaveAnswers = {target};
    WhenModalOpens([meta](QWidget &modal) {
      auto &dlg = dynamic_cast<TfrmNew &>(modal);
      dlg.metaTitel->setText(QString::fromStdString(meta.Titel));
      dlg.metaAuthor->setText(QString::fromStdString(meta.Author));
      dlg.metaAuthorMail->setText(QString::fromStdString(meta.AuthorMail));
      dlg.metaAuthorWeb->setText(QString::fromStdString(meta.AuthorWeb));
      dlg.metaOrdner->setText(QString::fromStdString(meta.Ordner));
      QTest::mouseClick(dlg.Button2, Qt::LeftButton);
      QTest::mouseClick(dlg.Button1, Qt::LeftButton);
    });
  }
  void ExpectDialogCleared() {
    const TfrmNew &dlg = *AppWindows().New;
    for (const QLineEdit *f : {dlg.Edit1, dlg.metaTitel, dlg.metaAuthor, dlg.metaAuthorMail,
                               dlg.metaAuthorWeb, dlg.metaOrdner})
      EXPECT_TRUE(f->text().isEmpty()) << f->objectName().toStdString();
  }
};

TEST_F(NewPackTest, CreatesThePackFromTheStandardPackWithTheDialogsMetadata) {
  Start();
  const std::string target = (dir / "neu.kzp").string();
  ConfirmNewPack(target, {"Mein Pack", "Carla", "c@example.com", "www.c.example", "mein"});
  frm->actItem1Click();
  EXPECT_EQ(ThePackStore().PackPath, target);
  const kzpMetaData meta = PackMeta(target);
  EXPECT_EQ(meta.Titel, "Mein Pack");
  EXPECT_EQ(meta.Author, "Carla");
  EXPECT_EQ(meta.AuthorMail, "c@example.com");
  EXPECT_EQ(meta.AuthorWeb, "www.c.example");
  EXPECT_EQ(meta.Ordner, "mein");
  const std::vector<std::string> records = PackRecords(target);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(RecordKey(records[1]), "index.htm");
  EXPECT_EQ(RecordKey(records[2]), "main.css");
  EXPECT_EQ(frm->metaTitel->text().toStdString(), "Mein Pack");
  EXPECT_EQ(frm->metaOrdner->text().toStdString(), "mein");
  EXPECT_EQ(frm->windowTitle().toStdString(), "Tarvex Template Studio");
  EXPECT_EQ(frm->TemplateRoot()->childCount(), 2);
  EXPECT_EQ(dialogs.SaveTitles, (std::vector<std::string>{"Zieldatei wählen"}));
  EXPECT_EQ(dialogs.SaveFilters, (std::vector<std::string>{"Zelko Template File (*.kzp)|*.kzp"}));
  ExpectDialogCleared();
  // The standard pack itself is untouched.
  EXPECT_EQ(PackMeta(programDir + "stdtpl.db").Titel, "Standard");
}

TEST_F(NewPackTest, AnExistingTargetKeepsItsRecordsAndGetsOnlyNewMetadata) {
  Start();
  const std::vector<std::string> before = PackRecords(demoPack);
  ConfirmNewPack(demoPack, {"Neu", "Dora", "d@example.com", "www.d.example", "neu"});
  dialogs.Answers = {TModalResult::mrYes}; // replace the metadata of the existing file
  frm->actItem1Click();
  const std::vector<std::string> after = PackRecords(demoPack);
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(
      after[0],
      "Neu	.	Dora	.	d@example.com	.	www.d.example	.	neu");
  for (std::size_t i = 1; i < after.size(); ++i)
    EXPECT_EQ(after[i], before[i]);
  EXPECT_EQ(frm->FileRoot()->childCount(), 1);
}

TEST_F(NewPackTest, LeavingTheDialogByItsFrameCreatesNothingAndClearsTheFields) {
  Start();
  WhenModalOpens([](QWidget &modal) {
    auto &dlg = dynamic_cast<TfrmNew &>(modal);
    dlg.metaTitel->setText("verworfen");
    dlg.Edit1->setText("/tmp/nie.kzp");
    dlg.close();
  });
  frm->actItem1Click();
  EXPECT_EQ(ThePackStore().PackPath, "na");
  EXPECT_FALSE(fs::exists("/tmp/nie.kzp"));
  EXPECT_EQ(AppWindows().New->act->text().toStdString(), "no");
  ExpectDialogCleared();
}

TEST_F(DocumentCommandsTest, SaveMetadataWritesTheFiveFieldsInOrder) {
  StartWithPack(demoPack);
  frm->metaTitel->setText(QString::fromUtf8("Grüße"));
  frm->metaAuthor->setText("B");
  frm->metaAuthorMail->setText("C");
  frm->metaAuthorWeb->setText("D");
  frm->metaOrdner->setText("E");
  frm->Button1Click();
  // The pack holds the program's 8-bit text: "ü" is one byte.
  EXPECT_EQ(PackRecords(demoPack)[0], "Gr\xFC\xDF"
                                      "e\t.\tB	.	C	.	D	.	E");
}

TEST_F(DocumentCommandsTest, SaveMetadataRefusesAnEmptyFieldAndWritesNothing) {
  StartWithPack(demoPack);
  const std::string before = ReadFile(demoPack);
  frm->metaAuthorWeb->clear();
  dialogs.Answers = {TModalResult::mrOk};
  QTest::mouseClick(frm->Button1, Qt::LeftButton);
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Caption, "Fehler");
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtWarning);
  EXPECT_EQ(ReadFile(demoPack), before);
  EXPECT_EQ(ThePackStore().Records[0], "Demo	.	Anna	.	anna@example.com	"
                                       ".	www.example.com	.	demo");
}

TEST_F(DocumentCommandsTest, SaveMetadataRefusesCharactersThePackCannotHold) {
  StartWithPack(demoPack);
  const std::string before = ReadFile(demoPack);
  frm->metaAuthorMail->setText(QStringLiteral("anna\u2192bert@example.com"));
  dialogs.Answers = {TModalResult::mrOk};
  frm->Button1Click();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text,
            "Das Feld \"E-Mail\" enthält Zeichen, die ein Template-Pack nicht speichern "
            "kann; es wurde nichts gespeichert.");
  EXPECT_EQ(dialogs.Shown[0].Caption, "Fehler");
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtWarning);
  EXPECT_EQ(ReadFile(demoPack), before);
  // The euro sign and umlauts are part of the code page and go through.
  frm->metaAuthorMail->setText(QStringLiteral("\u20ac\u00e4@example.com"));
  frm->Button1Click();
  EXPECT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(PackMeta(demoPack).AuthorMail, "\x80\xE4@example.com");
}

TEST_F(DocumentCommandsTest, SaveMetadataWithoutPackWarns) {
  Start();
  frm->metaTitel->setText("x");
  dialogs.Answers = {TModalResult::mrOk};
  frm->Button1Click();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text, "Bitte öffnen Sie zuerst ein *.KZP-Projekt!");
  EXPECT_EQ(dialogs.Shown[0].Caption, "Fehler");
}

TEST_F(DocumentCommandsTest, HelpDoesNothingWithoutTheHelpLibrary) {
  WriteFile(programDir + "kzpStudio.chm", "ITSF");
  Start();
  frm->actItem41->trigger();
  EXPECT_TRUE(dialogs.Shown.empty());
}

namespace {
// A receiver whose event handling fails the way a file operation does.
class TFailingReceiver : public QObject {
public:
  bool event(QEvent *e) override {
    if (e->type() == QEvent::User)
      throw EPackIOError("Zugriff verweigert: /nirgends/pack.kzp", 13);
    return QObject::event(e);
  }
};
} // namespace

TEST_F(DocumentCommandsTest, AnErrorEscapingAnEventHandlerIsShownAndTheProgramGoesOn) {
  TFailingReceiver receiver;
  QEvent event(QEvent::User);
  dialogs.Answers = {TModalResult::mrOk};
  EXPECT_NO_THROW(QApplication::sendEvent(&receiver, &event));
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Text, "Zugriff verweigert: /nirgends/pack.kzp");
  EXPECT_EQ(dialogs.Shown[0].Caption, "Tarvex Template Studio");
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtError);
}

TEST_F(DocumentCommandsTest, AFailingSaveIsReportedAndKeepsTheChangeMarked) {
  StartWithPack(demoPack);
  OpenTemplate("main.css");
  frm->editor->SetText("neu");
  ThePackStore().Modified = true;
  // The pack's folder is gone, so the pack cannot be written.
  const std::string before = ReadFile(demoPack);
  ThePackStore().PackPath = (dir / "weg" / "demo.kzp").string();
  dialogs.Answers = {TModalResult::mrOk};
  frm->actItem8->trigger();
  ASSERT_EQ(dialogs.Shown.size(), 1u);
  EXPECT_EQ(dialogs.Shown[0].Type, TMsgDlgType::mtError);
  EXPECT_TRUE(ThePackStore().Modified) << "nothing was saved, so the change still counts";
  EXPECT_EQ(ReadFile(demoPack), before);
}
