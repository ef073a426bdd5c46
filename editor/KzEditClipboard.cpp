// Copy, cut and paste: plain text for every program, and the editor's own block format that
// also carries the selection mode.
#include "editor/KzEdit.h"

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

void TCustomKzEdit::DoCopyToClipboard(const std::string &text) {
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

void TCustomKzEdit::CopySelection() {
  if (!SelectionAvailable())
    return;
  // A rectangle keeps its padding on the clipboard so that it pastes back as a rectangle.
  bool trim = HasOption(eoTrimTrailingSpaces) && FSelectionMode != smColumn;
  DoCopyToClipboard(SelectedTextOf(FSelectionMode, FBlockBegin, FBlockEnd, trim));
}

void TCustomKzEdit::CutSelection() {
  if (FReadOnly || !SelectionAvailable())
    return;
  DoCopyToClipboard(SelectedText());
  const std::string text = SelectedCharacters();
  // Anchor and end as they were, so that undo puts the caret back on the selection's end.
  const TBufferCoord anchor = FBlockBegin, end = FBlockEnd;
  const TKzSelectionMode mode = FSelectionMode;
  // Recorded first: blanks the cut leaves at a line's end and trimming takes are recorded
  // after it, so that undo gives them back before the cut text.
  FUndoList.PushChange(TKzChangeReason::DeleteBeforeCaret, anchor, end, text, mode,
                       RectangleStarts(mode, anchor, end));
  SetSelTextPrimitive(mode, std::string());
}

bool TCustomKzEdit::PasteAvailable() const {
  if (FReadOnly)
    return false;
  kzp::TClipboard &cb = FHost.Clipboard();
  return cb.HasFormat(kzp::TClipboard::TextFormat) || cb.HasFormat(KzEditClipboardFormatName);
}

void TCustomKzEdit::PasteClipboard() {
  if (FReadOnly)
    return;
  kzp::TClipboard &cb = FHost.Clipboard();
  const bool own = cb.HasFormat(KzEditClipboardFormatName);
  if (!own && !cb.HasFormat(kzp::TClipboard::TextFormat))
    return;
  FUndoList.BeginBlock();
  IncPaintLock();
  try {
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
    FUndoList.PushChange(TKzChangeReason::PasteBegin, FBlockBegin, FBlockEnd, std::string(),
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
    FUndoList.PushChange(TKzChangeReason::PasteEnd, FBlockBegin, FBlockEnd, std::string(),
                         FSelectionMode);
  } catch (...) {
    FUndoList.EndBlock();
    DecPaintLock();
    throw;
  }
  FUndoList.EndBlock();
  if (HasOption(eoHideShowScrollbars))
    UpdateScrollBars();
  EnsureCursorPosVisible();
  StatusChanged({scSelection});
  DecPaintLock();
}
