// The findings panel.
#include "workbench/CheckDock.h"

#include "platform/qt/QtCodePage.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

TCheckDock::TCheckDock(QWidget *parent) : QDockWidget(QStringLiteral("Prüfung"), parent) {
  setObjectName(QStringLiteral("exPruefung"));
  setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
  auto *holder = new QWidget(this);
  auto *layout = new QVBoxLayout(holder);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  summary_ = new QLabel(holder);
  summary_->setObjectName(QStringLiteral("lblPruefung"));
  layout->addWidget(summary_);
  list_ = new QTreeWidget(holder);
  list_->setObjectName(QStringLiteral("lvPruefung"));
  list_->setHeaderLabels({QStringLiteral("Template"), QStringLiteral("Zeile"),
                          QStringLiteral("Spalte"), QStringLiteral("Meldung")});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->header()->setStretchLastSection(true);
  layout->addWidget(list_);
  setWidget(holder);
  connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
    const int row = list_->indexOfTopLevelItem(item);
    if (row >= 0 && static_cast<std::size_t>(row) < findings_.size() && OnGoTo)
      OnGoTo(findings_[static_cast<std::size_t>(row)]);
  });
  Clear();
}

void TCheckDock::Clear() {
  findings_.clear();
  list_->clear();
  summary_->setText(QStringLiteral("Noch nichts geprüft."));
}

void TCheckDock::ShowFindings(std::vector<TTplFinding> findings, const QString &scope,
                              const QString &note) {
  findings_ = std::move(findings);
  list_->setUpdatesEnabled(false);
  list_->clear();
  QList<QTreeWidgetItem *> rows;
  const std::size_t shown = std::min(findings_.size(), kMaxRows);
  rows.reserve(static_cast<qsizetype>(shown));
  for (std::size_t i = 0; i < shown; ++i) {
    const TTplFinding &f = findings_[i];
    auto *row = new QTreeWidgetItem({kzp::codepage::ToQString(f.Template), QString::number(f.Line),
                                     QString::number(f.Column), QString::fromStdString(f.Text)});
    row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    row->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    rows.append(row);
  }
  list_->addTopLevelItems(rows);
  for (int c = 0; c < 3; ++c)
    list_->resizeColumnToContents(c);
  list_->setUpdatesEnabled(true);

  QString text = findings_.empty()       ? QStringLiteral("Keine Meldungen")
                 : findings_.size() == 1 ? QStringLiteral("1 Meldung")
                                         : QStringLiteral("%1 Meldungen").arg(findings_.size());
  text += QStringLiteral(" in ") + scope;
  if (findings_.size() > shown)
    text += QStringLiteral(" (die ersten %1 sind aufgeführt)").arg(shown);
  text += QLatin1Char('.');
  if (!note.isEmpty())
    text += QLatin1Char(' ') + note;
  summary_->setText(text);
}
