// Method pointers and the editor's key and mouse handler chains, which let other components
// (the completion list) see keys before the editor acts on them.
#pragma once

#include "editor/KzEditTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TKzPersistent;

// A method pointer: a function plus the object it belongs to. Two are equal when receiver
// and function are the same, so a registration can be found again for removal.
template <class... Args> struct TKzMethod {
  void *Receiver = nullptr;
  void (*Code)(void *receiver, Args... args) = nullptr;

  explicit operator bool() const { return Code != nullptr; }
  bool operator==(const TKzMethod &) const = default;
  void operator()(Args... args) const { Code(Receiver, args...); }

  // TKzMethod<...>::Of<&TMyClass::Handler>(this)
  template <auto Method, class T> static TKzMethod Of(T *receiver) {
    TKzMethod m;
    m.Receiver = receiver;
    m.Code = [](void *r, Args... args) { (static_cast<T *>(r)->*Method)(args...); };
    return m;
  }
  // Any callable object (a lambda, a std::function) that outlives the registration; its
  // address identifies it.
  template <class F> static TKzMethod OfCallable(F *callable) {
    TKzMethod m;
    m.Receiver = callable;
    m.Code = [](void *r, Args... args) { (*static_cast<F *>(r))(args...); };
    return m;
  }
};

// Key-down and key-up: the handler may change the key; 0 means consumed.
using TKzKeyEvent = TKzMethod<TKzPersistent *, std::uint16_t &, TShiftState>;
// Key-press: the handler may change the character; NUL means consumed.
using TKzKeyPressEvent = TKzMethod<TKzPersistent *, char &>;
// Mouse button events: button (0 left, 1 right, 2 middle), modifier bits, client position.
using TKzMouseEvent = TKzMethod<TKzPersistent *, int, TShiftState, int, int>;

// The four chains. Handlers run from the most recently added to the first; a chain that is
// already running is not entered again (a handler that sends keys to the editor would
// otherwise see its own keys).
class TKzEditKbdHandler {
public:
  void AddKeyDownHandler(const TKzKeyEvent &handler) { FKeyDown.push_back(handler); }
  void RemoveKeyDownHandler(const TKzKeyEvent &handler) { RemoveLast(FKeyDown, handler); }
  void AddKeyUpHandler(const TKzKeyEvent &handler) { FKeyUp.push_back(handler); }
  void RemoveKeyUpHandler(const TKzKeyEvent &handler) { RemoveLast(FKeyUp, handler); }
  void AddKeyPressHandler(const TKzKeyPressEvent &handler) { FKeyPress.push_back(handler); }
  void RemoveKeyPressHandler(const TKzKeyPressEvent &handler) { RemoveLast(FKeyPress, handler); }
  void AddMouseDownHandler(const TKzMouseEvent &handler) { FMouseDown.push_back(handler); }
  void RemoveMouseDownHandler(const TKzMouseEvent &handler) { RemoveLast(FMouseDown, handler); }
  void AddMouseUpHandler(const TKzMouseEvent &handler) { FMouseUp.push_back(handler); }
  void RemoveMouseUpHandler(const TKzMouseEvent &handler) { RemoveLast(FMouseUp, handler); }

  // Run a chain; the key chains stop once a handler sets the key to 0 (the character to NUL).
  void ExecuteKeyDown(TKzPersistent *sender, std::uint16_t &key, TShiftState shift);
  void ExecuteKeyUp(TKzPersistent *sender, std::uint16_t &key, TShiftState shift);
  void ExecuteKeyPress(TKzPersistent *sender, char &key);
  void ExecuteMouseDown(TKzPersistent *sender, int button, TShiftState shift, int x, int y);
  void ExecuteMouseUp(TKzPersistent *sender, int button, TShiftState shift, int x, int y);

  int KeyDownCount() const { return static_cast<int>(FKeyDown.size()); }
  int KeyPressCount() const { return static_cast<int>(FKeyPress.size()); }

private:
  template <class M> static void RemoveLast(std::vector<M> &chain, const M &handler) {
    for (std::size_t i = chain.size(); i-- > 0;)
      if (chain[i] == handler) {
        chain.erase(chain.begin() + static_cast<std::ptrdiff_t>(i));
        return;
      }
  }

  std::vector<TKzKeyEvent> FKeyDown, FKeyUp;
  std::vector<TKzKeyPressEvent> FKeyPress;
  std::vector<TKzMouseEvent> FMouseDown, FMouseUp;
  bool FInKeyDown = false, FInKeyUp = false, FInKeyPress = false;
  bool FInMouseDown = false, FInMouseUp = false;
};
