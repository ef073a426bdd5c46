// The main window: layout, start-up and the document commands (new, open, save, print, exit),
// with the unsaved-changes question that guards them.
#include "workbench/untMain.h"

#include "completion/KzCompletionProposal.h"
#include "completion/qt/KzCompletionWindow.h"
#include "highlight/KzHighlighterCSS.h"
#include "highlight/KzHighlighterHtml.h"
#include "pack/PackNames.h"
#include "pack/PackStore.h"
#include "platform/Dialogs.h"
#include "platform/StoredForm.h"
#include "platform/TextLines.h"
#include "platform/qt/QtCodePage.h"
#include "print/KzEditPrint.h"
#include "ui_frmMain.h"
#include "workbench/AppWindows.h"
#include "workbench/ErrorHandler.h"
#include "workbench/HtmlHelp.h"
#include "workbench/HtmlView.h"
#include "workbench/PackText.h"
#include "workbench/StudioSettings.h"
#include "workbench/StudioTheme.h"
#include "workbench/TemplateEditor.h"
#include "workbench/TemplateTools.h"
#include "workbench/untAbout.h"
#include "workbench/untNew.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>

using kzp::codepage::ToQString;

const char *const kAppTitle = "Tarvex Template Studio";

namespace {
// The lines of a list file as bytes. Read as a plain file only, so a pipe put in its place
// cannot stop the start-up.
std::vector<std::string> ReadTextLines(const std::string &path) {
  return kzp::SplitTextLines(ReadWholeFile(path));
}
} // namespace

TfrmMain::TfrmMain(const std::string &programDir, const QStringList &arguments, QWidget *parent)
    : QMainWindow(parent), ui_(std::make_unique<Ui::frmMain>()), programDir_(programDir) {
  ui_->setupUi(this);
  SetupLayout();
  // Read once for everything set up from them; when they cannot be read, the message shows
  // once and everything keeps its defaults.
  kzp::TStoredValue stored;
  RunGuarded([&] { stored = StoredWindowSettings(); });
  SetupEditor(stored);
  SetupPrintJob(stored);
  SetupCommands();
  SetupExplorer();
  SetupPackStore();
  SetupSearch();
  templateTools = new TTemplateTools(*this);
  SetupSettings();
  SetupRecentPacks();
  SetupKeys();
  SetupStatus();
  SetupMnemonics();
  FormCreate(arguments);
}

TfrmMain::~TfrmMain() {
  TPackStore &store = ThePackStore();
  store.OnChangedOnDisk = nullptr;
  store.OnWriteCutOff = nullptr;
  store.OnReloaded = nullptr;
  // The completion list and the editor refer to each other's window; the list goes first,
  // while the editor still exists. The editor refers to the highlighter; it goes with the
  // window's widgets, so it is told first that the highlighter is going away.
  SaveSettings();
  CPS.reset();
  editor->SetHighlighter(nullptr);
}

void TfrmMain::SetupLayout() {
  twProjekt = ui_->twProjekt;
  metaTitel = ui_->metaTitel;
  metaAuthor = ui_->metaAuthor;
  metaAuthorMail = ui_->metaAuthorMail;
  metaAuthorWeb = ui_->metaAuthorWeb;
  metaOrdner = ui_->metaOrdner;
  Button1 = ui_->Button1;
  htmVar = ui_->htmVar;
  htmLang = ui_->htmLang;
  exPrj = ui_->exPrj;
  exVariablen = ui_->exVariablen;
  exLang = ui_->exLang;
  mnuAnsicht = ui_->mnuAnsicht;
  // Both views ask the same guard before they go anywhere, the program's own navigations
  // included.
  for (THtmlView *view : {htmVar, htmLang})
    view->OnBeforeNavigate = [this](THtmlView &v, const QString &address, bool &cancel) {
      htmLangBeforeNavigate(v, address, cancel);
    };

  // The right side has no panel of its own but takes any the user drops there.
  for (QDockWidget *dock : {exPrj, exVariablen, exLang})
    dock->setAllowedAreas(Qt::AllDockWidgetAreas);
  exLang->setMinimumWidth(120);
  resizeDocks({exPrj}, {214}, Qt::Horizontal);
  resizeDocks({exLang, exVariablen}, {275, 275}, Qt::Horizontal);

  auto *ready = new QLabel(QStringLiteral("Bereit"), statusBar());
  ready->setObjectName(QStringLiteral("statusReady"));
  ready->setFixedWidth(250);
  statusBar()->addWidget(ready);

  ApplyStudioTheme(*this);
}

