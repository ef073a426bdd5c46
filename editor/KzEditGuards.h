// Scoped locks of the editor: the paint lock, an undo block, a locked undo list. Each one is
// released on every path out of its scope, an exception included, so no command can leave
// the editor unable to paint, to record or to report its status.
#pragma once

#include <exception>

class TKzEditUndoList;
class TCustomKzEdit;

// Runs the release step of a guard's destructor. The step may call handlers (OnChange,
// OnStatusChange) that throw: such an exception reaches the caller, unless another one is
// already unwinding the stack, which a second exception cannot join; then it is dropped.
// Nothing is asked of the runtime unless the step throws.
template <class F> void KzReleaseGuard(F &&release) {
  try {
    release();
  } catch (...) {
    if (std::uncaught_exceptions() > 0)
      return;
    throw;
  }
}

// Anything that holds back caret, scroll-bar and status updates while a lock is held and
// delivers them when the outermost lock is released. The editor control is one.
class TKzPaintLockable {
public:
  virtual void IncPaintLock() = 0;
  virtual void DecPaintLock() = 0;

protected:
  ~TKzPaintLockable() = default;
};

// One paint lock for the scope: the status changes of everything inside reach OnStatusChange
// once, when the outermost lock goes.
class TKzPaintLock {
public:
  explicit TKzPaintLock(TKzPaintLockable &target) : FTarget(target) { FTarget.IncPaintLock(); }
  ~TKzPaintLock() noexcept(false) {
    KzReleaseGuard([this] { FTarget.DecPaintLock(); });
  }
  TKzPaintLock(const TKzPaintLock &) = delete;
  TKzPaintLock &operator=(const TKzPaintLock &) = delete;

private:
  TKzPaintLockable &FTarget;
};

// One undo block for the scope: everything recorded inside is one undo step, and OnChange
// fires once when the outermost block closes.
class TKzUndoBlock {
public:
  explicit TKzUndoBlock(TKzEditUndoList &list);
  // The editor's undo list (OpenUndoBlock / CloseUndoBlock).
  explicit TKzUndoBlock(TCustomKzEdit &editor);
  ~TKzUndoBlock() noexcept(false);
  TKzUndoBlock(const TKzUndoBlock &) = delete;
  TKzUndoBlock &operator=(const TKzUndoBlock &) = delete;

private:
  TKzEditUndoList &FList;
};

// Nothing is recorded on the list for the scope; for text changes that undo and redo make
// themselves, or that record their own items afterwards.
class TKzUndoLock {
public:
  explicit TKzUndoLock(TKzEditUndoList &list);
  ~TKzUndoLock() noexcept(false);
  TKzUndoLock(const TKzUndoLock &) = delete;
  TKzUndoLock &operator=(const TKzUndoLock &) = delete;

private:
  TKzEditUndoList &FList;
};

// Both of the editor's lists locked for the scope (SuspendUndo / ResumeUndo).
class TKzUndoSuspend {
public:
  explicit TKzUndoSuspend(TCustomKzEdit &editor);
  ~TKzUndoSuspend() noexcept(false);
  TKzUndoSuspend(const TKzUndoSuspend &) = delete;
  TKzUndoSuspend &operator=(const TKzUndoSuspend &) = delete;

private:
  TCustomKzEdit &FEditor;
};

// A field set to a value for the scope and given its old value back on every way out: an
// option switched for one step, a flag that says a scan is running.
template <class T> class TKzScopedValue {
public:
  TKzScopedValue(T &field, T value) : FField(field), FSaved(field) { FField = value; }
  ~TKzScopedValue() { FField = FSaved; }
  TKzScopedValue(const TKzScopedValue &) = delete;
  TKzScopedValue &operator=(const TKzScopedValue &) = delete;

private:
  T &FField;
  T FSaved;
};
