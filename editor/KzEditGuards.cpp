// The scoped locks over the undo lists and the editor.
#include "editor/KzEditGuards.h"

#include "editor/KzEdit.h"

TKzUndoBlock::TKzUndoBlock(TKzEditUndoList &list) : FList(list) { FList.BeginBlock(); }
TKzUndoBlock::TKzUndoBlock(TCustomKzEdit &editor) : TKzUndoBlock(editor.UndoList()) {}
TKzUndoBlock::~TKzUndoBlock() noexcept(false) {
  KzReleaseGuard([this] { FList.EndBlock(); });
}

TKzUndoLock::TKzUndoLock(TKzEditUndoList &list) : FList(list) { FList.Lock(); }
TKzUndoLock::~TKzUndoLock() noexcept(false) {
  KzReleaseGuard([this] { FList.Unlock(); });
}

TKzUndoSuspend::TKzUndoSuspend(TCustomKzEdit &editor) : FEditor(editor) { FEditor.SuspendUndo(); }
TKzUndoSuspend::~TKzUndoSuspend() noexcept(false) {
  KzReleaseGuard([this] { FEditor.ResumeUndo(); });
}