kzp::TStoredValue TfrmMain::StoredWindowSettings() {
  QFile form(QStringLiteral(":/frmMain.json"));
  if (!form.open(QIODevice::ReadOnly))
    throw std::runtime_error("Die gespeicherten Fenstereinstellungen fehlen.");
  const QByteArray json = form.readAll();
  return kzp::ParseStoredForm(std::string_view(json.constData(), json.size()));
}

void TfrmMain::SetupEditor(const kzp::TStoredValue &stored) {
  editor = new TTemplateEditor(ui_->centralPanel);
  ui_->centralLayout->addWidget(editor->Widget());
  htmlHighlight = std::make_unique<TKzHTMLHighlighter>();
  CPSWindow = new TKzCompletionWindow(this);
  CPS = std::make_unique<TKzCompletionProposal>(*CPSWindow);
  // The settings fixed with the window's layout: the editor's fonts and keystroke changes,
  // the highlighter's file filter, the completion list's look and behaviour.
  RunGuarded([&] {
    if (const kzp::TStoredValue *settings = stored.Find("htmlHighlight")) {
      htmlHighlight->BeginLoading();
      if (const kzp::TStoredValue *filter = settings->Find("DefaultFilter"))
        htmlHighlight->SetDefaultFilter(filter->AsString("htmlHighlight.DefaultFilter"));
      htmlHighlight->EndLoading();
    }
    if (const kzp::TStoredValue *settings = stored.Find("editor"))
      editor->ApplyStoredForm(*settings);
    if (const kzp::TStoredValue *settings = stored.Find("CPS"))
      LoadStoredCompletionSettings(*CPS, *settings);
  });
  editor->SetHighlighter(htmlHighlight.get());
  cssHighlight = std::make_unique<TKzCssHighlighter>();
  editor->OnChange = [this] { RunGuarded([this] { editorChange(); }); };
  editor->OnKeyPress = [this](char &key) { editorKeyPress(key); };
  editor->AttachCompletion(*CPS);
  CPS->OnExecute = [this](KzCompletionType kind, TKzBaseCompletionProposal &sender,
                          std::string &input, int &x, int &y,
                          bool &canExecute) { CPSExecute(kind, sender, input, x, y, canExecute); };
}

