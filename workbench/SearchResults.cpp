// The "Suchergebnisse" dock.
#include "workbench/SearchResults.h"

#include "editor/KzEditSearch.h"
#include "pack/PackStore.h"
#include "platform/Dialogs.h"
#include "platform/qt/QtCodePage.h"
#include "workbench/ErrorHandler.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

using kzp::codepage::FromQString;
using kzp::codepage::ToQString;

namespace {

enum : int { roleMarkStart = Qt::UserRole, roleMarkLength, roleHit };

// A search of the whole pack gives up after this long.
constexpr int kPackLimitMs = 60000;

QString Number(std::size_t n) { return QLocale(QLocale::German).toString(qulonglong(n)); }

// Draws a result line with its match on a marker background.
class TMarkedLineDelegate : public QStyledItemDelegate {
public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter *painter, const QStyleOptionViewItem &option,
             const QModelIndex &index) const override {
    const QVariant start = index.data(roleMarkStart);
    if (!start.isValid()) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
    const QRect r =
        style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).adjusted(2, 0, -2, 0);
    const int s = std::clamp(start.toInt(), 0, int(text.size()));
    const int n = std::clamp(index.data(roleMarkLength).toInt(), 0, int(text.size()) - s);
    const QString before = text.left(s), mark = text.mid(s, n), after = text.mid(s + n);
    painter->save();
    painter->setClipRect(r);
    const bool selected = opt.state & QStyle::State_Selected;
    painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    QFont bold = opt.font;
    bold.setBold(true);
    const QFontMetrics plain(opt.font), strong(bold);
    int x = r.left();
    painter->setFont(opt.font);
    painter->drawText(QRect(x, r.top(), r.width(), r.height()), Qt::AlignVCenter | Qt::AlignLeft,
                      before);
    x += plain.horizontalAdvance(before);
    const int w = strong.horizontalAdvance(mark);
    painter->fillRect(QRect(x, r.top() + 1, w, r.height() - 2), QColor(0xFF, 0xE0, 0x66));
    painter->setPen(QColor(Qt::black));
    painter->setFont(bold);
    painter->drawText(QRect(x, r.top(), w, r.height()), Qt::AlignVCenter | Qt::AlignLeft, mark);
    x += w;
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(QRect(x, r.top(), std::max(0, r.right() - x), r.height()),
                      Qt::AlignVCenter | Qt::AlignLeft,
                      plain.elidedText(after, Qt::ElideRight, std::max(0, r.right() - x)));
    painter->restore();
  }
};

} // namespace

TSearchResultsDock::TSearchResultsDock(QWidget *parent)
    : QDockWidget(QStringLiteral("Suchergebnisse"), parent) {
  setObjectName(QStringLiteral("exSuche"));
  auto *body = new QWidget(this);
  auto *column = new QVBoxLayout(body);
  column->setContentsMargins(4, 4, 4, 4);
  column->setSpacing(3);
  auto *grid = new QGridLayout;
  findField_ = new QLineEdit(body);
  findField_->setObjectName(QStringLiteral("packSearchText"));
  findField_->setPlaceholderText(QStringLiteral("In allen Templates suchen"));
  replaceField_ = new QLineEdit(body);
  replaceField_->setObjectName(QStringLiteral("packReplaceText"));
  replaceField_->setPlaceholderText(QStringLiteral("Ersetzen durch"));
  searchButton_ = new QPushButton(QStringLiteral("Suchen"), body);
  replaceAllButton_ = new QPushButton(QStringLiteral("Alle ersetzen"), body);
  grid->addWidget(new QLabel(QStringLiteral("Suchen:"), body), 0, 0);
  grid->addWidget(findField_, 0, 1);
  grid->addWidget(searchButton_, 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("Ersetzen:"), body), 1, 0);
  grid->addWidget(replaceField_, 1, 1);
  grid->addWidget(replaceAllButton_, 1, 2);
  column->addLayout(grid);
  auto *options = new QHBoxLayout;
  matchCase_ = new QCheckBox(QStringLiteral("Groß-/Kleinschreibung beachten"), body);
  wholeWords_ = new QCheckBox(QStringLiteral("Nur ganze Wörter"), body);
  regex_ = new QCheckBox(QStringLiteral("Regulärer Ausdruck"), body);
  options->addWidget(matchCase_);
  options->addWidget(wholeWords_);
  options->addWidget(regex_);
  options->addStretch(1);
  column->addLayout(options);
  status_ = new QLabel(body);
  status_->setObjectName(QStringLiteral("packSearchStatus"));
  status_->setWordWrap(true);
  column->addWidget(status_);
  tree_ = new QTreeWidget(body);
  tree_->setObjectName(QStringLiteral("packSearchResults"));
  tree_->setColumnCount(2);
  tree_->setHeaderLabels({QStringLiteral("Zeile"), QStringLiteral("Text")});
  tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  tree_->setItemDelegateForColumn(1, new TMarkedLineDelegate(tree_));
  tree_->setUniformRowHeights(true);
  tree_->setRootIsDecorated(true);
  column->addWidget(tree_, 1);
  setWidget(body);

  connect(findField_, &QLineEdit::returnPressed, this,
          [this] { RunGuarded([this] { RunSearch(); }); });
  connect(searchButton_, &QPushButton::clicked, this,
          [this] { RunGuarded([this] { RunSearch(); }); });
  connect(replaceAllButton_, &QPushButton::clicked, this,
          [this] { RunGuarded([this] { ReplaceAll(); }); });
  connect(tree_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem *item) { RunGuarded([&] { HitActivated(item); }); });
}

