// The search bar below the editor: the search text, "3 von 17", the options, and replacing,
// searching while the user types and counting a large template in slices.
#pragma once

#include "editor/KzEditPaintTypes.h"
#include "editor/KzEditSearch.h"
#include "editor/KzEditSearchCounter.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QToolButton;
class TCustomKzEdit;

class TSearchBar : public QWidget {
  Q_OBJECT
public:
  TSearchBar(TCustomKzEdit &editor, QWidget *parent = nullptr);
  ~TSearchBar() override;

  // Opens the bar (with the replace row when `replace`) and puts the focus in the search
  // field; a selection within one line becomes the search text, one over several lines
  // the scope of "Nur in der Auswahl".
  void Open(bool replace);
  // Hides the bar and gives the editor the focus back.
  void Close();
  // Selects the next or previous match; opens the bar when there is no search text yet.
  void FindNext();
  void FindPrevious();
  void ReplaceOne();
  void ReplaceAll();

  // The editor's text changed (typing, undo, a replacement): counting starts again.
  void TextChanged();
  // The editor got a whole new text (another template): the old scope goes too.
  void DocumentReplaced();

  // Whether replacing is allowed (a template is open and the editor is not read-only);
  // asked whenever the bar opens or the document changes.
  std::function<bool()> CanReplace;

  // The compiled search of the field and options; an empty search while the text is
  // empty or faulty.
  const TKzSearch &Search() const { return search_; }
  // The matches on line `line` (1-based) reaching into characters [firstChar, lastChar]
  // that the editor marks while the bar is open.
  void MarksOfLine(int line, int firstChar, int lastChar, std::vector<TKzLineMark> &marks);
  std::string SearchText() const;
  TKzSearchOptions Options() const;
  // What the bar shows now, for tests and screenshots.
  QString CountText() const;
  QString MessageText() const;
  bool MessageIsError() const { return messageIsError_; }
  bool CountingDone() const { return counter_.Done(); }
  // Runs the pending counting to its end at once (tests).
  void FinishCounting();

  QLineEdit *FindField() const { return findField_; }
  QLineEdit *ReplaceField() const { return replaceField_; }
  QCheckBox *MatchCaseBox() const { return matchCase_; }
  QCheckBox *WholeWordsBox() const { return wholeWords_; }
  QCheckBox *RegexBox() const { return regex_; }
  QCheckBox *SelectionOnlyBox() const { return selectionOnly_; }
  QPushButton *ReplaceButton() const { return replaceButton_; }
  QPushButton *ReplaceAllButton() const { return replaceAllButton_; }

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  // Compiles the field's text; false (with the message shown) when it is faulty.
  bool Rebuild();
  // Searching while typing: the first match from where the search began.
  void Incremental();
  // Selects the match after (or before) the caret; false when there is none.
  bool Step(bool backwards);
  void ScopeChanged();
  void RestartCount();
  void CountSlice();
  void UpdateCount();
  void UpdateReplaceState();
  // Whether replacing may go on now, with the replacement text; false with the reason shown.
  bool PrepareReplace(std::string &replacement);
  void ShowMessage(const QString &text, bool error);
  void MarkField(bool failed);
  TKzSearchScope Scope() const;

  TCustomKzEdit &editor_;
  std::unique_ptr<TKzSearchLines> lines_;
  TKzSearch search_;
  TKzSearchCounter counter_;
  QTimer *countTimer_;
  std::optional<TKzSearchScope> selectionScope_;
  TBufferCoord searchStart_;
  std::optional<TKzSearchMatch> current_;
  bool messageIsError_ = false;

  QLineEdit *findField_, *replaceField_;
  QLabel *countLabel_, *messageLabel_, *replaceLabel_;
  QToolButton *prevButton_, *nextButton_, *closeButton_;
  QCheckBox *matchCase_, *wholeWords_, *regex_, *selectionOnly_;
  QPushButton *replaceButton_, *replaceAllButton_;
};
