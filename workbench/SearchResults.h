// The dock "Suchergebnisse": searching every template of the pack, the matches by template
// and line with the match marked, opening one by double click, and replacing in the whole
// pack after one confirmation.
#pragma once

#include "workbench/PackSearch.h"

#include <QDockWidget>

#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TSearchResultsDock : public QDockWidget {
  Q_OBJECT
public:
  explicit TSearchResultsDock(QWidget *parent = nullptr);

  // Shows the dock with `text` in its search field (unless empty) and searches at once
  // when there is a text.
  void Open(const QString &text);
  // Searches the pack with the field and options; the open template is read from the editor.
  void RunSearch();
  // Replaces every match in the pack, after asking. The open template is changed in the
  // editor (one undo step), every other one in the pack with one write.
  void ReplaceAll();
  // The text searched has changed since the results were made: they are shown as old.
  void MarkStale();
  // Another pack: no results at all.
  void Clear();
  // Whether replacing is allowed now (a template is open, the editor not read-only).
  void UpdateReplaceState();

  // What the window tells the dock.
  std::function<TOpenTemplate()> OpenTemplate;
  std::function<TKzCharSet()> WordChars;
  std::function<bool()> CanReplace;
  // Replaces in the template open in the editor; returns the number replaced.
  std::function<int(const TKzSearch &, const std::string &replacement)> ReplaceInEditor;
  // A result was double clicked.
  std::function<void(const std::string &name, const TKzSearchMatch &match)> OnOpenHit;

  const TPackSearchResult &Result() const { return result_; }
  bool Stale() const { return stale_; }
  QString StatusText() const;
  QTreeWidget *Tree() const { return tree_; }
  QLineEdit *FindField() const { return findField_; }
  QLineEdit *ReplaceField() const { return replaceField_; }
  QPushButton *ReplaceAllButton() const { return replaceAllButton_; }
  QCheckBox *MatchCaseBox() const { return matchCase_; }
  QCheckBox *WholeWordsBox() const { return wholeWords_; }
  QCheckBox *RegexBox() const { return regex_; }

private:
  // The search of the fields; false with the reason shown when there is none.
  bool BuildSearch(TKzSearch &search);
  void ShowResult();
  void ShowStatus(const QString &text, bool error);
  void HitActivated(QTreeWidgetItem *item);

  TPackSearchResult result_;
  bool stale_ = false;
  QLineEdit *findField_, *replaceField_;
  QCheckBox *matchCase_, *wholeWords_, *regex_;
  QPushButton *searchButton_, *replaceAllButton_;
  QLabel *status_;
  QTreeWidget *tree_;
};
