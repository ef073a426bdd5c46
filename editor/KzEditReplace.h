// Search and replace in an editor through its public operations: selecting a match, the
// selection as a search scope, replacing one match or all of them, each as one undo step.
#pragma once

#include "editor/KzEdit.h"
#include "editor/KzEditSearch.h"

#include <string>
#include <vector>

// The characters the editor counts as parts of a word (its highlighter's, or its own).
TKzCharSet EditorWordChars(const TCustomKzEdit &editor);

// Selects a match as a character stream, the caret at its end, scrolled into view.
void SelectMatch(TCustomKzEdit &editor, const TKzSearchMatch &match);

// The selection as a match candidate; without a selection, the empty range at the caret.
TKzSearchMatch SelectionAsMatch(const TCustomKzEdit &editor);

// The selection as the scope of "Nur in der Auswahl": a stream, whole lines or a rectangle
// as the selection mode has it. Whole() without a selection.
TKzSearchScope SelectionScope(const TCustomKzEdit &editor);

// Replaces the selection when it is exactly a match of `search` (the empty range at the
// caret for an empty match), as one undo step, and leaves the caret after the new text.
// False, with nothing changed, when it is no match or the editor is read-only.
bool ReplaceSelectedMatch(TCustomKzEdit &editor, const TKzSearch &search,
                          const std::string &replacement);

// Replaces every match in the scope as one undo step; undo gives back the text, the caret
// and the selection as they were. Text between the matches is never touched: trailing
// blanks stay, even where the editor would trim them on typing. Returns the number of
// matches replaced (0 for a read-only editor).
int ReplaceAllMatches(TCustomKzEdit &editor, const TKzSearch &search,
                      const std::string &replacement, const TKzSearchScope &scope);

// The replacements folded into edits of the text: matches that end on the line where the
// next one starts become one edit that keeps the text between them, and replacements that
// change nothing are left out. With `single`, everything becomes one edit from the first
// change to the last. `between(a, b)` gives the text from point a to point b.
template <class Between>
std::vector<TKzReplacement> FoldReplacements(const std::vector<TKzReplacement> &replacements,
                                             bool single, Between &&between) {
  std::vector<TKzReplacement> edits;
  for (const TKzReplacement &r : replacements) {
    if (r.Text == between(r.Match.Start, r.Match.End))
      continue;
    if (!edits.empty() && (single || edits.back().Match.End.Line == r.Match.Start.Line)) {
      TKzReplacement &last = edits.back();
      last.Text += between(last.Match.End, r.Match.Start);
      last.Text += r.Text;
      last.Match.End = r.Match.End;
    } else {
      edits.push_back(r);
    }
  }
  return edits;
}
