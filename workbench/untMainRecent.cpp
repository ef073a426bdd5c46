// "Datei" / "Zuletzt geöffnet": the packs opened last, and the folder the file dialogs start
// in, both following every pack the window opens.
#include "workbench/untMain.h"

#include "platform/Dialogs.h"
#include "workbench/ErrorHandler.h"
#include "workbench/StudioSettings.h"
#include "workbench/TemplateEditor.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

void TfrmMain::SetupRecentPacks() {
  mnuRecent = new QMenu(QStringLiteral("Zuletzt geöffnet"), this);
  mnuRecent->setObjectName(QStringLiteral("mnuRecent"));
  mnuRecent->setToolTipsVisible(true);
  connect(mnuRecent, &QMenu::aboutToShow, this, &TfrmMain::RefreshRecentPacks);
  // Right under "Öffnen", where the other way of opening a pack is.
  QMenu *file = nullptr;
  for (QAction *title : menuBar()->actions())
    if (title->menu() && title->menu()->actions().contains(actBarItem4))
      file = title->menu();
  if (file) {
    const QList<QAction *> items = file->actions();
    const qsizetype open = items.indexOf(actBarItem4);
    file->insertMenu(open + 1 < items.size() ? items[open + 1] : nullptr, mnuRecent);
  }
  RefreshRecentPacks();
  // Until a pack is opened, the dialogs start where the last one lay.
  const QStringList recent = settings_->RecentPacks();
  if (!recent.isEmpty())
    Dialogs().SetStartFolder(QFileInfo(recent.front()).absolutePath().toStdString());
}

void TfrmMain::RefreshRecentPacks() {
  mnuRecent->clear();
  const QStringList packs = settings_->RecentPacks();
  if (packs.isEmpty()) {
    mnuRecent->addAction(QStringLiteral("(keine)"))->setEnabled(false);
    return;
  }
  int number = 0;
  for (const QString &path : packs) {
    const QFileInfo info(path);
    QAction *item = mnuRecent->addAction(
        QStringLiteral("&%1  %2  (%3)")
            .arg(++number)
            .arg(info.fileName(), QDir::toNativeSeparators(info.absolutePath())));
    item->setToolTip(path);
    // A pack that was moved or deleted stays in the list, but cannot be chosen.
    item->setEnabled(info.isFile());
    connect(item, &QAction::triggered, this,
            [this, path] { RunGuarded([this, path] { OpenRecentPack(path); }); });
  }
}

void TfrmMain::OpenRecentPack(const QString &path) {
  if (!QuerySaveTemplate())
    return;
  OpenPack(path.toStdString());
}

void TfrmMain::RememberPack(const std::string &path) {
  const QFileInfo info(QString::fromStdString(path));
  settings_->AddRecentPack(info.absoluteFilePath());
  settings_->Sync();
  Dialogs().SetStartFolder(info.absolutePath().toStdString());
}
