// Copy, cut and paste: plain text for every program, and the editor's own block format that
// also carries the selection mode.
#include "editor/KzEditModel.h"

#include "editor/KzEditStrConst.h"

#include <algorithm>

namespace {

// The editor's own format starts with the selection mode as one byte: 0, 1 or 2.
static_assert(smNormal == 0 && smLine == 1 && smColumn == 2);

std::string UpToNul(const std::string &s, std::size_t from = 0) {
  if (from >= s.size())
    return std::string();
  std::size_t nul = s.find('\0', from);
  return s.substr(from, nul == std::string::npos ? std::string::npos : nul - from);
}

} // namespace

void TKzEditModel::CopyToClipboard(const std::string &text) {
  std::vector<kzp::TClipboardFormat> formats;
  formats.push_back({kzp::TClipboard::TextFormat, text + '\0'});
  std::string block;
  block.reserve(text.size() + 2);
  block += static_cast<char>(FSelectionMode);
  block += text;
  block += '\0';
  formats.push_back({KzEditClipboardFormatName, std::move(block)});
  if (!FHost.Clipboard().SetContents(formats))
    throw EKzEditError(SKzEditClipboardCopyError);
}

void TKzEditModel::CopySelection() {
  if (!SelectionAvailable())
    return;
  // A rectangle keeps its padding on the clipboard so that it pastes back as a rectangle.
  bool trim = HasOption(eoTrimTrailingSpaces) && FSelectionMode != smColumn;
  CopyToClipboard(SelectedTextOf(FSelectionMode, FBlockBegin, FBlockEnd, trim));
}

void TKzEditModel::CutSelection() {
  if (FReadOnly || !SelectionAvailable())
    return;
  CopyToClipboard(SelectedText());
  const std::string text = SelectedCharacters();
  // Anchor and end as they were, so that undo puts the caret back on the selection's end.
  const TBufferCoord anchor = FBlockBegin, end = FBlockEnd;
  const TKzSelectionMode mode = FSelectionMode;
  TKzEditTransaction tx(*this, TKzEditTransaction::NoUndoBlock);
  // Recorded first: blanks the cut leaves at a line's end and trimming takes are recorded
  // after it, so that undo gives them back before the cut text.
  FDoc.UndoList().PushChange(TKzChangeReason::DeleteBeforeCaret, anchor, end, text, mode,
                             RectangleStarts(mode, anchor, end));
  SetSelTextPrimitive(mode, std::string());
}

bool TKzEditModel::PasteAvailable() {
  if (FReadOnly)
    return false;
  kzp::TClipboard &cb = FHost.Clipboard();
  return cb.HasFormat(kzp::TClipboard::TextFormat) || cb.HasFormat(KzEditClipboardFormatName);
}

void TKzEditModel::PasteClipboard() {
  if (FReadOnly)
    return;
  kzp::TClipboard &cb = FHost.Clipboard();
  const bool own = cb.HasFormat(KzEditClipboardFormatName);
  if (!own && !cb.HasFormat(kzp::TClipboard::TextFormat))
    return;
  TKzEditTransaction tx(*this);
  {
    std::optional<std::string> data =
        cb.GetFormat(own ? KzEditClipboardFormatName : kzp::TClipboard::TextFormat);
    if (!data)
      throw EKzEditError(SKzEditClipboardPasteError);
    TKzSelectionMode mode = FSelectionMode;
    std::string text;
    if (own) {
      unsigned char m = data->empty() ? 0 : static_cast<unsigned char>((*data)[0]);
      mode = m == 1 ? smLine : m == 2 ? smColumn : smNormal;
      text = UpToNul(*data, 1);
    } else {
      text = UpToNul(*data);
    }
    FDoc.UndoList().PushChange(TKzChangeReason::PasteBegin, FBlockBegin, FBlockEnd, std::string(),
                               FSelectionMode);
    // The replaced selection is recorded as a deletion in its own mode, so undo gives it back
    // whatever mode the pasted block brings.
    if (SelectionAvailable())
      DeleteSelectionRecorded();
    // Lines go in at the start of the caret line; nothing at all leaves the caret where it is.
    const TBufferCoord start =
        mode == smLine && !text.empty() ? TBufferCoord{1, FCaretY} : CaretXY();
    SetSelTextPrimitive(mode, text);
    RecordInsertion(TKzChangeReason::PasteText, mode, start);
    FDoc.UndoList().PushChange(TKzChangeReason::PasteEnd, FBlockBegin, FBlockEnd, std::string(),
                               FSelectionMode);
  }
  if (HasOption(eoHideShowScrollbars))
    FHost.UpdateScrollBars();
  FHost.EnsureCaretVisible();
  FHost.StatusChanged({scSelection});
}

void TKzEditModel::DropText(const std::string &text, TBufferCoord &drop, bool sameEditor,
                            bool move) {
  TKzEditTransaction tx(*this);
  if (sameEditor && move) {
    TBufferCoord first = SelectionFirst(), last = SelectionLast();
    {
      TKzUndoLock locked(FDoc.UndoList());
      SetSelTextPrimitive(FSelectionMode, std::string());
    }
    FDoc.UndoList().PushChange(TKzChangeReason::DeleteBeforeCaret, first, last, text,
                               FSelectionMode);
    // A drop point after the removed text moves back with the text behind it.
    if (last < drop || last == drop) {
      if (drop.Line == last.Line) {
        drop.Char = first.Char + (drop.Char - last.Char);
        drop.Line = first.Line;
      } else {
        drop.Line -= last.Line - first.Line;
      }
    }
  }
  // The drop point may lie beyond a line's end.
  TKzScopedValue<TKzEditorOptions> pastEol(FOptions, FOptions | TKzEditorOptions{eoScrollPastEol});
  SetCaretPos(drop);
  drop = CaretXY();
  {
    TKzUndoLock locked(FDoc.UndoList());
    SetSelTextPrimitive(smNormal, text);
  }
  FDoc.UndoList().PushChange(sameEditor ? TKzChangeReason::DropText : TKzChangeReason::InsertText,
                             drop, CaretXY(), std::string(), smNormal);
}
