// The main window's state at a glance: " *" in the title while the template has unsaved
// changes, and a status bar with the pack, the caret's line and column, the typing mode and
// whether the text was changed.
#include "workbench/untMain.h"

#include "pack/PackStore.h"
#include "workbench/TemplateEditor.h"

#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>

void TfrmMain::SetupStatus() {
  // The first panel ("Bereit" until a pack is open) names the pack; the others sit at the
  // right edge, as in other editors.
  statusPack_ = statusBar()->findChild<QLabel *>(QStringLiteral("statusReady"));
  auto addPanel = [this](const char *name, const QString &widest) {
    auto *panel = new QLabel(statusBar());
    panel->setObjectName(QLatin1String(name));
    panel->setAlignment(Qt::AlignCenter);
    panel->setMinimumWidth(panel->fontMetrics().horizontalAdvance(widest) + 12);
    statusBar()->addPermanentWidget(panel);
    return panel;
  };
  statusCaret_ = addPanel("statusCaret", QStringLiteral("Zeile 999999, Spalte 99999"));
  statusMode_ = addPanel("statusMode", QStringLiteral("Überschreiben"));
  statusModified_ = addPanel("statusModified", QStringLiteral("Geändert"));
  editor->OnStatusChange = [this] {
    RefreshTitle();
    RefreshStatus();
  };
}

void TfrmMain::SetCaption(const QString &caption) {
  caption_ = caption;
  RefreshTitle();
  RefreshStatus();
}

void TfrmMain::RefreshTitle() {
  // The editor's own record of changes, not the pack store's Modified, which any key sets:
  // the mark goes away again when every change is undone.
  const bool changed = editor->Enabled() && editor->TextModified();
  const QString title = changed ? caption_ + QStringLiteral(" *") : caption_;
  if (windowTitle() != title)
    setWindowTitle(title);
}

void TfrmMain::RefreshStatus() {
  const std::string &pack = ThePackStore().PackPath;
  statusPack_->setText(pack == "na" ? QStringLiteral("Bereit")
                                    : QFileInfo(QString::fromStdString(pack)).fileName());
  statusPack_->setToolTip(pack == "na" ? QString() : QString::fromStdString(pack));
  const bool editing = editor->Enabled();
  statusCaret_->setText(
      editing ? QStringLiteral("Zeile %1, Spalte %2").arg(editor->CaretY()).arg(editor->CaretX())
              : QString());
  statusMode_->setText(!editing               ? QString()
                       : editor->InsertMode() ? QStringLiteral("Einfügen")
                                              : QStringLiteral("Überschreiben"));
  statusModified_->setText(editing && editor->TextModified() ? QStringLiteral("Geändert")
                                                             : QString());
}
