// The project explorer of the main window: the tree of the pack's templates and files, the
// template opening on double click, and adding, importing and deleting files.
#include "workbench/untMain.h"

#include "completion/KzCompletionProposal.h"

#include "highlight/KzHighlighterCSS.h"
#include "highlight/KzHighlighterHtml.h"
#include "pack/FolderImport.h"
#include "pack/PackNames.h"
#include "pack/PackStore.h"
#include "platform/Dialogs.h"
#include "platform/qt/QtCodePage.h"
#include "workbench/AppWindows.h"
#include "workbench/ErrorHandler.h"
#include "workbench/HtmlView.h"
#include "workbench/PackText.h"
#include "workbench/TemplateEditor.h"
#include "workbench/TemplateTools.h"
#include "workbench/untAddFile.h"
#include "workbench/untPicture.h"
#include "workbench/untProgress.h"

#include <QApplication>
#include <QCursor>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QTreeWidget>

using kzp::codepage::FromQString;
using kzp::codepage::ToQString;

namespace {
QIcon TreeIcon(const char *name) {
  return QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(name)));
}

// The name a tree node stands for, as the store spells it.
std::string NodeName(const QTreeWidgetItem *item) { return FromQString(item->text(0)); }
} // namespace

void TfrmMain::SetupExplorer() {
  pmen = new QMenu(this);
  pmen->setObjectName(QStringLiteral("pmen"));
  pmen->addActions({actItem38, actItem40});
  pmem2 = new QMenu(this);
  pmem2->setObjectName(QStringLiteral("pmem2"));
  pmem2->addAction(actItem39);
  // Queued: opening a template may read the pack again and rebuild the tree, which must not
  // happen while the tree is still delivering the double click.
  connect(
      twProjekt, &QTreeWidget::itemDoubleClicked, this,
      [this] { RunGuarded([this] { twProjektDblClick(); }); }, Qt::QueuedConnection);
  connect(twProjekt, &QWidget::customContextMenuRequested, this,
          [this](const QPoint &pos) { twProjektContextPopup(pos); });
}

void TfrmMain::RebuildTree(const TPackContents &contents) {
  // Adding thousands of nodes one by one would repaint the tree for each.
  twProjekt->setUpdatesEnabled(false);
  twProjekt->clear();
  templateRoot_ = new QTreeWidgetItem(twProjekt, {QStringLiteral("Templates")});
  templateRoot_->setIcon(0, TreeIcon("tree-templates"));
  fileRoot_ = new QTreeWidgetItem(twProjekt, {QStringLiteral("Dateien")});
  fileRoot_->setIcon(0, TreeIcon("tree-files"));
  QList<QTreeWidgetItem *> templates, files;
  templates.reserve(static_cast<qsizetype>(contents.Templates.size()));
  files.reserve(static_cast<qsizetype>(contents.Files.size()));
  const QIcon templateIcon = TreeIcon("tree-template");
  const QIcon fileIcon = TreeIcon("tree-file");
  for (const std::string &name : contents.Templates) {
    auto *item = new QTreeWidgetItem({ToQString(name)});
    item->setIcon(0, templateIcon);
    templates.append(item);
  }
  for (const std::string &name : contents.Files) {
    auto *item = new QTreeWidgetItem({ToQString(name)});
    item->setIcon(0, fileIcon);
    files.append(item);
  }
  templateRoot_->addChildren(templates);
  fileRoot_->addChildren(files);
  templateRoot_->setExpanded(true);
  twProjekt->setUpdatesEnabled(true);
}

