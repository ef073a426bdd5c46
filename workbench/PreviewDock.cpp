// The preview panel: its switches, the pause after typing, and the web view made on demand.
#include "workbench/PreviewDock.h"

#include "platform/qt/QtCodePage.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QToolBar>
#include <QVBoxLayout>

TPreviewDock::TPreviewDock(QWidget *parent) : QDockWidget(QStringLiteral("Vorschau"), parent) {
  setObjectName(QStringLiteral("exVorschau"));
  setFeatures(DockWidgetClosable | DockWidgetMovable | DockWidgetFloatable);
  holder_ = new QWidget(this);
  auto *layout = new QVBoxLayout(holder_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto *bar = new QToolBar(holder_);
  bar->setObjectName(QStringLiteral("tbVorschau"));
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  otherBranch_ = bar->addAction(QStringLiteral("Sonst-Zweige"));
  otherBranch_->setCheckable(true);
  otherBranch_->setToolTip(
      QStringLiteral("Zeigt bei jeder Bedingung den Zweig nach %%ELSE%% statt des ersten"));
  javaScript_ = bar->addAction(QStringLiteral("JavaScript"));
  javaScript_->setCheckable(true);
  javaScript_->setToolTip(QStringLiteral("Führt die Skripte der Seite aus"));
  bar->addSeparator();
  shown_ = new QLabel(bar);
  shown_->setObjectName(QStringLiteral("lblVorschau"));
  bar->addWidget(shown_);
  layout->addWidget(bar);
  setWidget(holder_);

  timer_.setSingleShot(true);
  timer_.setInterval(kDelayMs);
  connect(&timer_, &QTimer::timeout, this, &TPreviewDock::Refresh);
  connect(otherBranch_, &QAction::toggled, this, &TPreviewDock::Refresh);
  connect(javaScript_, &QAction::toggled, this, [this](bool on) {
    if (view_)
      view_->SetJavaScript(on);
    Refresh();
  });
  connect(this, &QDockWidget::visibilityChanged, this, &TPreviewDock::BecameVisible);
}

bool TPreviewDock::OtherBranch() const { return otherBranch_->isChecked(); }

void TPreviewDock::Schedule() {
  stale_ = true;
  // A hidden panel has nothing to show; it catches up when it is shown again.
  if (isVisible())
    timer_.start();
}

void TPreviewDock::Refresh() {
  timer_.stop();
  if (!view_ || !isVisible()) {
    stale_ = true;
    return;
  }
  stale_ = false;
  if (OnRefresh)
    OnRefresh();
  const std::string name = PageName ? PageName() : std::string();
  shown_->setText(kzp::codepage::ToQString(name));
  view_->Show(name);
}

void TPreviewDock::BecameVisible(bool visible) {
  if (!visible)
    return;
  if (!view_) {
    // A page wants room: the first time the panel comes up beside the editor it takes
    // two fifths of the window; later the user's width stays.
    // The panels on the other side keep their widths: the room comes from the editor.
    if (auto *window = qobject_cast<QMainWindow *>(parentWidget()); window && !isFloating()) {
      QList<QDockWidget *> docks{this};
      QList<int> widths{window->width() * 2 / 5};
      for (QDockWidget *dock :
           window->findChildren<QDockWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (dock != this && dock->isVisible() && !dock->isFloating() &&
            window->dockWidgetArea(dock) == Qt::LeftDockWidgetArea) {
          docks << dock;
          widths << dock->width();
        }
      }
      window->resizeDocks(docks, widths, Qt::Horizontal);
    }
    view_ = new TPreviewView(holder_);
    view_->setObjectName(QStringLiteral("vwVorschau"));
    view_->Serve = [this](const std::string &name) {
      return Serve ? Serve(name) : TPreviewReply{};
    };
    view_->SetJavaScript(javaScript_->isChecked());
    holder_->layout()->addWidget(view_);
  }
  if (stale_)
    Refresh();
}
