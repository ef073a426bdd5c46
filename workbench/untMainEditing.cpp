// The reference views' navigation guard and the editing commands of the main window: the
// format commands, the clipboard, delete, undo and redo, and the buttons that follow them.
#include "workbench/untMain.h"

#include "pack/PackStore.h"
#include "platform/qt/QtCodePage.h"
#include "workbench/HtmlView.h"
#include "workbench/TemplateEditor.h"
#include "workbench/TemplateTools.h"

#include <QAction>
#include <QFileInfo>

void TfrmMain::htmLangBeforeNavigate(THtmlView &, const QString &address, bool &cancel) {
  // "kzp:" links carry text for the template; the text goes in as written, escapes and all.
  if (address.startsWith(QLatin1String("kzp:"), Qt::CaseSensitive)) {
    cancel = true;
    // With no template open the text would land in an editor nobody can save.
    if (!editor->Enabled())
      return;
    editor->SetSelectedText(kzp::codepage::FromQString(address.mid(4)));
    editor->SetFocus();
    return;
  }
  if (!QFileInfo(address).isFile()) {
    cancel = true;
    // Anything but a page beside the program sends the variable view home. When home is
    // missing too, its own refusal must not start the same redirect again.
    const QString home = VarMainPage();
    if (address != home)
      htmVar->Navigate(home);
  }
}

void TfrmMain::WrapSelection(const char *opening, const char *closing) {
  editor->SetSelectedText(opening + editor->SelectedText() + closing);
}

void TfrmMain::actItem11Click() { WrapSelection("<b>", "</b>"); }
void TfrmMain::actItem12Click() { WrapSelection("<i>", "</i>"); }
void TfrmMain::actItem13Click() { WrapSelection("<u>", "</u>"); }
void TfrmMain::actItem14Click() { WrapSelection("<div style=\"text-align:left;\">", "</div>"); }
void TfrmMain::actItem15Click() { WrapSelection("<div style=\"text-align:center;\">", "</div>"); }
void TfrmMain::actItem16Click() { WrapSelection("<div style=\"text-align:right;\">", "</div>"); }
void TfrmMain::actItem17Click() { WrapSelection("<div style=\"text-align:justify;\">", "</div>"); }

void TfrmMain::actItem3Click() { editor->CopySelection(); }
void TfrmMain::actItem4Click() { editor->PasteClipboard(); }
void TfrmMain::actItem5Click() { editor->CutSelection(); }
void TfrmMain::actItem6Click() { editor->SetSelectedText(std::string()); }
void TfrmMain::actItem9Click() { editor->Undo(); }
void TfrmMain::actItem10Click() { editor->Redo(); }

void TfrmMain::editorChange() {
  ThePackStore().Modified = true;
  RefreshUndoButtons();
  SearchEditorChanged();
  templateTools->TextChanged();
}

void TfrmMain::RefreshUndoButtons() {
  actItem9->setEnabled(editor->Enabled() && editor->UndoAvailable());
  actItem10->setEnabled(editor->Enabled() && editor->RedoAvailable());
}

void TfrmMain::SetEditorEnabled(bool enabled) {
  editor->SetEnabled(enabled);
  // The commands that work on the editor's text go with it.
  for (QAction *command : {actItem3, actItem4, actItem5, actItem6, actItem11, actItem12, actItem13,
                           actItem14, actItem15, actItem16, actItem17, actGotoLine})
    command->setEnabled(enabled);
  RefreshUndoButtons();
  RefreshTitle();
  RefreshStatus();
}

void TfrmMain::editorKeyPress(char &) { ThePackStore().Modified = true; }

void TfrmMain::CPSExecute(KzCompletionType, TKzBaseCompletionProposal &, std::string &, int &,
                          int &, bool &canExecute) {
  // Typed "%" is already left of the caret, so the list opens on "%%"; Ctrl+Space opens it
  // when the second character to the left is "%".
  const std::string line = editor->LineText(editor->CaretY());
  const int column = editor->CaretX() - 2;
  canExecute = column >= 1 && column <= static_cast<int>(line.size()) &&
               line[static_cast<std::size_t>(column - 1)] == '%';
}
