// The panel "Vorschau": the open template rendered as the web application would show it,
// following the typing. Its web view is made the first time the panel is shown, so a studio
// that never shows it never starts the browser.
#pragma once

#include "workbench/PreviewView.h"

#include <QDockWidget>
#include <QTimer>

#include <functional>
#include <string>

class QAction;
class QLabel;

class TPreviewDock : public QDockWidget {
  Q_OBJECT
public:
  explicit TPreviewDock(QWidget *parent = nullptr);

  // The template to show now, empty for the start page.
  std::function<std::string()> PageName;
  // What the preview's address scheme answers for a pack name (empty: the start page).
  std::function<TPreviewReply(const std::string &name)> Serve;
  // Called when a refresh starts, before the page is asked for.
  std::function<void()> OnRefresh;

  // The text changed: the page follows once typing pauses (at most kDelayMs later).
  void Schedule();
  // Shows the page now (a template was opened, a switch changed).
  void Refresh();

  // Show each IF's other branch; run the page's JavaScript.
  bool OtherBranch() const;
  QAction *OtherBranchAction() const { return otherBranch_; }
  QAction *JavaScriptAction() const { return javaScript_; }
  // Null until the panel was first shown.
  TPreviewView *View() const { return view_; }

  static constexpr int kDelayMs = 250;

private:
  void BecameVisible(bool visible);

  QWidget *holder_;
  QLabel *shown_;
  QAction *otherBranch_;
  QAction *javaScript_;
  TPreviewView *view_ = nullptr;
  QTimer timer_;
  bool stale_ = true; // the text changed while the panel was hidden
};
