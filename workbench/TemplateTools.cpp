// The preview and the template check, wired to the main window.
#include "workbench/TemplateTools.h"

#include "pack/PackStore.h"
#include "platform/Dialogs.h"
#include "platform/qt/QtCodePage.h"
#include "template/PreviewResolver.h"
#include "template/TemplatePack.h"
#include "template/TemplateReader.h"
#include "workbench/CheckDock.h"
#include "workbench/ErrorHandler.h"
#include "workbench/PreviewDock.h"
#include "workbench/TemplateEditor.h"
#include "workbench/untMain.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>

using kzp::codepage::ToQString;

namespace {

const char *const kHtml = "text/html;charset=windows-1252";

// The page the preview shows with no template open; the program's 8-bit text.
std::string StartPage(const char *message) {
  return std::string(
             "<html><body "
             "style=\"font-family:Arial,sans-serif;font-size:10pt;color:#5a6b7d;margin:12px\">"
             "<p>") +
         message + "</p></body></html>";
}

bool IsPage(const std::string &name) { return !name.empty() && !IsStyleSheetName(name); }

} // namespace

TTemplateTools::TTemplateTools(TfrmMain &window) : QObject(&window), w_(window) {
  try {
    catalogue_ = TTemplateCatalogue::Load(w_.ProgramDir() + "varLib03.db");
    haveCatalogue_ = true;
  } catch (const ECatalogueError &) {
    // Without the catalogue the check still finds what needs no names; the panel says so.
  }

  Preview = new TPreviewDock(&w_);
  w_.addDockWidget(Qt::RightDockWidgetArea, Preview);
  Preview->hide();
  Preview->PageName = [this] { return PreviewPage(); };
  Preview->Serve = [this](const std::string &name) { return Serve(name); };
  Preview->OnRefresh = [this] {
    const TPackStore &store = ThePackStore();
    editorText_ = store.CurrentTemplate == "na"
                      ? nullptr
                      : std::make_shared<const std::string>(w_.editor->Text());
  };
  QAction *view = Preview->toggleViewAction();
  view->setText(QStringLiteral("Vorschau"));
  w_.mnuAnsicht->addAction(view);

  Check = new TCheckDock(&w_);
  w_.addDockWidget(Qt::BottomDockWidgetArea, Check);
  w_.tabifyDockWidget(w_.exVariablen, Check);
  Check->hide();
  Check->OnGoTo = [this](const TTplFinding &f) { RunGuarded([&] { GoTo(f); }); };

  actCheckTemplate = new QAction(QStringLiteral("Template prüfen"), &w_);
  actCheckTemplate->setObjectName(QStringLiteral("actCheckTemplate"));
  actCheckAll = new QAction(QStringLiteral("Alle Templates prüfen"), &w_);
  actCheckAll->setObjectName(QStringLiteral("actCheckAll"));
  connect(actCheckTemplate, &QAction::triggered, this,
          [this] { RunGuarded([this] { CheckTemplate(); }); });
  connect(actCheckAll, &QAction::triggered, this,
          [this] { RunGuarded([this] { CheckAllTemplates(); }); });
  if (auto *edit = w_.findChild<QMenu *>(QStringLiteral("mnuBearbeiten"))) {
    edit->addSeparator();
    edit->addActions({actCheckTemplate, actCheckAll});
  }
}

TTemplateTools::~TTemplateTools() = default;

void TTemplateTools::PackOpened() {
  lastPage_.clear();
  Check->Clear();
  Preview->Refresh();
}

void TTemplateTools::TemplateOpened() {
  const std::string &name = ThePackStore().CurrentTemplate;
  if (IsPage(name))
    lastPage_ = name;
  Preview->Refresh();
}

void TTemplateTools::TextChanged() { Preview->Schedule(); }

void TTemplateTools::TemplateSaved(const std::string &name) {
  const std::string pack = ThePackStore().PackPath;
  QTimer::singleShot(0, this, [this, name, pack] {
    // Another pack may have been opened in between; its template of that name is not
    // the one saved.
    const TPackStore &store = ThePackStore();
    if (store.PackPath != pack)
      return;
    RunGuarded([&] {
      const TTemplatePack tpl(store.Records);
      std::vector<TTplFinding> found = TTemplateCheck(catalogue_, tpl).CheckTemplate(name);
      const bool any = !found.empty();
      Show(std::move(found), ToQString(name));
      // A clean save needs no panel; one with findings shows them.
      if (any && !Check->isVisible()) {
        Check->show();
        Check->raise();
      }
    });
  });
}

QString TTemplateTools::CatalogueNote() const {
  return haveCatalogue_
             ? QString()
             : QStringLiteral("Der Variablenkatalog varLib03.db fehlt; Variablen, Sprachtexte und "
                              "Schleifen wurden nicht geprüft.");
}

void TTemplateTools::Show(std::vector<TTplFinding> findings, const QString &scope) {
  Check->ShowFindings(std::move(findings), scope, CatalogueNote());
}

