// The search bar: fields and options, searching while typing, sliced counting, replacing.
#include "workbench/SearchBar.h"

#include "editor/KzEdit.h"
#include "editor/KzEditReplace.h"
#include "platform/qt/QtCodePage.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

using kzp::codepage::FromQString;
using kzp::codepage::ToQString;

namespace {

// One slice of counting may keep the window busy this long; then it yields to events.
constexpr int kSliceMs = 25;
constexpr std::size_t kSliceBytes = 1 << 20;
// Typing in the editor restarts counting once it pauses this long.
constexpr int kRestartDelayMs = 120;

QString Number(std::size_t n) { return QLocale(QLocale::German).toString(qulonglong(n)); }

// Interactive searches give up after this long, replacing everything after the longer one.
constexpr int kFindLimitMs = 3000, kReplaceLimitMs = 30000;
// Marking the matches of one painted line gives up after this long.
constexpr int kMarkLimitMs = 20;
constexpr std::size_t kMaxMarksPerLine = 4096;
constexpr int kMarkLookBehind = 1024;

// Limits a search's time for one command.
class TTimeLimit {
public:
  TTimeLimit(TKzSearch &search, int ms) : search_(search) { search_.LimitTime(ms); }
  ~TTimeLimit() { search_.LimitTime(0); }
  TTimeLimit(const TTimeLimit &) = delete;
  TTimeLimit &operator=(const TTimeLimit &) = delete;

private:
  TKzSearch &search_;
};

QString Unfit() {
  return QStringLiteral("Der Text enthält Zeichen, die in einem Template nicht vorkommen können.");
}

} // namespace

TSearchBar::TSearchBar(TCustomKzEdit &editor, QWidget *parent)
    : QWidget(parent), editor_(editor),
      lines_(std::make_unique<TKzBufferSearchLines>(editor.Lines())),
      countTimer_(new QTimer(this)) {
  setObjectName(QStringLiteral("searchBar"));
  auto *grid = new QGridLayout(this);
  grid->setContentsMargins(4, 2, 4, 2);
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);

  findField_ = new QLineEdit(this);
  findField_->setObjectName(QStringLiteral("searchText"));
  findField_->setPlaceholderText(QStringLiteral("Suchtext"));
  findField_->setClearButtonEnabled(true);
  countLabel_ = new QLabel(this);
  countLabel_->setObjectName(QStringLiteral("searchCount"));
  countLabel_->setMinimumWidth(110);
  prevButton_ = new QToolButton(this);
  prevButton_->setArrowType(Qt::UpArrow);
  prevButton_->setToolTip(QStringLiteral("Rückwärts suchen (Umschalt+F3)"));
  nextButton_ = new QToolButton(this);
  nextButton_->setArrowType(Qt::DownArrow);
  nextButton_->setToolTip(QStringLiteral("Weitersuchen (F3)"));
  matchCase_ = new QCheckBox(QStringLiteral("Groß-/Kleinschreibung beachten"), this);
  wholeWords_ = new QCheckBox(QStringLiteral("Nur ganze Wörter"), this);
  regex_ = new QCheckBox(QStringLiteral("Regulärer Ausdruck"), this);
  selectionOnly_ = new QCheckBox(QStringLiteral("Nur in der Auswahl"), this);
  closeButton_ = new QToolButton(this);
  closeButton_->setText(QStringLiteral("\u00D7"));
  closeButton_->setAutoRaise(true);
  closeButton_->setToolTip(QStringLiteral("Schließen (Esc)"));

  replaceLabel_ = new QLabel(QStringLiteral("Ersetzen:"), this);
  replaceField_ = new QLineEdit(this);
  replaceField_->setObjectName(QStringLiteral("replaceText"));
  replaceField_->setPlaceholderText(QStringLiteral("Ersetzen durch"));
  replaceButton_ = new QPushButton(QStringLiteral("Ersetzen"), this);
  replaceAllButton_ = new QPushButton(QStringLiteral("Alle ersetzen"), this);
  messageLabel_ = new QLabel(this);
  messageLabel_->setObjectName(QStringLiteral("searchMessage"));

  auto *options = new QHBoxLayout;
  options->setSpacing(8);
  for (QWidget *w :
       std::initializer_list<QWidget *>{matchCase_, wholeWords_, regex_, selectionOnly_})
    options->addWidget(w);
  options->addStretch(1);
  auto *replaceButtons = new QHBoxLayout;
  replaceButtons->addWidget(replaceButton_);
  replaceButtons->addWidget(replaceAllButton_);
  replaceButtons->addWidget(messageLabel_, 1);

  grid->addWidget(new QLabel(QStringLiteral("Suchen:"), this), 0, 0);
  grid->addWidget(findField_, 0, 1);
  grid->addWidget(countLabel_, 0, 2);
  grid->addWidget(prevButton_, 0, 3);
  grid->addWidget(nextButton_, 0, 4);
  grid->addLayout(options, 0, 5);
  grid->addWidget(closeButton_, 0, 6);
  grid->addWidget(replaceLabel_, 1, 0);
  grid->addWidget(replaceField_, 1, 1);
  grid->addLayout(replaceButtons, 1, 2, 1, 4);
  grid->setColumnStretch(1, 2);
  grid->setColumnStretch(5, 3);

  // Tab goes from the search text to the replacement before anything else.
  setTabOrder(findField_, replaceField_);
  setTabOrder(replaceField_, replaceButton_);
  setTabOrder(replaceButton_, replaceAllButton_);
  setTabOrder(replaceAllButton_, prevButton_);
  setTabOrder(prevButton_, nextButton_);
  setTabOrder(nextButton_, matchCase_);
  setTabOrder(matchCase_, wholeWords_);
  setTabOrder(wholeWords_, regex_);
  setTabOrder(regex_, selectionOnly_);
  findField_->installEventFilter(this);
  replaceField_->installEventFilter(this);
  connect(findField_, &QLineEdit::textEdited, this, [this] { Incremental(); });
  for (QCheckBox *box : {matchCase_, wholeWords_, regex_})
    connect(box, &QCheckBox::toggled, this, [this] { Incremental(); });
  connect(selectionOnly_, &QCheckBox::toggled, this, [this] { ScopeChanged(); });
  connect(prevButton_, &QToolButton::clicked, this, [this] { FindPrevious(); });
  connect(nextButton_, &QToolButton::clicked, this, [this] { FindNext(); });
  connect(closeButton_, &QToolButton::clicked, this, [this] { Close(); });
  connect(replaceButton_, &QPushButton::clicked, this, [this] { ReplaceOne(); });
  connect(replaceAllButton_, &QPushButton::clicked, this, [this] { ReplaceAll(); });
  countTimer_->setSingleShot(false);
  connect(countTimer_, &QTimer::timeout, this, [this] { CountSlice(); });
  // The editor asks for the matches of each line it paints; the pointer goes null with the
  // bar, so an editor that outlives it paints no marks.
  editor_.OnLineMarks = [bar = QPointer<TSearchBar>(this)](TCustomKzEdit &, int line, int firstChar,
                                                           int lastChar,
                                                           std::vector<TKzLineMark> &marks) {
    if (bar)
      bar->MarksOfLine(line, firstChar, lastChar, marks);
  };
  hide();
}