void TfrmMain::SetupCommands() {
  Ui::frmMain &u = *ui_;
  actItem1 = u.actItem1;
  actBarItem4 = u.actBarItem4;
  actItem8 = u.actItem8;
  actItem31 = u.actItem31;
  actItem32 = u.actItem32;
  actPrintPreview = u.actPrintPreview;
  actExportPdf = u.actExportPdf;
  actItem3 = u.actItem3;
  actItem4 = u.actItem4;
  actItem5 = u.actItem5;
  actItem6 = u.actItem6;
  actItem9 = u.actItem9;
  actItem10 = u.actItem10;
  actItem11 = u.actItem11;
  actItem12 = u.actItem12;
  actItem13 = u.actItem13;
  actItem14 = u.actItem14;
  actItem15 = u.actItem15;
  actItem16 = u.actItem16;
  actItem17 = u.actItem17;
  actBarItem1 = u.actBarItem1;
  actBarItem2 = u.actBarItem2;
  actBarItem3 = u.actBarItem3;
  actItem41 = u.actItem41;
  actItem37 = u.actItem37;
  actItem38 = u.actItem38;
  actItem39 = u.actItem39;
  actItem40 = u.actItem40;

  // The one table of commands: each action's icon and handler. Menus, tool bar and pop-up
  // menus show these same actions, so a command looks and acts alike everywhere.
  const struct {
    QAction *Action;
    const char *Icon;
    void (TfrmMain::*Handler)();
  } commands[] = {
      {actItem1, "new", &TfrmMain::actItem1Click},
      {actBarItem4, "open", &TfrmMain::actBarItem4Click},
      {actItem8, "save", &TfrmMain::actItem8Click},
      {actItem31, "print", &TfrmMain::actItem31Click},
      {actPrintPreview, nullptr, &TfrmMain::actPrintPreviewClick},
      {actExportPdf, nullptr, &TfrmMain::actExportPdfClick},
      {actItem32, nullptr, &TfrmMain::actItem32Click},
      {actItem3, "copy", &TfrmMain::actItem3Click},
      {actItem4, "paste", &TfrmMain::actItem4Click},
      {actItem5, "cut", &TfrmMain::actItem5Click},
      {actItem6, "delete", &TfrmMain::actItem6Click},
      {actItem9, "undo", &TfrmMain::actItem9Click},
      {actItem10, "redo", &TfrmMain::actItem10Click},
      {actItem11, "bold", &TfrmMain::actItem11Click},
      {actItem12, "italic", &TfrmMain::actItem12Click},
      {actItem13, "underline", &TfrmMain::actItem13Click},
      {actItem14, "alignleft", &TfrmMain::actItem14Click},
      {actItem15, "aligncenter", &TfrmMain::actItem15Click},
      {actItem16, "alignright", &TfrmMain::actItem16Click},
      {actItem17, "justify", &TfrmMain::actItem17Click},
      {actBarItem1, nullptr, &TfrmMain::actBarItem1Click},
      {actBarItem2, nullptr, &TfrmMain::actBarItem2Click},
      {actBarItem3, nullptr, &TfrmMain::actBarItem3Click},
      {actItem41, "help", &TfrmMain::actItem41Click},
      {actItem37, nullptr, &TfrmMain::actItem37Click},
      {actItem38, nullptr, &TfrmMain::actItem38Click},
      {actItem39, "delete", &TfrmMain::actItem39Click},
      {actItem40, nullptr, &TfrmMain::actItem40Click},
  };
  for (const auto &c : commands) {
    if (c.Icon)
      c.Action->setIcon(QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(c.Icon))));
    const auto handler = c.Handler;
    connect(c.Action, &QAction::triggered, this,
            [this, handler] { RunGuarded([&] { (this->*handler)(); }); });
  }
  connect(Button1, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button1Click(); }); });
  connect(mnuAnsicht, &QMenu::aboutToShow, this, &TfrmMain::UpdateViewChecks);

  editorMenu = new QMenu(this);
  editorMenu->setObjectName(QStringLiteral("editorMenu"));
  editorMenu->addActions({actItem3, actItem4, actItem5});
  editorMenu->addSeparator();
  editorMenu->addAction(actItem6);
  QWidget *editorWidget = editor->Widget();
  editorWidget->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(editorWidget, &QWidget::customContextMenuRequested, this,
          [this, editorWidget](const QPoint &pos) {
            editorMenu->popup(editorWidget->mapToGlobal(pos));
          });
}

void TfrmMain::FormCreate(const QStringList &arguments) {
  helpFile_ = programDir_ + "kzpStudio.chm";
  SetCaption(QString::fromUtf8(kAppTitle));
  SetEditorEnabled(false);
  // A list that cannot be read costs the completion its entries, nothing more: it is
  // reported once, and the pages and the pack named on the command line still open.
  std::vector<std::string> unreadLists;
  CPSInsertList = ReadListFile(programDir_ + "varLib02.db", unreadLists);
  CPSItemList = ReadListFile(programDir_ + "varLib01.db", unreadLists);
  CPS->SetInsertList(CPSInsertList);
  CPS->SetItemList(CPSItemList);
  if (!unreadLists.empty()) {
    std::string text = "Die Variablenlisten der Vervollständigung konnten nicht gelesen werden:\n";
    for (const std::string &reason : unreadLists)
      text += "\n" + reason;
    text += "\n\nDie Vervollständigung bietet deshalb nicht alle Variablen an.";
    Dialogs().MessageDlg(this, text, "Variablenlisten", TMsgDlgType::mtWarning,
                         TMsgDlgButtons::mbOK);
  }
  RunGuarded([&] {
    htmLang->Navigate(QString::fromStdString(programDir_ + "varLib/lang.htm"));
    htmVar->Navigate(VarMainPage());
  });
  if (!arguments.isEmpty())
    RunGuarded([&] { OpenCommandLinePack(arguments.front()); });
}

std::vector<std::string> TfrmMain::ReadListFile(const std::string &path,
                                                std::vector<std::string> &unread) {
  try {
    return ReadTextLines(path);
  } catch (const EPackIOError &error) {
    unread.push_back(error.what());
    return {};
  }
}

