// The highlighter framework: colours, font styles, token attributes and the line-scanning base.
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Colors.h"

class TSettingsStore;

// ---- colours and font styles ----

// The colour values and font style flags are the ones every drawing part shares; the
// highlighter names them without the namespace, as attribute code reads best that way.
using kzp::TColor;
using kzp::clNone;
using kzp::clWindow;
using kzp::clWindowText;
using kzp::clBlack;
using kzp::clMaroon;
using kzp::clGreen;
using kzp::clOlive;
using kzp::clNavy;
using kzp::clPurple;
using kzp::clTeal;
using kzp::clSilver;
using kzp::clGray;
using kzp::clRed;
using kzp::clLime;
using kzp::clYellow;
using kzp::clBlue;
using kzp::clFuchsia;
using kzp::clAqua;
using kzp::clWhite;
using kzp::TFontStyles;
using kzp::fsBold;
using kzp::fsItalic;
using kzp::fsUnderline;
using kzp::fsStrikeOut;
inline constexpr TFontStyles fsAllStyles = 15;

// The sixteen colours older colour schemes refer to by index 0..15.
extern const TColor LegacyPalette[16];

// A set of the 256 byte values, used for identifier characters and word delimiters.
using TKzCharSet = std::bitset<256>;

// The state a highlighter carries from the end of one line to the start of the next. Clients
// store it per line, hand it back and compare it for equality; only the highlighter reads it.
using TKzRange = std::uint32_t;

// ---- errors ----

// Raised by the framework: duplicate attribute names, refused copies, duplicate keywords.
class EKzHighlighterError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// ---- object bases ----

// Base of everything that can be copied by Assign and be the sender of a notification.
class TKzPersistent {
public:
  virtual ~TKzPersistent() = default;
  // Copies the settings of source into this object; refuses (throws EKzHighlighterError)
  // when the two kinds of object do not know each other.
  virtual void Assign(const TKzPersistent *source);
  // Name of the concrete class, used in the refusal message.
  virtual const char *ClassName() const { return "TKzPersistent"; }
};

// Base of the components a form holds; carries the "being loaded from the stored form" state.
class TKzComponent : public TKzPersistent {
public:
  explicit TKzComponent(TKzComponent *owner = nullptr) : Owner(owner) {}
  TKzComponent(const TKzComponent &) = delete;
  TKzComponent &operator=(const TKzComponent &) = delete;

  TKzComponent *GetOwner() const { return Owner; }

  // The loading bracket: BeginLoading before the stored properties are applied, Loaded after.
  void BeginLoading() { FLoading = true; }
  bool IsLoading() const { return FLoading; }
  // Ends the loading state, then runs the component's after-loading step.
  void EndLoading();

protected:
  // Runs once after loading from the stored form has ended.
  virtual void Loaded() {}

private:
  TKzComponent *Owner;
  bool FLoading = false;
};

// ---- notification events ----

// A method pointer: a function plus the object it belongs to. Two events are equal when both
// the receiver and the method are the same, so a registration can be found again for removal.
struct TKzNotifyEvent {
  void *Receiver = nullptr;
  void (*Code)(void *receiver, TKzPersistent *sender) = nullptr;

  explicit operator bool() const { return Code != nullptr; }
  bool operator==(const TKzNotifyEvent &) const = default;
  void operator()(TKzPersistent *sender) const { Code(Receiver, sender); }

  // TKzNotifyEvent::Of<&TMyClass::Handler>(this) for a member void Handler(TKzPersistent *).
  template <auto Method, class T> static TKzNotifyEvent Of(T *receiver) {
    TKzNotifyEvent e;
    e.Receiver = receiver;
    e.Code = [](void *r, TKzPersistent *sender) { (static_cast<T *>(r)->*Method)(sender); };
    return e;
  }
};

// Ordered registrations of handlers, all called with one sender value.
class TKzNotifyEventChain {
public:
  explicit TKzNotifyEventChain(TKzPersistent *sender) : FSender(sender) {}

  // Appends a registration; a handler registered twice is called twice.
  void Add(const TKzNotifyEvent &handler);
  // Removes every registration of handler (same method and receiver).
  void Remove(const TKzNotifyEvent &handler);
  // Calls every handler in registration order with Sender(). A throwing handler ends the
  // round and the exception reaches the caller.
  void Fire();

