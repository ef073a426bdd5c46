// The main window: the template editor in the middle, the project explorer on the left, the
// two reference views below, and every command of the studio.
#pragma once

#include "completion/KzCompletionTypes.h"
#include "pack/PackFile.h"

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

namespace kzp {
class TStoredValue;
}

class QAction;
class QDockWidget;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TKzEditPrint;
class TKzBaseCompletionProposal;
class TKzCompletionProposal;
class TKzCompletionWindow;
class TKzCssHighlighter;
class TStudioSettings;
class TKzHTMLHighlighter;
class TSearchBar;
class TSearchResultsDock;
struct TKzSearchMatch;
class TTemplateEditor;
class TTemplateTools;
class THtmlView;
struct TPackContents;
namespace kzp {
class TPrinter;
}
struct kzpMetaData;
namespace Ui {
class frmMain;
}

extern const char *const kAppTitle; // "Tarvex Template Studio"

class TfrmMain : public QMainWindow {
  Q_OBJECT
public:
  // `programDir` is the folder of the program file with its trailing "/"; `arguments` are
  // the command-line arguments after the program's own name.
  TfrmMain(const std::string &programDir, const QStringList &arguments, QWidget *parent = nullptr);
  ~TfrmMain() override;

  // ---- document commands ----
  void actItem1Click();        // New pack
  void actBarItem4Click();     // Open pack
  void actItem8Click();        // Save template
  void actItem31Click();       // Print
  void actPrintPreviewClick(); // Print preview
  void actExportPdfClick();    // Export as PDF
  void actItem32Click();       // Exit
  void Button1Click();         // Save metadata
  void actBarItem1Click();     // show or hide "Projekt-Explorer"
  void actBarItem2Click();     // show or hide "Variablen-Explorer"
  void actBarItem3Click();     // show or hide "Language-Explorer"
  void actItem41Click();       // Help
  void actItem37Click();       // About
  void actGotoLineClick();     // "Gehe zu Zeile …"

  // ---- project explorer ----
  void twProjektDblClick();
  // Shows the pack's file `caption` in the file viewer.
  void ShowPackFile(const QString &caption);
  // Opens the menu that fits the node at `pos` (tree viewport coordinates) and returns
  // it, or null when no menu fits.
  QMenu *twProjektContextPopup(const QPoint &pos);
  void actItem38Click(); // Add file
  void actItem39Click(); // Delete file
  void actItem40Click(); // Import folder

  // ---- reference views and editing commands ----
  void htmLangBeforeNavigate(THtmlView &view, const QString &address, bool &cancel);
  void actItem11Click(); // Bold
  void actItem12Click(); // Italic
  void actItem13Click(); // Underline
  void actItem14Click(); // Align left
  void actItem15Click(); // Centre
  void actItem16Click(); // Align right
  void actItem17Click(); // Justify
  void actItem3Click();  // Copy
  void actItem4Click();  // Paste
  void actItem5Click();  // Cut
  void actItem6Click();  // Delete
  void actItem9Click();  // Undo
  void actItem10Click(); // Redo
  void editorChange();
  void editorKeyPress(char &key);
  // Whether the completion list may open: the second character left of the caret is "%".
  void CPSExecute(KzCompletionType kind, TKzBaseCompletionProposal &sender,
                  std::string &currentInput, int &x, int &y, bool &canExecute);

  // ---- search and replace (untMainSearch.cpp) ----
  // Opens the template `name` (asking about unsaved changes, as a double click does) and
  // selects `match` in it; nothing happens when the user cancels.
  void OpenSearchHit(const std::string &name, const TKzSearchMatch &match);
  // A template is open and the editor is not read-only.
  bool CanReplaceText() const;

  // Opens `path` as the pack shown; a failing load changes nothing and throws.
  void OpenPack(const std::string &path);
  // The unsaved-changes question. False when the user cancelled the command.
  bool QuerySaveTemplate();
  // Asks, once for each change, whether to read the open pack again when it was changed
  // outside the studio since the studio last read or wrote it. The window calls it when
  // it becomes active.
  void CheckPackOnDisk();

  const std::string &ProgramDir() const { return programDir_; }
  const std::string &HelpFile() const { return helpFile_; }
  QTreeWidgetItem *TemplateRoot() const { return templateRoot_; }
  QTreeWidgetItem *FileRoot() const { return fileRoot_; }
  // A print job that runs this long shows the progress window, so short ones do not flicker.
  int PrintProgressDelayMs = 400;
  // Set once Exit has ended the program.
  bool Terminated() const { return terminated_; }

  // The completion lists read at start-up, one entry per line, kept for the completion
  // list of the editor.
  std::vector<std::string> CPSItemList, CPSInsertList;
  // The completion list of template variables on the editor, and its pop-up window.
  std::unique_ptr<TKzCompletionProposal> CPS;
  TKzCompletionWindow *CPSWindow = nullptr;

  // Named components.
  TTemplateEditor *editor;
  std::unique_ptr<TKzHTMLHighlighter> htmlHighlight;
  std::unique_ptr<TKzEditPrint> printJob;
  std::unique_ptr<TKzCssHighlighter> cssHighlight; // for templates named "*.css"
  QTreeWidget *twProjekt;
  QLineEdit *metaTitel, *metaAuthor, *metaAuthorMail, *metaAuthorWeb, *metaOrdner;
  QPushButton *Button1;
  THtmlView *htmVar, *htmLang;
  QDockWidget *exPrj, *exVariablen, *exLang;
  QMenu *pmen, *pmem2, *editorMenu;
  QMenu *mnuAnsicht;
  // The preview and the template check, with their panels and commands.
  TTemplateTools *templateTools = nullptr;
  QMenu *mnuRecent; // "Datei" / "Zuletzt geöffnet"