void TfrmMain::OpenCommandLinePack(const QString &argument) {
  const QFileInfo info(argument);
  if (info.isFile()) {
    OpenPack(argument.toStdString());
    return;
  }
  const std::string shown = "„" + argument.toStdString() + "“";
  std::string text;
  if (info.isDir())
    text = shown + " ist ein Ordner, keine Template-Pack-Datei.";
  else if (info.exists())
    text = shown + " ist keine gewöhnliche Datei und kann nicht als Template-Pack geöffnet werden.";
  else
    text = "Die Datei " + shown + " wurde nicht gefunden.";
  Dialogs().MessageDlg(this, text, "Öffnen", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
}

QString TfrmMain::VarMainPage() const {
  return QString::fromStdString(programDir_ + "varLib/var_main.htm");
}

void TfrmMain::ShowMetaData(const kzpMetaData &meta) {
  metaTitel->setText(ToQString(meta.Titel));
  metaAuthor->setText(ToQString(meta.Author));
  metaAuthorMail->setText(ToQString(meta.AuthorMail));
  metaAuthorWeb->setText(ToQString(meta.AuthorWeb));
  metaOrdner->setText(ToQString(meta.Ordner));
}

void TfrmMain::OpenPack(const std::string &path) {
  // An open list belongs to the text that is about to go.
  CPS->CancelList();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  TPackContents contents;
  try {
    contents = ThePackStore().LoadPack(path);
  } catch (const EPackNotAPackError &) {
    QApplication::restoreOverrideCursor();
    // The store's own words name a list index; what the user needs to know is that the
    // file chosen holds no pack.
    std::error_code ignored;
    const bool empty = std::filesystem::file_size(path, ignored) == 0;
    throw EPackNotAPackError(
        "„" + path + "“ ist keine Template-Pack-Datei (" +
        (empty ? "die Datei ist leer" : "sie enthält keinen einzigen Eintrag") + ").");
  } catch (...) {
    QApplication::restoreOverrideCursor();
    throw;
  }
  SetCaption(QString::fromUtf8(kAppTitle));
  RememberPack(path);
  ShowMetaData(contents.Meta);
  RebuildTree(contents);
  editor->SetText(std::string());
  SearchDocumentReplaced(true);
  templateTools->PackOpened();
  RememberAskedAbout();
  // Until a template is open there is nothing the typed text could belong to.
  SetEditorEnabled(false);
  QApplication::restoreOverrideCursor();
  // At start-up the window is not on screen yet; the warning waits until it is.
  if (isVisible())
    WarnIfCutOff(contents);
  else if (contents.CutOff)
    QTimer::singleShot(0, this, [this, contents] { WarnIfCutOff(contents); });
}

bool TfrmMain::QuerySaveTemplate() {
  TPackStore &store = ThePackStore();
  if (!store.Modified || store.CurrentTemplate == "na")
    return true;
  const TModalResult answer = Dialogs().MessageDlg(
      this, "Das aktuelle Template wurde geändert.\nMöchten Sie es speichern?", "Template öffnen",
      TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNoCancel);
  if (answer == TModalResult::mrCancel)
    return false;
  if (answer == TModalResult::mrYes)
    return SaveCurrentTemplate();
  return true;
}

void TfrmMain::actItem1Click() {
  if (!QuerySaveTemplate())
    return;
  TfrmNew &dlg = *AppWindows().New;
  dlg.act->setText(QStringLiteral("no"));
  dlg.exec();
  if (dlg.act->text() == QLatin1String("do")) {
    const std::string target = dlg.TargetPath();
    const std::string standardPack = programDir_ + "stdtpl.db";
    if (!std::filesystem::exists(target) && !std::filesystem::exists(standardPack)) {
      // Opening the target would fail with "not found" and name the target, although
      // what is missing is the pack that new packs are copied from.
      Dialogs().MessageDlg(this,
                           "Das Standard-Pack „" + standardPack +
                               "“ fehlt. Neue Template-Packs werden als Kopie davon angelegt; "
                               "ohne es kann kein neues Pack erstellt werden.",
                           "Erstellen", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
      return;
    }
    // An existing target is reused as it is: the copy never overwrites it.
    std::error_code copyError;
    std::filesystem::copy_file(standardPack, target, std::filesystem::copy_options::skip_existing,
                               copyError);
    if (copyError && !std::filesystem::exists(target)) {
      Dialogs().MessageDlg(this,
                           "Die Datei „" + target + "“ konnte nicht angelegt werden: " +
                               IOErrorMessage(copyError.value(), ""),
                           "Erstellen", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
      return;
    }
    const kzpMetaData meta = dlg.MetaData();
    OpenPack(target);
    ThePackStore().WriteMetaData(meta);
    ShowMetaData(meta);
    SetCaption(QString::fromUtf8(kAppTitle));
  }
  dlg.ClearFields();
}

void TfrmMain::actBarItem4Click() {
  if (!QuerySaveTemplate())
    return;
  const std::string path =
      Dialogs().OpenFileName(this, "Öffnen", "ZelkoTemplateFile (*.kzp)|*.kzp");
  if (path.empty() || !QFileInfo(QString::fromStdString(path)).isFile())
    return;
  OpenPack(path);
  editor->SetText(std::string());
}

void TfrmMain::actItem8Click() {
  TPackStore &store = ThePackStore();
  if (store.PackPath != "na" && store.CurrentTemplate != "na") {
    // A save that fails (or finds the template gone) leaves the text marked as changed.
    if (SaveCurrentTemplate())
      store.Modified = false;
    return;
  }
  Dialogs().MessageDlg(this, "Bitte öffnen Sie zuerst ein Projekt bzw. ein Template.", "Speichern",
                       TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
}

void TfrmMain::Button1Click() {
  if (ThePackStore().PackPath == "na") {
    Dialogs().MessageDlg(this, "Bitte öffnen Sie zuerst ein *.KZP-Projekt!", "Fehler",
                         TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    return;
  }
  // An empty string does not read back from a pack (the fields after it would shift), so
  // the metadata are only written when all five hold text.
  for (const QLineEdit *field :
       {metaTitel, metaAuthor, metaAuthorMail, metaAuthorWeb, metaOrdner}) {
    if (field->text().isEmpty()) {
      Dialogs().MessageDlg(this,
                           "Bitte füllen Sie alle fünf Felder aus. Ein leeres Feld würde die "
                           "Metadaten des Packs beschädigen; es wurde nichts gespeichert.",
                           "Fehler", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
      return;
    }
  }
  // The pack keeps the program's 8-bit text; a character outside it would silently vanish.
  if (const char *label =
          FirstUnfitMetaField(metaTitel, metaAuthor, metaAuthorMail, metaAuthorWeb, metaOrdner)) {
    Dialogs().MessageDlg(this, UnfitMetaFieldMessage(label), "Fehler", TMsgDlgType::mtWarning,
                         TMsgDlgButtons::mbOK);
    return;
  }
  const kzpMetaData meta =
      MetaDataOf(metaTitel, metaAuthor, metaAuthorMail, metaAuthorWeb, metaOrdner);
  ThePackStore().WriteMetaData(meta);
  // Reading the pack again on the way showed the file's metadata; the fields show what
  // was written.
  ShowMetaData(meta);
}

void TfrmMain::Terminate() {
  terminated_ = true;
  // Ending the event loop is all there is to do; without a running loop (a window driven
  // by a script) exit() would instead make every later loop return at once.
  if (QThread::currentThread()->loopLevel() > 0)
    QCoreApplication::exit(0);
}

void TfrmMain::actItem32Click() {
  if (!QuerySaveTemplate())
    return;
  Terminate();
}

bool TfrmMain::FormCloseQuery() { return QuerySaveTemplate(); }

void TfrmMain::closeEvent(QCloseEvent *event) {
  if (terminated_) {
    event->accept();
    return;
  }
  bool mayClose = false;
  RunGuarded([&] { mayClose = FormCloseQuery(); });
  if (mayClose)
    event->accept();
  else
    event->ignore();
}

void TfrmMain::UpdateViewChecks() {
  actBarItem1->setChecked(exPrj->isVisibleTo(this));
  actBarItem2->setChecked(exVariablen->isVisibleTo(this));
  actBarItem3->setChecked(exLang->isVisibleTo(this));
}

void TfrmMain::TogglePanel(QDockWidget *panel) {
  panel->setVisible(!panel->isVisibleTo(this));
  UpdateViewChecks();
}

void TfrmMain::actBarItem1Click() { TogglePanel(exPrj); }
void TfrmMain::actBarItem2Click() { TogglePanel(exVariablen); }
void TfrmMain::actBarItem3Click() { TogglePanel(exLang); }

void TfrmMain::actItem41Click() {
  if (!QFileInfo(QString::fromStdString(helpFile_)).isFile()) {
    Dialogs().MessageDlg(this, "Die Hilfedatei „" + helpFile_ + "“ fehlt.", "Hilfe",
                         TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    return;
  }
  if (HtmlHelpAvailable() && HtmlHelp(this, helpFile_, HH_DISPLAY_INDEX, 0) == 0)
    Dialogs().MessageDlg(this,
                         "Die Hilfedatei „" + helpFile_ +
                             "“ kann nicht angezeigt werden; sie ist nicht lesbar oder beschädigt.",
                         "Hilfe", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
}

void TfrmMain::actItem37Click() { AppWindows().About->exec(); }