void TTemplateTools::CheckTemplate() {
  const TPackStore &store = ThePackStore();
  if (store.PackPath == "na" || store.CurrentTemplate == "na") {
    Dialogs().MessageDlg(&w_, "Bitte öffnen Sie zuerst ein Projekt bzw. ein Template.",
                         "Template prüfen", TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    return;
  }
  TTemplatePack pack(store.Records);
  const std::string text = w_.editor->Text();
  Show(TTemplateCheck(catalogue_, pack).CheckText(store.CurrentTemplate, text),
       ToQString(store.CurrentTemplate));
  Check->show();
  Check->raise();
}

void TTemplateTools::CheckAllTemplates() {
  const TPackStore &store = ThePackStore();
  if (store.PackPath == "na") {
    Dialogs().MessageDlg(&w_, "Bitte öffnen Sie zuerst ein Projekt!", "Alle Templates prüfen",
                         TMsgDlgType::mtWarning, TMsgDlgButtons::mbOK);
    return;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  TTemplatePack pack(store.Records);
  // The open template counts as it stands in the editor.
  if (store.CurrentTemplate != "na")
    pack.OverrideTemplate(store.CurrentTemplate,
                          std::make_shared<const std::string>(w_.editor->Text()));
  std::vector<TTplFinding> found = TTemplateCheck(catalogue_, pack).CheckPack();
  const std::size_t count = pack.TemplateNames().size();
  QApplication::restoreOverrideCursor();
  Show(std::move(found),
       count == 1 ? QStringLiteral("1 Template") : QStringLiteral("%1 Templates").arg(count));
  Check->show();
  Check->raise();
}

void TTemplateTools::GoTo(const TTplFinding &finding) {
  TPackStore &store = ThePackStore();
  if (store.PackPath == "na")
    return;
  if (store.CurrentTemplate != finding.Template) {
    QTreeWidgetItem *root = w_.TemplateRoot();
    const QString caption = ToQString(finding.Template);
    QTreeWidgetItem *node = nullptr;
    for (int i = 0; root && i < root->childCount() && !node; ++i)
      if (root->child(i)->text(0) == caption)
        node = root->child(i);
    if (!node)
      return; // the template is gone from the pack since the check
    w_.twProjekt->setCurrentItem(node);
    w_.twProjektDblClick();
    if (store.CurrentTemplate != finding.Template)
      return; // the user kept the open template
  }
  w_.editor->SetCaret(static_cast<int>(finding.Column), static_cast<int>(finding.Line));
  w_.editor->SetFocus();
  // The double click that got here is not over yet: the list would take the focus back
  // once its mouse event ends, so the editor takes it again after that.
  QTimer::singleShot(0, w_.editor->Widget(), [this] { w_.editor->SetFocus(); });
}

std::string TTemplateTools::PreviewPage() {
  const TPackStore &store = ThePackStore();
  if (store.PackPath == "na" || store.CurrentTemplate == "na")
    return {};
  if (IsPage(store.CurrentTemplate))
    return store.CurrentTemplate;
  // A style sheet is no page of its own: it is shown on the page seen last, or the first.
  const TTemplatePack pack(store.Records);
  if (!lastPage_.empty() && pack.HasTemplate(lastPage_))
    return lastPage_;
  for (const std::string &name : pack.TemplateNames())
    if (IsPage(name))
      return lastPage_ = name;
  return {};
}

TPreviewReply TTemplateTools::Serve(const std::string &name) const {
  const TPackStore &store = ThePackStore();
  if (name.empty()) {
    const char *message = store.PackPath == "na"
                              ? "Kein Pack ge\xF6"
                                "ffnet."
                              : "\xD6"
                                "ffnen Sie ein Template, um seine Vorschau zu sehen.";
    return {true, kHtml, StartPage(message)};
  }
  if (store.PackPath == "na")
    return {};
  TTemplatePack pack(store.Records);
  if (store.CurrentTemplate != "na" && editorText_)
    pack.OverrideTemplate(store.CurrentTemplate, editorText_);
  TPreviewReply reply;
  if (pack.FileBytes(name, reply.Bytes)) {
    reply.Found = true;
    reply.MimeType = MimeTypeOf(name);
  } else if (const std::string *text = pack.TemplateText(name)) {
    reply.Found = true;
    if (IsStyleSheetName(name)) {
      reply.MimeType = "text/css;charset=windows-1252";
      reply.Bytes = *text;
    } else {
      TPreviewOptions options;
      options.OtherBranch = Preview->OtherBranch();
      reply.MimeType = kHtml;
      TPreviewResolver resolver(catalogue_, pack, options);
      // The page's own host is the pack's top, whatever load it belongs to.
      resolver.UrlOf = [](std::string_view path) { return "/" + std::string(path); };
      reply.Bytes = resolver.Resolve(name);
    }
  }
  return reply;
}