void TSearchBar::MarksOfLine(int line, int firstChar, int lastChar,
                             std::vector<TKzLineMark> &marks) {
  // A search across lines has matches no single line shows; it marks only the current one,
  // as the selection.
  if (isHidden() || search_.Empty() || search_.JoinsLines() || line < 1 ||
      line > editor_.Lines().Count())
    return;
  auto visit = [&](const TKzSearchMatch &m) {
    if (m.Start.Char > lastChar)
      return false;
    if (m.End.Char > m.Start.Char && m.End.Char > firstChar)
      marks.push_back({m.Start.Char, m.End.Char});
    return marks.size() < kMaxMarksPerLine;
  };
  try {
    TTimeLimit limit(search_, kMarkLimitMs);
    // Far out on a long line the scan starts a little before the view: a match that
    // begins further left and reaches into it stays unmarked, which is cheaper than
    // matching the whole line on every paint.
    const int from = std::max(1, firstChar - kMarkLookBehind);
    search_.ScanLine(editor_.Lines().LineView(line - 1), line, Scope(), from, false, visit);
  } catch (const EKzSearchError &) {
    // An expression too slow for painting leaves the line unmarked; searching says why.
  }
}

TSearchBar::~TSearchBar() = default;

std::string TSearchBar::SearchText() const { return FromQString(findField_->text()); }

TKzSearchOptions TSearchBar::Options() const {
  return {matchCase_->isChecked(), wholeWords_->isChecked(), regex_->isChecked()};
}

QString TSearchBar::CountText() const { return countLabel_->text(); }
QString TSearchBar::MessageText() const { return messageLabel_->text(); }

TKzSearchScope TSearchBar::Scope() const {
  return selectionOnly_->isChecked() && selectionScope_ ? *selectionScope_
                                                        : TKzSearchScope::Whole();
}

void TSearchBar::ShowMessage(const QString &text, bool error) {
  messageIsError_ = error && !text.isEmpty();
  messageLabel_->setStyleSheet(messageIsError_ ? QStringLiteral("color: #c00000;") : QString());
  messageLabel_->setText(text);
}