void TfrmMain::twProjektDblClick() {
  TPackStore &store = ThePackStore();
  if (store.PackPath == "na") {
    Dialogs().MessageDlg(this, "Bitte öffnen Sie zuerst ein Projekt!", "Kein Projekt",
                         TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    return;
  }
  const QTreeWidgetItem *node = twProjekt->currentItem();
  if (node && node->isSelected() && fileRoot_ && node->parent() == fileRoot_) {
    ShowPackFile(node->text(0));
    return;
  }
  if (!node || !node->isSelected() || node->parent() != templateRoot_ || !templateRoot_)
    return;
  const std::string name = NodeName(node);
  // The node may be gone once the question below has saved (and so perhaps read the pack
  // again), so only its caption is kept.
  const QString caption = node->text(0);
  const std::string text = store.GetTemplate(name);
  // The editor ends a text at its first NUL byte; what follows would be gone with the
  // next save, so such a template is not opened for editing at all.
  if (text.find('\0') != std::string::npos) {
    Dialogs().MessageDlg(this,
                         "Das Template \"" + caption.toStdString() +
                             "\" enthält ein Nullzeichen (Byte 0). Der Editor kann es nicht ohne "
                             "Textverlust bearbeiten; es wurde nicht geöffnet.",
                         "Template öffnen", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    return;
  }
  if (!QuerySaveTemplate())
    return;
  CPS->CancelList(); // it belongs to the text that goes now
  ShowTemplateText(name, text);
  store.CurrentTemplate = name;
  SearchDocumentReplaced(false);
  SetCaption(QString::fromUtf8(kAppTitle) + QStringLiteral(" - [") + caption + QLatin1Char(']'));
  SetEditorEnabled(true);
  // Opened to be edited: the keys go to the text, whether the template was opened by mouse
  // or by Return in the tree.
  editor->SetFocus();
  store.Modified = false;
  QString page = caption;
  page.replace(QStringLiteral(".css"), QStringLiteral(".htm"));
  htmVar->Navigate(QString::fromStdString(programDir_ + "varLib/") + page);
  templateTools->TemplateOpened();
}

void TfrmMain::ShowTemplateText(const std::string &name, const std::string &text) {
  // Style sheets are templates too; the web application tells them by their name.
  const bool styleSheet =
      QString::fromStdString(name).endsWith(QLatin1String(".css"), Qt::CaseInsensitive);
  TKzCustomHighlighter *wanted = styleSheet
                                     ? static_cast<TKzCustomHighlighter *>(cssHighlight.get())
                                     : static_cast<TKzCustomHighlighter *>(htmlHighlight.get());
  if (editor->Highlighter() != wanted) {
    // Emptied first, so that the new highlighter scans the text once rather than the old
    // text and then the new one.
    editor->SetText(std::string());
    editor->SetHighlighter(wanted);
  }
  editor->SetText(text);
}

void TfrmMain::ShowPackFile(const QString &caption) {
  // Decoding a file of many megabytes takes a moment.
  struct TWaitCursor {
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
  } wait;
  const std::optional<std::string> bytes =
      PackFileBytes(ThePackStore().Records, FromQString(caption));
  auto *viewer = findChild<TfrmPicture *>(QString(), Qt::FindDirectChildrenOnly);
  if (bytes && !viewer)
    viewer = new TfrmPicture(this);
  if (bytes)
    viewer->ShowFile(caption, *bytes);
}

QMenu *TfrmMain::twProjektContextPopup(const QPoint &pos) {
  if (ThePackStore().PackPath == "na")
    return nullptr;
  if (QTreeWidgetItem *hit = twProjekt->itemAt(pos))
    twProjekt->setCurrentItem(hit);
  const QTreeWidgetItem *node = twProjekt->currentItem();
  if (!node || !node->isSelected())
    return nullptr;
  QMenu *menu = nullptr;
  if (node == fileRoot_)
    menu = pmen;
  else if (node->parent() == fileRoot_ && fileRoot_)
    menu = pmem2;
  if (menu)
    menu->popup(QCursor::pos());
  return menu;
}

void TfrmMain::actItem38Click() {
  if (ThePackStore().PackPath == "na" || !fileRoot_)
    return; // the tree's menus only exist while a pack is open
  // A new dialog each time, so its fields always start empty.
  TfrmAddFile dlg(this);
  dlg.exec();
  if (dlg.SourcePath().empty())
    return;
  if (!FitsThePack(dlg.edZiel->text())) {
    Dialogs().MessageDlg(
        this, UnfitNameMessage(dlg.edZiel->text().toStdString(), "sie wurde nicht hinzugefügt."),
        "Datei hinzufügen", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    return;
  }
  const std::string target = dlg.TargetName();
  // The web application unpacks the files into its folders; a name must stay inside them.
  if (const std::string refusal = TargetNameRefusal(target); !refusal.empty()) {
    Dialogs().MessageDlg(this, refusal + " Die Datei wurde nicht hinzugefügt.", "Datei hinzufügen",
                         TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    return;
  }
  ThePackStore().AddFileRecord(target, dlg.SourcePath());
  auto *item = new QTreeWidgetItem(fileRoot_, {ToQString(target)});
  item->setIcon(0, TreeIcon("tree-file"));
}

void TfrmMain::actItem39Click() {
  QTreeWidgetItem *node = twProjekt->currentItem();
  if (!node || node->parent() != fileRoot_ || !fileRoot_)
    return;
  const QString caption = node->text(0);
  // A deleted file is gone from the pack file at once; there is no undo for it.
  if (Dialogs().MessageDlg(this, "Die Datei „" + caption.toStdString() + "“ aus dem Pack löschen?",
                           "Datei löschen", TMsgDlgType::mtConfirmation,
                           TMsgDlgButtons::mbYesNo) != TModalResult::mrYes)
    return;
  ThePackStore().DeleteFileRecord(NodeName(node));
  // The store removed every record of that name, so every node of that name goes too:
  // the tree never shows a file the pack no longer holds.
  for (int i = fileRoot_->childCount() - 1; i >= 0; --i)
    if (fileRoot_->child(i)->text(0) == caption)
      delete fileRoot_->takeChild(i);
}

void TfrmMain::actItem40Click() {
  if (ThePackStore().PackPath == "na" || !fileRoot_)
    return;
  const std::string folder = Dialogs().BrowseForFolder("Bitte wählen Sie ein Verzeichnis", "");
  if (folder.empty() || !QFileInfo(QString::fromStdString(folder)).isDir())
    return;
  // Every name is checked before anything is added, so that a refused import leaves the
  // pack as it was.
  std::vector<TImportFile> files;
  try {
    files = PrepareFolderImport(folder);
  } catch (const EPackImportRefused &refused) {
    Dialogs().MessageDlg(this, refused.what(), "Verzeichnis importieren", TMsgDlgType::mtWarning,
                         TMsgDlgButtons::mbOK);
    return;
  }
  TfrmProgress &progress = *AppWindows().Progress;
  progress.show();
  QApplication::processEvents();
  progress.ProgressBar1->setMaximum(static_cast<int>(files.size()));
  progress.ProgressBar1->setValue(0);
  const QIcon fileIcon = TreeIcon("tree-file");
  // The window stays usable while files are added, so another pack may be opened in
  // between; the rest of the folder must not land in that one.
  const std::string pack = ThePackStore().PackPath;
  bool otherPack = false;
  std::size_t added = 0;
  TImportProgress steps;
  steps.BeforeFile = [&](std::size_t, std::size_t) {
    QApplication::processEvents();
    if (ThePackStore().PackPath != pack) {
      otherPack = true;
      return false;
    }
    progress.ProgressBar1->setValue(progress.ProgressBar1->value() + 1);
    return true;
  };
  steps.Added = [&](const TImportFile &file) {
    auto *item = new QTreeWidgetItem(fileRoot_, {ToQString(file.Name)});
    item->setIcon(0, fileIcon);
    ++added;
    QApplication::processEvents();
  };
  try {
    RunFolderImport(ThePackStore(), files, steps);
  } catch (const std::exception &error) {
    // The files added so far stay; the window that showed the progress must not linger
    // on top of everything once the user has read why the import stopped.
    ShowException(error);
    progress.hide();
    return;
  }
  progress.hide();
  if (otherPack) {
    Dialogs().MessageDlg(this,
                         "Der Import wurde abgebrochen, weil ein anderes Pack geöffnet wurde. " +
                             std::to_string(added) + " von " + FileCount(files.size()) +
                             " wurden hinzugefügt.",
                         "Verzeichnis importieren", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    return;
  }
  fileRoot_->setExpanded(true);
  Dialogs().MessageDlg(this, "Importvorgang abgeschlossen.", "Verzeichnis importieren",
                       TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK);
}