QString TSearchResultsDock::StatusText() const { return status_->text(); }

void TSearchResultsDock::ShowStatus(const QString &text, bool error) {
  status_->setStyleSheet(error ? QStringLiteral("color: #c00000;") : QString());
  status_->setText(text);
}

void TSearchResultsDock::Open(const QString &text) {
  if (!text.isEmpty())
    findField_->setText(text);
  show();
  raise();
  UpdateReplaceState();
  findField_->setFocus();
  findField_->selectAll();
  if (!findField_->text().isEmpty())
    RunSearch();
}

void TSearchResultsDock::UpdateReplaceState() {
  const bool can = CanReplace && CanReplace();
  replaceField_->setEnabled(can);
  replaceAllButton_->setEnabled(can);
}

bool TSearchResultsDock::BuildSearch(TKzSearch &search) {
  if (ThePackStore().PackPath == "na") {
    ShowStatus(QStringLiteral("Bitte öffnen Sie zuerst ein Projekt!"), true);
    return false;
  }
  bool lossless = true;
  const std::string text = FromQString(findField_->text(), &lossless);
  if (!lossless) {
    ShowStatus(QStringLiteral(
                   "Der Suchtext enthält Zeichen, die in einem Template nicht vorkommen können."),
               true);
    return false;
  }
  if (text.empty()) {
    ShowStatus(QStringLiteral("Bitte geben Sie einen Suchtext ein."), false);
    return false;
  }
  try {
    search =
        TKzSearch(text, {matchCase_->isChecked(), wholeWords_->isChecked(), regex_->isChecked()},
                  WordChars ? WordChars() : TKzCharSet());
  } catch (const EKzSearchError &e) {
    ShowStatus(QString::fromUtf8(e.what()), true);
    return false;
  }
  return true;
}

void TSearchResultsDock::RunSearch() {
  TKzSearch search;
  if (!BuildSearch(search))
    return;
  search.LimitTime(kPackLimitMs);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    result_ = SearchPack(ThePackStore(), search, OpenTemplate ? OpenTemplate() : TOpenTemplate{});
  } catch (const EKzSearchError &e) {
    QApplication::restoreOverrideCursor();
    ShowStatus(QString::fromUtf8(e.what()), true);
    return;
  }
  QApplication::restoreOverrideCursor();
  stale_ = false;
  ShowResult();
  UpdateReplaceState();
}