void TSearchBar::MarkField(bool failed) {
  findField_->setStyleSheet(failed ? QStringLiteral("QLineEdit { background: #ffd8d8; }")
                                   : QString());
}

bool TSearchBar::Rebuild() {
  current_.reset();
  search_ = TKzSearch();
  bool lossless = true;
  const std::string text = FromQString(findField_->text(), &lossless);
  ShowMessage(QString(), false);
  MarkField(false);
  bool ok = true;
  if (!lossless) {
    ShowMessage(Unfit(), true);
    ok = false;
  } else if (!text.empty()) {
    try {
      search_ = TKzSearch(text, Options(), EditorWordChars(editor_));
    } catch (const EKzSearchError &e) {
      ShowMessage(QString::fromUtf8(e.what()), true);
      ok = false;
    }
  }
  MarkField(!ok);
  RestartCount();
  editor_.Invalidate();
  return ok;
}

void TSearchBar::Incremental() {
  if (!Rebuild())
    return;
  if (search_.Empty()) {
    // Nothing to look for: back to where the search began.
    if (editor_.SelectionAvailable())
      editor_.SetCaretPos(searchStart_);
    return;
  }
  try {
    const TTimeLimit limit(search_, kFindLimitMs);
    const auto m = search_.FindNext(*lines_, searchStart_, false, Scope(), true);
    if (m) {
      SelectMatch(editor_, *m);
      current_ = m;
    }
    MarkField(!m);
  } catch (const EKzSearchError &e) {
    ShowMessage(QString::fromUtf8(e.what()), true);
  }
  UpdateCount();
}

bool TSearchBar::Step(bool backwards) {
  if (search_.Empty() && !Rebuild())
    return false;
  if (search_.Empty())
    return false;
  const TKzSearchMatch sel = SelectionAsMatch(editor_);
  bool wrapped = false;
  std::optional<TKzSearchMatch> m;
  try {
    const TTimeLimit limit(search_, kFindLimitMs);
    m = search_.FindNext(*lines_, backwards ? sel.Start : sel.End, backwards, Scope(), true,
                         &wrapped);
  } catch (const EKzSearchError &e) {
    ShowMessage(QString::fromUtf8(e.what()), true);
    return false;
  }
  MarkField(!m);
  if (!m) {
    ShowMessage(QStringLiteral("Kein Treffer."), false);
    UpdateCount();
    return false;
  }
  SelectMatch(editor_, *m);
  current_ = m;
  searchStart_ = m->Start;
  ShowMessage(wrapped ? (backwards ? QStringLiteral("Suche am Ende fortgesetzt.")
                                   : QStringLiteral("Suche am Anfang fortgesetzt."))
                      : QString(),
              false);
  UpdateCount();
  return true;
}

void TSearchBar::FindNext() {
  if (findField_->text().isEmpty()) {
    Open(false);
    return;
  }
  Step(false);
}

void TSearchBar::FindPrevious() {
  if (findField_->text().isEmpty()) {
    Open(false);
    return;
  }
  Step(true);
}

void TSearchBar::Open(bool replace) {
  for (QWidget *w : std::initializer_list<QWidget *>{replaceLabel_, replaceField_, replaceButton_,
                                                     replaceAllButton_})
    w->setVisible(replace);
  searchStart_ = editor_.SelectionAvailable() ? editor_.SelectionFirst() : editor_.CaretXY();
  bool takeText = false;
  if (editor_.SelectionAvailable()) {
    const std::string selected = editor_.SelectedText();
    if (selected.find_first_of("\r\n") == std::string::npos) {
      findField_->setText(ToQString(selected));
      takeText = true;
    } else {
      // Several lines selected: they become where to search, not what to search.
      selectionScope_ = SelectionScope(editor_);
      const QSignalBlocker block(selectionOnly_);
      selectionOnly_->setChecked(true);
    }
  }
  show();
  UpdateReplaceState();
  findField_->setFocus();
  findField_->selectAll();
  if (takeText)
    Incremental();
  else
    Rebuild();
}

void TSearchBar::Close() {
  hide();
  countTimer_->stop();
  ShowMessage(QString(), false);
  editor_.Invalidate();
  editor_.SetFocus();
}

void TSearchBar::ScopeChanged() {
  if (selectionOnly_->isChecked())
    selectionScope_ =
        editor_.SelectionAvailable() ? std::optional(SelectionScope(editor_)) : std::nullopt;
  else
    selectionScope_.reset();
  current_.reset();
  RestartCount();
  editor_.Invalidate();
}

