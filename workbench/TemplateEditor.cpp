// The template editor over the studio's own editor control.
#include "workbench/TemplateEditor.h"

#include "completion/KzCompletionProposal.h"
#include "editor/KzEditGutter.h"
#include "editor/qt/KzEditWidget.h"
#include "platform/StoredForm.h"

#include <QPointer>

#include <algorithm>

namespace {
constexpr int kDefaultScrollWidth = 1024;
}

struct TTemplateEditor::TImpl {
  QPointer<TKzEdit> Edit; // owned by the parent widget, which may delete it first
  TCustomKzEdit &Core() const { return Edit->Editor(); }
};

TTemplateEditor::TTemplateEditor(QWidget *parent)
    : QObject(parent), impl_(std::make_unique<TImpl>()) {
  impl_->Edit = new TKzEdit(parent);
  impl_->Edit->setObjectName(QStringLiteral("editor"));
  TCustomKzEdit &core = impl_->Core();
  // Templates often hold minified HTML on one line far longer than the fixed scroll width
  // of 1,024 columns; past it a line could neither be seen nor edited. The scroll width
  // grows with the text instead.
  core.SetOptions(core.Options() | TKzEditorOptions{eoAutoSizeMaxScrollWidth});
  core.OnChange = [this](TCustomKzEdit &) {
    if (OnChange)
      OnChange();
  };
  core.OnKeyPress = [this](TCustomKzEdit &, char &key) {
    if (OnKeyPress)
      OnKeyPress(key);
  };
  core.OnStatusChange = [this](TCustomKzEdit &, TKzStatusChanges) {
    if (OnStatusChange)
      OnStatusChange();
  };
}

TTemplateEditor::~TTemplateEditor() {
  // The widget may outlive this object by a moment while the window is torn down; it must
  // not call back into a handler that is gone.
  if (impl_->Edit) {
    impl_->Core().OnChange = nullptr;
    impl_->Core().OnKeyPress = nullptr;
    impl_->Core().OnStatusChange = nullptr;
  }
}

QWidget *TTemplateEditor::Widget() const { return impl_->Edit; }
TCustomKzEdit &TTemplateEditor::Core() const { return impl_->Core(); }

std::string TTemplateEditor::Text() const { return impl_->Core().Text(); }
void TTemplateEditor::SetText(const std::string &text) {
  TCustomKzEdit &core = impl_->Core();
  core.SetText(text);
  core.SetTextModified(false);
  // The editor widens the scroll width as lines grow; a new text starts from its own
  // longest line, with room for the caret behind it.
  core.SetMaxScrollWidth(std::max(kDefaultScrollWidth, core.Lines().LongestLineLength() + 1));
}
bool TTemplateEditor::TextModified() const { return impl_->Core().TextModified(); }
void TTemplateEditor::SetTextModified(bool modified) { impl_->Core().SetTextModified(modified); }
bool TTemplateEditor::InsertMode() const { return impl_->Core().InsertMode(); }

std::string TTemplateEditor::SelectedText() const { return impl_->Core().SelectedText(); }
void TTemplateEditor::SetSelectedText(const std::string &text) {
  impl_->Core().SetSelectedText(text);
}

void TTemplateEditor::CopySelection() { impl_->Core().CopySelection(); }
void TTemplateEditor::PasteClipboard() { impl_->Core().PasteClipboard(); }
void TTemplateEditor::CutSelection() { impl_->Core().CutSelection(); }
void TTemplateEditor::Undo() { impl_->Core().Undo(); }
void TTemplateEditor::Redo() { impl_->Core().Redo(); }
bool TTemplateEditor::UndoAvailable() const { return impl_->Core().UndoAvailable(); }
bool TTemplateEditor::RedoAvailable() const { return impl_->Core().RedoAvailable(); }

void TTemplateEditor::SetEnabled(bool enabled) { impl_->Edit->SetEnabled(enabled); }
bool TTemplateEditor::Enabled() const {
  return impl_->Core().Enabled() && impl_->Edit->isEnabled();
}
void TTemplateEditor::SetFocus() { impl_->Edit->SetFocus(); }

int TTemplateEditor::CaretX() const { return impl_->Core().CaretX(); }
int TTemplateEditor::CaretY() const { return impl_->Core().CaretY(); }
std::string TTemplateEditor::LineText(int y) const { return impl_->Core().Lines().GetLine(y - 1); }

void TTemplateEditor::SetCaret(int x, int y) { impl_->Core().SetCaretPos({x, y}); }

int TTemplateEditor::LineCount() const { return std::max(impl_->Core().Lines().Count(), 1); }

void TTemplateEditor::GotoLine(int y) {
  TCustomKzEdit &core = impl_->Core();
  y = std::clamp(y, 1, LineCount());
  if (y < core.TopLine() || y >= core.TopLine() + core.LinesInWindow())
    core.SetTopLine(std::max(1, y - core.LinesInWindow() / 2));
  core.SetCaretPos({1, y});
}

void TTemplateEditor::SetSelection(int x1, int y1, int x2, int y2) {
  impl_->Core().SetCaretAndSelection({x2, y2}, {x1, y1}, {x2, y2});
}

void TTemplateEditor::SetHighlighter(TKzCustomHighlighter *highlighter) {
  impl_->Core().SetHighlighter(highlighter);
}

void TTemplateEditor::AttachCompletion(TKzCompletionProposal &completion) {
  completion.SetEditor(&impl_->Core());
}

void TTemplateEditor::SetShowLineNumbers(bool on) { impl_->Core().Gutter().SetShowLineNumbers(on); }
bool TTemplateEditor::ShowLineNumbers() const { return impl_->Core().Gutter().ShowLineNumbers(); }

TKzCustomHighlighter *TTemplateEditor::Highlighter() const { return impl_->Core().Highlighter(); }

void TTemplateEditor::ApplyStoredForm(const kzp::TStoredValue &component) {
  LoadStoredEditorSettings(impl_->Core(), component);
}