void TSearchResultsDock::ShowResult() {
  tree_->setUpdatesEnabled(false);
  tree_->clear();
  tree_->setPalette(QPalette());
  QTreeWidgetItem *group = nullptr;
  std::size_t groupIndex = 0;
  QList<QTreeWidgetItem *> groups;
  for (std::size_t i = 0; i < result_.Hits.size(); ++i) {
    const TPackSearchHit &hit = result_.Hits[i];
    if (!group || result_.PerTemplate[groupIndex].first != hit.Template) {
      if (group)
        ++groupIndex;
      // Every match counts here, also those beyond the list's limit.
      group = new QTreeWidgetItem;
      group->setText(0,
                     QStringLiteral("%1 (%2)").arg(ToQString(hit.Template),
                                                   Number(result_.PerTemplate[groupIndex].second)));
      group->setFirstColumnSpanned(true);
      groups.append(group);
    }
    auto *item = new QTreeWidgetItem(group);
    item->setText(0, Number(std::size_t(hit.Match.Start.Line)));
    item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    QString line = ToQString(hit.Line);
    line.replace(QLatin1Char('\t'), QLatin1Char(' '));
    item->setText(1, line);
    item->setData(1, roleMarkStart, int(hit.MarkStart));
    item->setData(1, roleMarkLength, int(hit.MarkLength));
    item->setData(0, roleHit, qulonglong(i));
  }
  tree_->addTopLevelItems(groups);
  tree_->expandAll();
  tree_->setUpdatesEnabled(true);
  QString text;
  if (result_.Total == 0)
    text = QStringLiteral("Keine Treffer.");
  else
    text = QStringLiteral("%1 Treffer in %2 Templates.")
               .arg(Number(result_.Total), Number(result_.Templates));
  if (result_.Hits.size() < result_.Total)
    text += QStringLiteral(" Angezeigt werden die ersten %1.").arg(Number(result_.Hits.size()));
  ShowStatus(text, false);
}

void TSearchResultsDock::MarkStale() {
  if (stale_ || result_.Hits.empty())
    return;
  stale_ = true;
  QPalette grey = tree_->palette();
  grey.setColor(QPalette::Text, QColor(0x80, 0x80, 0x80));
  tree_->setPalette(grey);
  ShowStatus(QStringLiteral("Die Ergebnisse sind veraltet: der Text wurde seit der Suche geändert. "
                            "„Suchen“ bringt sie auf den neuesten Stand."),
             false);
}

void TSearchResultsDock::Clear() {
  result_ = TPackSearchResult();
  stale_ = false;
  tree_->clear();
  ShowStatus(QString(), false);
  UpdateReplaceState();
}

void TSearchResultsDock::HitActivated(QTreeWidgetItem *item) {
  if (!item || !item->parent())
    return;
  const std::size_t i = std::size_t(item->data(0, roleHit).toULongLong());
  if (i >= result_.Hits.size() || !OnOpenHit)
    return;
  const TPackSearchHit hit = result_.Hits[i]; // opening may run a new search
  OnOpenHit(hit.Template, hit.Match);
}

void TSearchResultsDock::ReplaceAll() {
  if (!CanReplace || !CanReplace())
    return;
  TKzSearch search;
  if (!BuildSearch(search))
    return;
  bool lossless = true;
  const std::string replacement = FromQString(replaceField_->text(), &lossless);
  if (!lossless) {
    ShowStatus(QStringLiteral(
                   "Der Ersatztext enthält Zeichen, die in einem Template nicht vorkommen können."),
               true);
    return;
  }
  RunSearch();
  if (stale_ || result_.Total == 0)
    return;
  const std::size_t total = result_.Total, templates = result_.Templates;
  const QString question =
      QStringLiteral(
          "Im ganzen Pack %1 Treffer in %2 Templates ersetzen?\n\nDas geöffnete Template wird im "
          "Editor geändert und kann dort rückgängig gemacht werden; alle anderen werden sofort im "
          "Pack gespeichert.")
          .arg(Number(total), Number(templates));
  if (Dialogs().MessageDlg(this, question.toStdString(), "Im ganzen Pack ersetzen",
                           TMsgDlgType::mtConfirmation,
                           TMsgDlgButtons::mbYesNoCancel) != TModalResult::mrYes)
    return;
  TPackStore &store = ThePackStore();
  const TOpenTemplate open = OpenTemplate ? OpenTemplate() : TOpenTemplate{};
  // The pack first: when writing it fails nothing has changed, the editor included.
  search.LimitTime(kPackLimitMs);
  // The replacement runs while the pack is written, on its records as they are then, so a
  // change made outside the studio since the search is replaced in, not overwritten.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    store.SaveTemplates(PackReplacement(search, replacement, open.Name));
  } catch (...) {
    QApplication::restoreOverrideCursor();
    throw;
  }
  QApplication::restoreOverrideCursor();
  // The pack is written; the open template must follow it, however long that takes.
  search.LimitTime(0);
  if (open.Name != "na" && ReplaceInEditor)
    ReplaceInEditor(search, replacement);
  RunSearch();
  ShowStatus(
      QStringLiteral("%1 Treffer in %2 Templates ersetzt.").arg(Number(total), Number(templates)),
      false);
}