  // Commands, shared by menus, tool bar and pop-up menus.
  QAction *actItem1, *actBarItem4, *actItem8, *actItem31, *actItem32;
  QAction *actPrintPreview, *actExportPdf;
  QAction *actItem3, *actItem4, *actItem5, *actItem6, *actItem9, *actItem10;
  QAction *actItem11, *actItem12, *actItem13, *actItem14, *actItem15, *actItem16, *actItem17;
  QAction *actBarItem1, *actBarItem2, *actBarItem3, *actItem41, *actItem37;
  QAction *actItem38, *actItem39, *actItem40;
  // "Bearbeiten": "Suchen …", "Weitersuchen", "Rückwärts suchen", "Ersetzen …",
  // "Im ganzen Pack suchen".
  QAction *actSuchen, *actWeitersuchen, *actRueckwaerts, *actErsetzen, *actPackSuchen;
  TSearchBar *searchBar;
  TSearchResultsDock *exSuche;
  QAction *actGotoLine;
  QAction *actLineNumbers; // "Ansicht" / "Zeilennummern"

protected:
  void closeEvent(QCloseEvent *event) override;
  void changeEvent(QEvent *event) override;

private:
  void FormCreate(const QStringList &arguments);
  // The lines of a list file; a file that cannot be read gives none, and its message is
  // added to `unread`.
  static std::vector<std::string> ReadListFile(const std::string &path,
                                               std::vector<std::string> &unread);
  void OpenCommandLinePack(const QString &argument);
  bool FormCloseQuery();
  void SetupCommands();
  void SetupLayout();
  void SetupExplorer();
  // The settings stored with the window's layout (fonts, keystrokes, print settings …),
  // compiled into the program.
  static kzp::TStoredValue StoredWindowSettings();
  void SetupEditor(const kzp::TStoredValue &stored);
  void SetupPrintJob(const kzp::TStoredValue &stored);
  void SetupSearch();
  // The editor's text was changed by an edit, or replaced by another template or pack.
  void SearchEditorChanged();
  void SearchDocumentReplaced(bool newPack);
  void SetupKeys();
  void SetupStatus();
  // Reads the user's settings and applies them; SaveSettings writes them back.
  void SetupSettings();
  void SaveSettings();
  void SetupRecentPacks();
  // Fills "Zuletzt geöffnet" (each time it opens, so that vanished packs show disabled).
  void RefreshRecentPacks();
  void OpenRecentPack(const QString &path);
  // A pack was opened: first in the recent list, and the dialogs start in its folder.
  void RememberPack(const std::string &path);
  // The title as the situation names it; " *" follows while the template has unsaved changes.
  void SetCaption(const QString &caption);
  void RefreshTitle();
  void RefreshStatus();
  // Last of the set-up, once every menu holds its items.
  void SetupMnemonics();
  void RebuildTree(const TPackContents &contents);
  // Puts a template's text into the editor with the highlighter its name asks for.
  void ShowTemplateText(const std::string &name, const std::string &text);
  void ShowMetaData(const kzpMetaData &meta);
  void WrapSelection(const char *opening, const char *closing);
  void UpdateViewChecks();
  // The editor and the commands on its text, enabled while a template is open.
  void SetEditorEnabled(bool enabled);
  // Undo and Redo as the editor's lists stand.
  void RefreshUndoButtons();
  void TogglePanel(QDockWidget *panel); // hides a visible panel, shows a hidden one
  void Terminate();
  QString VarMainPage() const;
  // The print job bound to the editor: its text, highlighter, font, tab width and selection,
  // with the open template's name as the title.
  void BindPrintJob();
  // Prints on printer with the progress window; false when the user cancelled.
  bool RunPrintJob(kzp::TPrinter &printer);
  // The store's questions before a write, and what it tells after reading the pack again.
  void SetupPackStore();
  bool AskAboutChangedPack(const char *choices); // true: "Neu laden"
  bool AskReloadBeforeWrite();
  bool AskWriteCutOff();
  void PackReloaded(const TPackContents &contents);
  void WarnIfCutOff(const TPackContents &contents);
  void RememberAskedAbout();
  // Saves the editor's text as the open template; false (with a warning) when the pack no
  // longer holds that template, so the text must stay in the editor.
  bool SaveCurrentTemplate();

  std::unique_ptr<Ui::frmMain> ui_;
  std::unique_ptr<TStudioSettings> settings_;
  QString caption_;
  QLabel *statusPack_ = nullptr, *statusCaret_ = nullptr, *statusMode_ = nullptr,
         *statusModified_ = nullptr;
  std::string programDir_;
  std::string helpFile_;
  QTreeWidgetItem *templateRoot_ = nullptr;
  QTreeWidgetItem *fileRoot_ = nullptr;
  bool terminated_ = false;
  // The pack file as it was when the user was last asked about it, so one change of it
  // is asked about once; and whether a question about it is up.
  TFileIdentity askedAbout_;
  bool askingAboutPack_ = false;
  bool checkPending_ = false;
};