  int Count() const { return static_cast<int>(FHandlers.size()); }
  TKzPersistent *Sender() const { return FSender; }
  void SetSender(TKzPersistent *sender) { FSender = sender; }

private:
  std::vector<TKzNotifyEvent> FHandlers;
  TKzPersistent *FSender;
};

// ---- token attribute ----

// Colours and font style for one category of token, with the values it had right after its
// highlighter was constructed (a stored form records only what differs from those).
class TKzHighlighterAttributes : public TKzPersistent {
public:
  explicit TKzHighlighterAttributes(const std::string &name);

  const char *ClassName() const override { return "TKzHighlighterAttributes"; }
  // From another attribute: the name, then CopyColoursAndStyle.
  void Assign(const TKzPersistent *source) override;

  const std::string &Name() const { return FName; }

  TColor Background() const { return FBackground; }
  TColor Foreground() const { return FForeground; }
  TFontStyles Style() const { return FStyle; }
  // The setters notify only when the value really changes.
  void SetBackground(TColor value);
  void SetForeground(TColor value);
  void SetStyle(TFontStyles value);

  TColor InitialBackground() const { return FInitialBackground; }
  TColor InitialForeground() const { return FInitialForeground; }
  TFontStyles InitialStyle() const { return FInitialStyle; }
  // Whether a stored form has to record the property (it differs from its initial value).
  bool BackgroundStored() const { return FBackground != FInitialBackground; }
  bool ForegroundStored() const { return FForeground != FInitialForeground; }
  bool StyleStored() const { return FStyle != FInitialStyle; }

  void CaptureInitialValues();
  // Takes colours and style from source; one notification if anything changed.
  void CopyColoursAndStyle(const TKzHighlighterAttributes &source);

  // Called with this attribute as sender after a change; empty until the highlighter sets it.
  TKzNotifyEvent ChangeHandler;

  // Fills the attribute from a colour scheme of older editors; true on success. The old
  // layout is one text value named like the attribute under schemeKey, seven comma fields:
  // style letters (B, I, U) in field 3, "1" for the default foreground / background in 4 / 5,
  // LegacyPalette indexes of foreground / background in 6 / 7. The newer layout is a subkey
  // named like the attribute with "Foreground Color" / "Background Color" (palette index) or
  // "Foreground Color New" / "Background Color New" (colour name or number), and the texts
  // "Bold", "Italic", "Underline", "Default Foreground", "Default Background" (true unless
  // "False" or "0"). Key paths start at the store's root. Settings applied before a read
  // error stay applied.
  virtual bool ImportLegacyScheme(TSettingsStore &root, const std::string &schemeKey,
                                  const std::string &attributeName, bool oldLayout);

protected:
  virtual void Changed();

private:
  friend class TKzCustomHighlighter;
  TColor FBackground = clNone;
  TColor FInitialBackground = clNone;
  TColor FForeground = clNone;
  TColor FInitialForeground = clNone;
  std::string FName;
  TFontStyles FStyle = 0;
  TFontStyles FInitialStyle = 0;
};

// ---- highlighter base ----

// Standard roles a client asks attributes for (RoleAttribute).
enum : int {
  RoleComment = 0,
  RoleIdentifier = 1,
  RoleKeyword = 2,
  RoleString = 3,
  RoleWhitespace = 4,
  RoleSymbol = 5,
};

// A line tokenizer with attributes. Every client scans a line like this:
//   1. ClearRange() before the first line of a document, else RestoreRange(stored range);
//   2. BeginLine(line, index): the highlighter keeps a pointer to the caller's string, not a
//      copy; the string must stay alive and unchanged until the client is done with the line;
//   3. while (!AtLineEnd()) { TokenStart(), TokenText(), TokenKind(), TokenAttribute(); Advance();
//   }
//   4. at the line end the current token is empty and starts at the line's length;
//      CurrentRange() is the state to store for the end of this line.
// Tokens are contiguous; a token may be empty before the line end.
class TKzCustomHighlighter : public TKzComponent {
public:
  explicit TKzCustomHighlighter(TKzComponent *owner = nullptr);
  ~TKzCustomHighlighter() override;