bool TSearchBar::PrepareReplace(std::string &replacement) {
  if (!CanReplace || !CanReplace())
    return false;
  bool lossless = true;
  replacement = FromQString(replaceField_->text(), &lossless);
  if (!lossless) {
    ShowMessage(Unfit(), true);
    return false;
  }
  if (search_.Empty() && !Rebuild())
    return false;
  return !search_.Empty();
}

void TSearchBar::ReplaceOne() {
  std::string replacement;
  if (!PrepareReplace(replacement))
    return;
  try {
    ReplaceSelectedMatch(editor_, search_, replacement);
  } catch (const EKzSearchError &e) {
    ShowMessage(QString::fromUtf8(e.what()), true);
    return;
  }
  // Replaced or not (the selection was no match), the next match is selected.
  Step(false);
}

void TSearchBar::ReplaceAll() {
  std::string replacement;
  if (!PrepareReplace(replacement))
    return;
  int n = 0;
  try {
    const TTimeLimit limit(search_, kReplaceLimitMs);
    n = ReplaceAllMatches(editor_, search_, replacement, Scope());
  } catch (const EKzSearchError &e) {
    ShowMessage(QString::fromUtf8(e.what()), true);
    return;
  }
  current_.reset();
  ShowMessage(n == 0 ? QStringLiteral("Keine Treffer, nichts ersetzt.")
                     : QStringLiteral("%1 Treffer ersetzt.").arg(Number(std::size_t(n))),
              false);
  RestartCount();
}

void TSearchBar::TextChanged() {
  // The counted positions belong to the old text; a new count starts once typing pauses.
  counter_.Reset();
  if (!isVisible() || search_.Empty())
    return;
  countLabel_->setText(QString());
  countTimer_->start(kRestartDelayMs);
}

void TSearchBar::DocumentReplaced() {
  selectionScope_.reset();
  {
    const QSignalBlocker block(selectionOnly_);
    selectionOnly_->setChecked(false);
  }
  current_.reset();
  searchStart_ = {1, 1};
  UpdateReplaceState();
  counter_.Reset();
  if (isVisible())
    RestartCount();
}

void TSearchBar::UpdateReplaceState() {
  const bool can = CanReplace && CanReplace();
  for (QWidget *w :
       std::initializer_list<QWidget *>{replaceField_, replaceButton_, replaceAllButton_})
    w->setEnabled(can);
}

void TSearchBar::RestartCount() {
  counter_.Reset();
  countTimer_->stop();
  if (!search_.Empty()) {
    counter_.Start(search_, *lines_, Scope());
    countTimer_->start(0);
    // A small template is counted at once, so the count never flickers.
    CountSlice();
  }
  UpdateCount();
}

void TSearchBar::CountSlice() {
  if (!counter_.Running() && !counter_.Done()) {
    if (search_.Empty()) {
      countTimer_->stop();
      UpdateCount();
      return;
    }
    counter_.Start(search_, *lines_, Scope());
  }
  QElapsedTimer clock;
  clock.start();
  try {
    while (counter_.Running() && !counter_.Step(kSliceBytes) && clock.elapsed() < kSliceMs) {
    }
  } catch (const EKzSearchError &e) {
    ShowMessage(QString::fromUtf8(e.what()), true);
  }
  if (!counter_.Running())
    countTimer_->stop();
  else if (countTimer_->interval() != 0)
    countTimer_->start(0);
  UpdateCount();
}

void TSearchBar::FinishCounting() {
  while (countTimer_->isActive())
    CountSlice();
}

void TSearchBar::UpdateCount() {
  if (search_.Empty() || (!counter_.Running() && !counter_.Done())) {
    countLabel_->setText(QString());
    return;
  }
  const std::size_t total = counter_.Total();
  if (counter_.Done() && total == 0) {
    countLabel_->setText(QStringLiteral("Keine Treffer"));
    return;
  }
  // The number of the selected match: the one the bar selected, or a selection that is a
  // match (checked on its line; for joined lines only the bar's own).
  std::size_t index = 0;
  const TKzSearchMatch selected = SelectionAsMatch(editor_);
  if ((current_ && selected == *current_) ||
      (!search_.JoinsLines() && editor_.SelectionAvailable() && search_.IsMatch(*lines_, selected)))
    index = counter_.IndexOf(selected.Start);
  const QString of = counter_.Done() ? Number(total) : Number(total) + QStringLiteral(" …");
  countLabel_->setText(index > 0 ? QStringLiteral("%1 von %2").arg(Number(index), of)
                                 : QStringLiteral("%1 Treffer").arg(of));
}

bool TSearchBar::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::KeyPress) {
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() == Qt::Key_Escape) {
      Close();
      return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      if (watched == replaceField_)
        ReplaceOne();
      else if (key->modifiers() & Qt::ShiftModifier)
        FindPrevious();
      else
        FindNext();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
