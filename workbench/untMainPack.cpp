// The main window's side of writing the pack: what it asks before a write when the pack was
// changed outside the studio or is cut off, and how it shows a pack read again.
#include "workbench/untMain.h"

#include "pack/PackNames.h"
#include "pack/PackStore.h"
#include "platform/Dialogs.h"
#include "workbench/ErrorHandler.h"
#include "workbench/TemplateEditor.h"
#include "workbench/TemplateTools.h"

#include <QEvent>
#include <QFileInfo>
#include <QTimer>

namespace {

std::string FileNameOf(const std::string &path) {
  return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

} // namespace

void TfrmMain::SetupPackStore() {
  TPackStore &store = ThePackStore();
  store.OnChangedOnDisk = [this] { return AskReloadBeforeWrite(); };
  store.OnWriteCutOff = [this] { return AskWriteCutOff(); };
  store.OnReloaded = [this](const TPackContents &contents) { PackReloaded(contents); };
}

void TfrmMain::RememberAskedAbout() {
  TFileIdentity now;
  if (IdentityOfTarget(ThePackStore().PackPath, now))
    askedAbout_ = now;
}

bool TfrmMain::AskAboutChangedPack(const char *choices) {
  RememberAskedAbout();
  askingAboutPack_ = true;
  const TModalResult answer = Dialogs().MessageDlg(
      this, std::string("Das Pack wurde außerhalb des Studios geändert.\n\n") + choices,
      "Pack geändert", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbReloadCancel);
  askingAboutPack_ = false;
  return answer == TModalResult::mrYes;
}

bool TfrmMain::AskReloadBeforeWrite() {
  return AskAboutChangedPack(
      "\"Neu laden\" liest es neu ein, wobei der Text im Editor bleibt, wie er ist, und "
      "führt dann den Befehl aus. \"Abbrechen\" schreibt nichts und lässt die Datei, wie "
      "sie ist.");
}

bool TfrmMain::AskWriteCutOff() {
  const TModalResult answer =
      Dialogs().MessageDlg(this,
                           "Das Pack \"" + FileNameOf(ThePackStore().PackPath) +
                               "\" ist unvollständig. " + ThePackStore().CutOffMessage() +
                               "\n\nWenn Sie jetzt speichern, wird es mit dem erhaltenen Teil neu "
                               "geschrieben, und was fehlt, ist "
                               "endgültig verloren. Trotzdem speichern?",
                           "Speichern", TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo);
  return answer == TModalResult::mrYes;
}

void TfrmMain::WarnIfCutOff(const TPackContents &contents) {
  if (!contents.CutOff)
    return;
  Dialogs().MessageDlg(
      this,
      "Das Pack \"" + FileNameOf(ThePackStore().PackPath) + "\" ist unvollständig. " +
          contents.CutOffMessage +
          "\n\nSie können es ansehen und bearbeiten. Vor dem ersten Speichern werden Sie "
          "gefragt, denn jedes Speichern macht den Verlust endgültig.",
      "Pack öffnen", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
}

void TfrmMain::PackReloaded(const TPackContents &contents) {
  // The records and the tree follow the file; the editor keeps its text and its changed
  // mark, so nothing typed is lost by reading the pack again.
  RememberAskedAbout();
  ShowMetaData(contents.Meta);
  RebuildTree(contents);
  WarnIfCutOff(contents);
}

void TfrmMain::CheckPackOnDisk() {
  TPackStore &store = ThePackStore();
  if (askingAboutPack_ || !store.ChangedOnDisk())
    return;
  TFileIdentity now;
  if (!IdentityOfTarget(store.PackPath, now) || now == askedAbout_)
    return;
  if (AskAboutChangedPack(
          "\"Neu laden\" liest es neu ein; der Text im Editor bleibt, wie er ist. \"Abbrechen\" "
          "lässt die Datei, wie sie ist; vor dem nächsten Speichern werden Sie wieder gefragt."))
    store.Reload();
}

void TfrmMain::changeEvent(QEvent *event) {
  QMainWindow::changeEvent(event);
  // Asked once the activation is over, not in the middle of it.
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !checkPending_) {
    checkPending_ = true;
    QTimer::singleShot(0, this, [this] {
      checkPending_ = false;
      RunGuarded([this] { CheckPackOnDisk(); });
    });
  }
}

bool TfrmMain::SaveCurrentTemplate() {
  TPackStore &store = ThePackStore();
  if (store.SaveTemplate(store.CurrentTemplate, editor->Text()) > 0) {
    editor->SetTextModified(false);
    templateTools->TemplateSaved(store.CurrentTemplate);
    return true;
  }
  // The pack read again no longer holds the template: saving wrote nothing of the text.
  Dialogs().MessageDlg(
      this,
      "Das Pack enthält das Template \"" + ShownName(store.CurrentTemplate) +
          "\" nicht mehr; es wurde außerhalb des Studios entfernt oder umbenannt. Der Text "
          "wurde nicht gespeichert und bleibt im Editor.",
      "Speichern", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
  return false;
}
