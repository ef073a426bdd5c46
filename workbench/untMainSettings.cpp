// The main window's preferences: "Ansicht" / "Zeilennummern", the panel layout kept between
// runs, the sizes the panels open with, and the metadata block that scrolls when the panel is
// too short for it.
#include "workbench/untMain.h"

#include "ui_frmMain.h"
#include "workbench/HtmlView.h"
#include "workbench/StudioSettings.h"
#include "workbench/TemplateEditor.h"

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QScrollArea>

namespace {
// Asks the panel for the whole block's height; it gets less only when the panel is short.
class TMetaScrollArea : public QScrollArea {
public:
  using QScrollArea::QScrollArea;
  QSize sizeHint() const override {
    const QSize hint = QScrollArea::sizeHint();
    return widget() ? QSize(hint.width(), widget()->maximumHeight() + 2 * frameWidth()) : hint;
  }
};
} // namespace

void TfrmMain::SetupSettings() {
  settings_ = std::make_unique<TStudioSettings>();

  actLineNumbers = new QAction(QStringLiteral("Zeilennummern"), this);
  actLineNumbers->setObjectName(QStringLiteral("actLineNumbers"));
  actLineNumbers->setCheckable(true);
  mnuAnsicht->addSeparator();
  mnuAnsicht->addAction(actLineNumbers);
  connect(actLineNumbers, &QAction::toggled, this,
          [this](bool on) { editor->SetShowLineNumbers(on); });
  actLineNumbers->setChecked(settings_->LineNumbers());
  editor->SetShowLineNumbers(actLineNumbers->isChecked());

  // On a short screen the five fields and their button would be cut off at the bottom of
  // the panel; in a scroll area they stay reachable and the tree keeps the rest.
  QWidget *block = ui_->metaBlock;
  QBoxLayout *layout = ui_->exPrjLayout;
  const int at = layout->indexOf(block);
  layout->removeWidget(block);
  auto *scroll = new TMetaScrollArea(ui_->exPrjContents);
  scroll->setObjectName(QStringLiteral("metaScroll"));
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidgetResizable(true);
  scroll->setWidget(block);
  scroll->setMaximumHeight(block->maximumHeight());
  scroll->setMinimumHeight(block->maximumHeight() / 3);
  layout->insertWidget(at, scroll);
  layout->setStretchFactor(twProjekt, 1);

  // The reference pages are tables; the bottom panels open tall enough to show a page's
  // heading and six of its rows.
  const int row = htmVar->fontMetrics().lineSpacing() + 6;
  resizeDocks({exLang}, {14 * row}, Qt::Vertical);

  const QByteArray state = settings_->WindowState();
  if (!state.isEmpty())
    restoreState(state);
}

void TfrmMain::SaveSettings() {
  if (!settings_)
    return;
  settings_->SetWindowState(saveState());
  settings_->SetLineNumbers(actLineNumbers->isChecked());
  settings_->Sync();
}
