// Search and replace in the main window: the "Bearbeiten" items and their keys, the search
// bar below the editor, the "Suchergebnisse" dock, and opening a result.
#include "workbench/untMain.h"

#include "editor/KzEdit.h"
#include "editor/KzEditReplace.h"
#include "pack/PackStore.h"
#include "platform/qt/QtCodePage.h"
#include "ui_frmMain.h"
#include "workbench/ErrorHandler.h"
#include "workbench/SearchBar.h"
#include "workbench/SearchResults.h"
#include "workbench/TemplateEditor.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTreeWidget>

using kzp::codepage::FromQString;
using kzp::codepage::ToQString;

void TfrmMain::SetupSearch() {
  TCustomKzEdit &core = editor->Core();
  searchBar = new TSearchBar(core, ui_->centralPanel);
  ui_->centralLayout->addWidget(searchBar);
  searchBar->CanReplace = [this] { return CanReplaceText(); };

  exSuche = new TSearchResultsDock(this);
  exSuche->setAllowedAreas(Qt::AllDockWidgetAreas);
  addDockWidget(Qt::BottomDockWidgetArea, exSuche);
  tabifyDockWidget(exVariablen, exSuche);
  exSuche->hide();
  exSuche->CanReplace = [this] { return CanReplaceText(); };
  exSuche->WordChars = [&core] { return EditorWordChars(core); };
  exSuche->OpenTemplate = [this] {
    TOpenTemplate open;
    open.Name = ThePackStore().CurrentTemplate;
    if (open.Name != "na")
      open.Text = editor->Text();
    return open;
  };
  exSuche->ReplaceInEditor = [&core](const TKzSearch &search, const std::string &replacement) {
    return ReplaceAllMatches(core, search, replacement, TKzSearchScope::Whole());
  };
  exSuche->OnOpenHit = [this](const std::string &name, const TKzSearchMatch &match) {
    OpenSearchHit(name, match);
  };

  // The keys are the window's: none of them is taken by the editor's keystroke table, so
  // they reach these actions while the editor has the focus.
  const struct {
    QAction **Action;
    const char *Caption;
    QKeySequence Keys;
    const char *Name;
    std::function<void()> Run;
  } items[] = {
      {&actSuchen, "Suchen …", QKeySequence(Qt::CTRL | Qt::Key_F), "actSuchen",
       [this] { searchBar->Open(false); }},
      {&actWeitersuchen, "Weitersuchen", QKeySequence(Qt::Key_F3), "actWeitersuchen",
       [this] { searchBar->FindNext(); }},
      {&actRueckwaerts, "Rückwärts suchen", QKeySequence(Qt::SHIFT | Qt::Key_F3), "actRueckwaerts",
       [this] { searchBar->FindPrevious(); }},
      {&actErsetzen, "Ersetzen …", QKeySequence(Qt::CTRL | Qt::Key_H), "actErsetzen",
       [this] { searchBar->Open(true); }},
      {&actPackSuchen, "Im ganzen Pack suchen", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F),
       "actPackSuchen",
       [this, &core] {
         // The selection within one line, else what the search bar holds, is searched for.
         QString text = searchBar->FindField()->text();
         if (core.SelectionAvailable()) {
           const std::string selected = core.SelectedText();
           if (selected.find_first_of("\r\n") == std::string::npos)
             text = ToQString(selected);
         }
         exSuche->Open(text);
       }},
  };
  ui_->mnuBearbeiten->addSeparator();
  for (const auto &item : items) {
    auto *action = new QAction(QString::fromUtf8(item.Caption), this);
    action->setObjectName(QString::fromLatin1(item.Name));
    action->setShortcut(item.Keys);
    action->setShortcutContext(Qt::WindowShortcut);
    const auto run = item.Run;
    connect(action, &QAction::triggered, this, [run] { RunGuarded(run); });
    ui_->mnuBearbeiten->addAction(action);
    *item.Action = action;
  }
}

bool TfrmMain::CanReplaceText() const {
  return !editor->Core().ReadOnly() && ThePackStore().CurrentTemplate != "na";
}

void TfrmMain::SearchEditorChanged() {
  searchBar->TextChanged();
  exSuche->MarkStale();
}

void TfrmMain::SearchDocumentReplaced(bool newPack) {
  searchBar->DocumentReplaced();
  if (newPack)
    exSuche->Clear();
  exSuche->UpdateReplaceState();
}

void TfrmMain::OpenSearchHit(const std::string &name, const TKzSearchMatch &match) {
  TPackStore &store = ThePackStore();
  if (store.CurrentTemplate != name) {
    QTreeWidgetItem *node = nullptr;
    for (int i = 0; templateRoot_ && i < templateRoot_->childCount() && !node; ++i)
      if (FromQString(templateRoot_->child(i)->text(0)) == name)
        node = templateRoot_->child(i);
    if (!node)
      return;
    twProjekt->setCurrentItem(node);
    node->setSelected(true);
    twProjektDblClick();
    if (store.CurrentTemplate != name)
      return; // cancelled, or the template could not be opened
  }
  TCustomKzEdit &core = editor->Core();
  // Results may be older than the text; a match past its end selects nothing.
  if (match.End.Line > core.Lines().Count())
    return;
  SelectMatch(core, match);
  editor->SetFocus();
}