  const char *ClassName() const override { return "TKzCustomHighlighter"; }
  // From another highlighter: attribute colours by exact name, then WordDelimiters,
  // DefaultFilter and Enabled. Anything else is refused.
  void Assign(const TKzPersistent *source) override;

  // -- attributes --
  virtual int AttributeCount() const;
  // By position in the list sorted by name (case-insensitive); nullptr outside the list.
  virtual TKzHighlighterAttributes *AttributeAt(int index) const;
  // The attribute serving a standard role, or nullptr.
  virtual TKzHighlighterAttributes *RoleAttribute(int role) const = 0;
  // Adds an attribute to the list and takes ownership; a name already present (in any
  // letter case) is refused with "In der Stringliste sind Duplikate nicht erlaubt".
  void RegisterAttribute(std::unique_ptr<TKzHighlighterAttributes> attribute);

  // -- change notification --
  void AddChangeHandler(const TKzNotifyEvent &handler);
  void RemoveChangeHandler(const TKzNotifyEvent &handler);
  // Calls every registered handler with sender; does nothing while loading from a stored form.
  void AttributesChanged(TKzPersistent *sender);
  const TKzNotifyEventChain &ChangeHandlers() const { return FChangeHandlers; }

  // -- published settings --
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  const TKzCharSet &WordDelimiters() const { return FWordDelimiters; }
  virtual void SetWordDelimiters(const TKzCharSet &value);
  virtual std::string DefaultFilter() const;
  virtual void SetDefaultFilter(const std::string &value);
  // Whether a stored form has to record DefaultFilter.
  virtual bool DefaultFilterStored() const;
  virtual TKzCharSet IdentifierChars() const;
  virtual std::string SampleText() const;
  virtual void SetSampleText(const std::string &value);
  virtual int Capabilities() const;
  virtual std::string LanguageTitle() const;

  // -- line scanning --
  virtual void ClearRange();
  virtual void RestoreRange(TKzRange range);
  virtual TKzRange CurrentRange() const;
  // line must outlive the scan of this line unchanged (the highlighter reads it in place).
  virtual void BeginLine(const std::string &line, int lineIndex) = 0;
  void BeginLine(std::string &&line, int lineIndex) = delete;
  virtual bool AtLineEnd() const = 0;
  virtual int TokenStart() const = 0;
  virtual std::string TokenText() const = 0;
  virtual int TokenKind() const = 0;
  virtual TKzHighlighterAttributes *TokenAttribute() const = 0;
  virtual void Advance() = 0;
  // Advances until AtLineEnd; highlighters override it to save the per-token virtual calls.
  virtual void RunToLineEnd();

  // -- rarely used hooks --
  virtual bool IsKeyword(const std::string &text) const;
  virtual bool SelectUserSetting(int index);
  virtual void ListUserSettings(std::vector<std::string> &list) const;

  // -- settings store (INI-style stand-in for the registry); key paths start at its root --
  // Reads Background/Foreground/Style of every attribute from the subkey named like it under
  // keyPath; true only if every attribute's subkey existed.
  virtual bool ReadRegistrySettings(TSettingsStore &root, const std::string &keyPath);
  // Writes the three values of every attribute; true only if every subkey could be opened.
  virtual bool WriteRegistrySettings(TSettingsStore &root, const std::string &keyPath);

protected:
  void Loaded() override;
  // Step 2 of a concrete highlighter's construction for one category: a new attribute with
  // the style and foreground that differ from the defaults, registered; the list owns it.
  TKzHighlighterAttributes *AddAttribute(const std::string &name, TFontStyles style,
                                         TColor foreground);
  // Step 3 of a concrete highlighter's construction: every attribute notifies through
  // AttributesChanged and keeps its constructed values as its initial ones.
  void ConnectAttributes();

private:
  void AttributeChanged(TKzPersistent *sender) { AttributesChanged(sender); }

  TKzCharSet FWordDelimiters;
  std::vector<std::unique_ptr<TKzHighlighterAttributes>> FAttributes; // sorted by name
  TKzNotifyEventChain FChangeHandlers;
  bool FEnabled = true;
  std::string FDefaultFilter;
};

// Case-insensitive (ASCII) comparison used to order attribute names.
int KzCompareTextNoCase(const std::string &a, const std::string &b);
