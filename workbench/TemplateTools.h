// The preview and the template check of the main window: their panels, their commands in the
// "Ansicht" and "Bearbeiten" menus, and what the window tells them (a pack or template was
// opened, the text changed, a template was saved).
#pragma once

#include "template/TemplateCatalogue.h"
#include "template/TemplateCheck.h"
#include "workbench/PreviewView.h"

#include <QObject>

#include <memory>
#include <string>

class QAction;
class TCheckDock;
class TPreviewDock;
class TfrmMain;

class TTemplateTools : public QObject {
  Q_OBJECT
public:
  // Reads the catalogue beside the program and adds the panels and commands to `window`.
  explicit TTemplateTools(TfrmMain &window);
  ~TTemplateTools() override;

  // ---- what the window tells ----
  void PackOpened();
  void TemplateOpened();
  void TextChanged();
  // Checks the saved template once the save has returned, so a save never waits for it.
  void TemplateSaved(const std::string &name);

  // ---- commands ----
  void CheckTemplate();     // "Bearbeiten" / "Template prüfen": the editor's text
  void CheckAllTemplates(); // "Bearbeiten" / "Alle Templates prüfen"
  // Opens the finding's template when another is open (asking about unsaved changes)
  // and puts the caret on the finding.
  void GoTo(const TTplFinding &finding);

  // The page the preview's scheme serves for a pack name, with the editor's text for the
  // open template.
  TPreviewReply Serve(const std::string &name) const;
  // The template the preview shows: the open one, or for an open style sheet the page
  // shown last (else the pack's first page).
  std::string PreviewPage();

  TPreviewDock *Preview;
  TCheckDock *Check;
  QAction *actCheckTemplate, *actCheckAll;

private:
  QString CatalogueNote() const;
  void Show(std::vector<TTplFinding> findings, const QString &scope);

  TfrmMain &w_;
  TTemplateCatalogue catalogue_;
  bool haveCatalogue_ = false;
  std::string lastPage_;
  // The editor's text as the preview's current page load sees it.
  std::shared_ptr<const std::string> editorText_;
};
