// The panel "Prüfung": the findings of the last check, one row each with its template, line,
// column and text; a double click on a row goes there.
#pragma once

#include "template/TemplateCheck.h"

#include <QDockWidget>

#include <functional>
#include <vector>

class QLabel;
class QTreeWidget;

class TCheckDock : public QDockWidget {
  Q_OBJECT
public:
  explicit TCheckDock(QWidget *parent = nullptr);

  // Shows `findings` of a check of `scope` ("header.htm", "13 Templates"); `note` is
  // added to the summary line when not empty.
  void ShowFindings(std::vector<TTplFinding> findings, const QString &scope,
                    const QString &note = QString());
  void Clear();

  // A row was activated (double click, Enter).
  std::function<void(const TTplFinding &finding)> OnGoTo;

  const std::vector<TTplFinding> &Findings() const { return findings_; }
  QTreeWidget *List() const { return list_; }
  QLabel *Summary() const { return summary_; }

  // More rows than this would only slow the panel down; the summary tells how many more.
  static constexpr std::size_t kMaxRows = 5000;

private:
  QLabel *summary_;
  QTreeWidget *list_;
  std::vector<TTplFinding> findings_;
};
