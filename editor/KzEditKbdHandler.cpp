// The key and mouse handler chains.
#include "editor/KzEditKbdHandler.h"

namespace {

// Sets a flag for the lifetime of the guard, so a chain is never entered twice even when a
// handler throws.
class TReentryGuard {
public:
  explicit TReentryGuard(bool &flag) : FFlag(flag) { FFlag = true; }
  ~TReentryGuard() { FFlag = false; }
  TReentryGuard(const TReentryGuard &) = delete;
  TReentryGuard &operator=(const TReentryGuard &) = delete;

private:
  bool &FFlag;
};

} // namespace

// The chains are copied before they run: a handler may unhook itself (the completion list
// does when it closes) without disturbing the walk.
void TKzEditKbdHandler::ExecuteKeyDown(TKzPersistent *sender, std::uint16_t &key,
                                       TShiftState shift) {
  if (FInKeyDown)
    return;
  TReentryGuard guard(FInKeyDown);
  std::vector<TKzKeyEvent> chain = FKeyDown;
  for (std::size_t i = chain.size(); i-- > 0 && key != 0;)
    chain[i](sender, key, shift);
}

void TKzEditKbdHandler::ExecuteKeyUp(TKzPersistent *sender, std::uint16_t &key, TShiftState shift) {
  if (FInKeyUp)
    return;
  TReentryGuard guard(FInKeyUp);
  std::vector<TKzKeyEvent> chain = FKeyUp;
  for (std::size_t i = chain.size(); i-- > 0 && key != 0;)
    chain[i](sender, key, shift);
}

void TKzEditKbdHandler::ExecuteKeyPress(TKzPersistent *sender, char &key) {
  if (FInKeyPress)
    return;
  TReentryGuard guard(FInKeyPress);
  std::vector<TKzKeyPressEvent> chain = FKeyPress;
  for (std::size_t i = chain.size(); i-- > 0 && key != '\0';)
    chain[i](sender, key);
}

void TKzEditKbdHandler::ExecuteMouseDown(TKzPersistent *sender, int button, TShiftState shift,
                                         int x, int y) {
  if (FInMouseDown)
    return;
  TReentryGuard guard(FInMouseDown);
  std::vector<TKzMouseEvent> chain = FMouseDown;
  for (std::size_t i = chain.size(); i-- > 0;)
    chain[i](sender, button, shift, x, y);
}

void TKzEditKbdHandler::ExecuteMouseUp(TKzPersistent *sender, int button, TShiftState shift, int x,
                                       int y) {
  if (FInMouseUp)
    return;
  TReentryGuard guard(FInMouseUp);
  std::vector<TKzMouseEvent> chain = FMouseUp;
  for (std::size_t i = chain.size(); i-- > 0;)
    chain[i](sender, button, shift, x, y);
}
