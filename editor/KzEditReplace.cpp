// Replacing matches in the editor, each command one undo step.
#include "editor/KzEditReplace.h"

#include "editor/KzEditGuards.h"
#include "editor/KzEditModel.h"

#include <algorithm>

namespace {

// While a replacement runs: a character-stream selection, no trimming of trailing blanks
// (which would change text the search never matched), and no room past the ends of lines,
// whose column limit would otherwise cut a selection far out on a long line short.
// Restored on every way out, and the undo block and paint lock are closed with it.
class TReplaceSession {
public:
  explicit TReplaceSession(TCustomKzEdit &editor)
      : FEdit(editor), FEditor(editor), FMode(editor.SelectionMode()), FOptions(editor.Options()) {
    FEditor.SetOptions(FOptions - TKzEditorOptions{eoTrimTrailingSpaces, eoScrollPastEol});
    FEditor.SetSelectionMode(smNormal);
  }
  ~TReplaceSession() {
    FEditor.SetSelectionMode(FMode);
    FEditor.SetOptions(FOptions);
  }
  TReplaceSession(const TReplaceSession &) = delete;
  TReplaceSession &operator=(const TReplaceSession &) = delete;

private:
  // Opened first and closed last: the mode and options are back before the step ends.
  TKzEditTransaction FEdit;
  TCustomKzEdit &FEditor;
  TKzSelectionMode FMode;
  TKzEditorOptions FOptions;
};

// The text from a to b, lines joined by CR LF as the editor's selected text has them.
std::string TextBetween(const TKzEditStringList &lines, TBufferCoord a, TBufferCoord b) {
  std::string out;
  for (int y = a.Line; y <= b.Line; ++y) {
    const std::string_view line = lines.LineView(y - 1);
    const std::size_t from = y == a.Line ? std::min(std::size_t(a.Char - 1), line.size()) : 0;
    const std::size_t to =
        y == b.Line ? std::min(std::size_t(b.Char - 1), line.size()) : line.size();
    if (y > a.Line)
      out += "\r\n";
    if (to > from)
      out.append(line.substr(from, to - from));
  }
  return out;
}

void Replace(TCustomKzEdit &editor, const TKzSearchMatch &m, const std::string &text) {
  editor.SetCaretAndSelection(m.End, m.Start, m.End);
  editor.SetSelectedText(text);
}

} // namespace

TKzCharSet EditorWordChars(const TCustomKzEdit &editor) {
  TKzCharSet set;
  for (int c = 0; c < 256; ++c)
    if (editor.IsIdentChar(char(c)))
      set.set(std::size_t(c));
  return set;
}

void SelectMatch(TCustomKzEdit &editor, const TKzSearchMatch &match) {
  TKzPaintLock lock(editor);
  editor.SetSelectionMode(smNormal);
  // Room past the line ends limits columns to the scroll width, also inside a long line.
  const TKzEditorOptions options = editor.Options();
  editor.SetOptions(options - TKzEditorOptions{eoScrollPastEol});
  editor.SetCaretAndSelection(match.End, match.Start, match.End);
  editor.SetOptions(options);
}

TKzSearchMatch SelectionAsMatch(const TCustomKzEdit &editor) {
  if (!editor.SelectionAvailable())
    return {editor.CaretXY(), editor.CaretXY()};
  return {editor.SelectionFirst(), editor.SelectionLast()};
}

TKzSearchScope SelectionScope(const TCustomKzEdit &editor) {
  if (!editor.SelectionAvailable())
    return TKzSearchScope::Whole();
  const TBufferCoord first = editor.SelectionFirst(), last = editor.SelectionLast();
  switch (editor.SelectionMode()) {
  case smLine:
    return TKzSearchScope::Range({1, first.Line},
                                 {editor.Lines().LineLength(last.Line - 1) + 1, last.Line});
  case smColumn: {
    const int a = editor.BufferToDisplayPos(editor.SelectionAnchor()).Column;
    const int b = editor.BufferToDisplayPos(editor.SelectionEnd()).Column;
    const int left = std::min(a, b), right = std::max(a, b);
    std::vector<std::pair<int, int>> columns;
    for (int y = first.Line; y <= last.Line; ++y)
      columns.emplace_back(editor.DisplayToBufferPos({left, y}).Char,
                           editor.DisplayToBufferPos({right, y}).Char);
    return TKzSearchScope::Rectangle(first.Line, std::move(columns));
  }
  default: return TKzSearchScope::Range(first, last);
  }
}

bool ReplaceSelectedMatch(TCustomKzEdit &editor, const TKzSearch &search,
                          const std::string &replacement) {
  if (editor.ReadOnly() || search.Empty())
    return false;
  const TKzBufferSearchLines lines(editor.Lines());
  const TKzSearchMatch m = SelectionAsMatch(editor);
  if (!search.IsMatch(lines, m))
    return false;
  const std::string text = search.ReplacementFor(lines, m, replacement);
  TReplaceSession session(editor);
  Replace(editor, m, text);
  return true;
}

int ReplaceAllMatches(TCustomKzEdit &editor, const TKzSearch &search,
                      const std::string &replacement, const TKzSearchScope &scope) {
  if (editor.ReadOnly() || search.Empty())
    return 0;
  TKzEditStringList &lines = editor.Lines();
  const std::vector<TKzReplacement> found =
      search.Replacements(TKzBufferSearchLines(lines), scope, replacement);
  auto between = [&](TBufferCoord a, TBufferCoord b) { return TextBetween(lines, a, b); };
  // Each edit leaves two items in the undo list; when they would not all fit, older ones
  // would fall out and the step could no longer be undone whole. Then all matches go in as
  // one edit that rewrites the text between them unchanged.
  std::vector<TKzReplacement> edits = FoldReplacements(found, false, between);
  if (editor.MaxUndo() > 0 && int(edits.size()) * 2 + 2 > editor.MaxUndo())
    edits = FoldReplacements(found, true, between);
  if (edits.empty())
    return int(found.size());

  const TBufferCoord caret = editor.CaretXY();
  const TBufferCoord anchor = editor.SelectionAnchor(), end = editor.SelectionEnd();
  TBufferCoord after = caret;
  {
    TReplaceSession session(editor);
    TKzEditUpdateGuard bracket(lines);
    // Undo restores the selection and the caret from these once the text is back.
    editor.UndoList().PushChange(TKzChangeReason::CaretMove, caret, caret, std::string(),
                                 editor.SelectionMode());
    editor.UndoList().PushChange(TKzChangeReason::SelectionChange, anchor, end, std::string(),
                                 editor.SelectionMode());
    // From the last edit to the first, so that each one's position is still valid; the
    // caret ends after the last replacement, moved by the lines the earlier edits added.
    int shift = 0;
    for (auto it = edits.rbegin(); it != edits.rend(); ++it) {
      Replace(editor, it->Match, it->Text);
      if (it == edits.rbegin())
        after = editor.CaretXY();
      else
        shift += editor.CaretY() - it->Match.End.Line;
    }
    after.Line += shift;
  }
  editor.SetCaretPos(caret < edits.front().Match.Start ? caret : after);
  return int(found.size());
}
