// The template editor as the main window uses it: the few operations and events its commands
// need, in one place, so the window never depends on more of the editor control than that.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <string>

class QWidget;
class TCustomKzEdit;
class TKzCompletionProposal;
class TKzCustomHighlighter;
namespace kzp {
class TStoredValue;
}

class TTemplateEditor : public QObject {
  Q_OBJECT
public:
  explicit TTemplateEditor(QWidget *parent);
  ~TTemplateEditor() override;

  QWidget *Widget() const;
  // The whole text as 8-bit string, lines joined by CR LF, no break after the last line.
  // Setting it raises no OnChange and starts a fresh undo history.
  std::string Text() const;
  void SetText(const std::string &text);

  // Whether the text differs from what was set or last marked saved. Setting a text clears it.
  bool TextModified() const;
  void SetTextModified(bool modified);
  // Typing inserts (true) or overwrites (false).
  bool InsertMode() const;

  // The selected text; setting it replaces the selection, or inserts at the caret.
  std::string SelectedText() const;
  void SetSelectedText(const std::string &text);

  void CopySelection();
  void PasteClipboard();
  void CutSelection();
  void Undo();
  void Redo();
  bool UndoAvailable() const;
  bool RedoAvailable() const;

  void SetEnabled(bool enabled);
  bool Enabled() const;
  void SetFocus();

  // Caret in buffer coordinates: column and line from 1, column 1 before the first char.
  int CaretX() const;
  int CaretY() const;
  // The text of line `y` (from 1), empty past the end.
  std::string LineText(int y) const;
  // Moves the caret, for callers that place text at a known spot.
  void SetCaret(int x, int y);
  // The number of lines (at least 1).
  int LineCount() const;
  // Puts the caret at the start of line `y` (held within the text), in the middle of the view
  // when the line lies outside it.
  void GotoLine(int y);
  // Selects from (x1, y1) to (x2, y2), the caret ending at the second point.
  void SetSelection(int x1, int y1, int x2, int y2);

  // The editor control itself, for the window's parts that work on its text and selection
  // directly (search and replace, the print job).
  TCustomKzEdit &Core() const;

  // Referenced, never owned.
  void SetHighlighter(TKzCustomHighlighter *highlighter);
  // Binds a completion list to the editor; the list must go before the editor does.
  void AttachCompletion(TKzCompletionProposal &completion);
  TKzCustomHighlighter *Highlighter() const;

  // The line numbers in the gutter.
  void SetShowLineNumbers(bool on);
  bool ShowLineNumbers() const;

  // The editor's settings of the window's stored form (its member "editor").
  void ApplyStoredForm(const kzp::TStoredValue &component);

  // Every change of the text by the user or a command (not by SetText).
  std::function<void()> OnChange;
  // Every character key the editor receives, control characters included.
  std::function<void(char &key)> OnKeyPress;
  // The caret, the insert mode or the modified state changed (among other things).
  std::function<void()> OnStatusChange;

private:
  struct TImpl;
  std::unique_ptr<TImpl> impl_;
};
