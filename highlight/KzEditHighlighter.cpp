// The highlighter framework: attributes, the notification chain and the highlighter base.
#include "highlight/KzEditHighlighter.h"

#include <algorithm>
#include <typeinfo>

#include "platform/SettingsStore.h"

const TColor LegacyPalette[16] = {
    clBlack, clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clSilver,
    clGray,  clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite,
};

namespace {

unsigned char LowerAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

[[noreturn]] void RefuseAssign(const TKzPersistent *source, const TKzPersistent *target) {
  const std::string from = source ? source->ClassName() : "nil";
  throw EKzHighlighterError(from + " kann nicht zu " + target->ClassName() + " zugewiesen werden");
}

} // namespace

int KzCompareTextNoCase(const std::string &a, const std::string &b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char ca = LowerAscii(static_cast<unsigned char>(a[i]));
    const unsigned char cb = LowerAscii(static_cast<unsigned char>(b[i]));
    if (ca != cb)
      return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size())
    return 0;
  return a.size() < b.size() ? -1 : 1;
}

// ---- TKzPersistent / TKzComponent ----

void TKzPersistent::Assign(const TKzPersistent *source) { RefuseAssign(source, this); }

void TKzComponent::EndLoading() {
  FLoading = false;
  Loaded();
}

// ---- TKzNotifyEventChain ----

void TKzNotifyEventChain::Add(const TKzNotifyEvent &handler) { FHandlers.push_back(handler); }

void TKzNotifyEventChain::Remove(const TKzNotifyEvent &handler) {
  for (std::size_t i = FHandlers.size(); i-- > 0;) {
    if (FHandlers[i] == handler)
      FHandlers.erase(FHandlers.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

void TKzNotifyEventChain::Fire() {
  // Index-based, so a handler that adds or removes registrations does not invalidate the walk.
  for (std::size_t i = 0; i < FHandlers.size(); ++i) {
    const TKzNotifyEvent h = FHandlers[i];
    if (h)
      h(FSender);
  }
}

// ---- TKzHighlighterAttributes ----

TKzHighlighterAttributes::TKzHighlighterAttributes(const std::string &name) : FName(name) {}

void TKzHighlighterAttributes::Assign(const TKzPersistent *source) {
  const auto *src = dynamic_cast<const TKzHighlighterAttributes *>(source);
  if (!src) {
    TKzPersistent::Assign(source);
    return;
  }
  FName = src->FName;
  CopyColoursAndStyle(*src);
}

void TKzHighlighterAttributes::Changed() {
  if (ChangeHandler)
    ChangeHandler(this);
}

void TKzHighlighterAttributes::SetBackground(TColor value) {
  if (FBackground != value) {
    FBackground = value;
    Changed();
  }
}

void TKzHighlighterAttributes::SetForeground(TColor value) {
  if (FForeground != value) {
    FForeground = value;
    Changed();
  }
}

void TKzHighlighterAttributes::SetStyle(TFontStyles value) {
  value &= fsAllStyles;
  if (FStyle != value) {
    FStyle = value;
    Changed();
  }
}

void TKzHighlighterAttributes::CaptureInitialValues() {
  FInitialBackground = FBackground;
  FInitialForeground = FForeground;
  FInitialStyle = FStyle;
}

void TKzHighlighterAttributes::CopyColoursAndStyle(const TKzHighlighterAttributes &source) {
  const bool changed = FBackground != source.FBackground || FForeground != source.FForeground ||
                       FStyle != source.FStyle;
  FBackground = source.FBackground;
  FForeground = source.FForeground;
  FStyle = source.FStyle;
  if (changed)
    Changed();
}

// ---- TKzCustomHighlighter ----

TKzCustomHighlighter::TKzCustomHighlighter(TKzComponent *owner)
    : TKzComponent(owner), FChangeHandlers(this) {
  for (unsigned char c : std::string("!\"'()*+,-./:;=?[]\\^{}|"))
    FWordDelimiters.set(c);
}

TKzCustomHighlighter::~TKzCustomHighlighter() = default;

void TKzCustomHighlighter::Assign(const TKzPersistent *source) {
  const auto *src = dynamic_cast<const TKzCustomHighlighter *>(source);
  if (!src) {
    TKzPersistent::Assign(source);
    return;
  }
  for (const auto &own : FAttributes) {
    for (const auto &theirs : src->FAttributes) {
      if (own->Name() == theirs->Name()) {
        own->Assign(theirs.get());
        break;
      }
    }
  }
  if (typeid(*src) == typeid(*this))
    SetSampleText(src->SampleText());
  SetWordDelimiters(src->WordDelimiters());
  SetDefaultFilter(src->DefaultFilter());
  SetEnabled(src->Enabled());
}

int TKzCustomHighlighter::AttributeCount() const { return static_cast<int>(FAttributes.size()); }

TKzHighlighterAttributes *TKzCustomHighlighter::AttributeAt(int index) const {
  if (index < 0 || index >= AttributeCount())
    return nullptr;
  return FAttributes[static_cast<std::size_t>(index)].get();
}

void TKzCustomHighlighter::RegisterAttribute(std::unique_ptr<TKzHighlighterAttributes> attribute) {
  const auto pos = std::lower_bound(
      FAttributes.begin(), FAttributes.end(), attribute->Name(),
      [](const std::unique_ptr<TKzHighlighterAttributes> &a, const std::string &name) {
        return KzCompareTextNoCase(a->Name(), name) < 0;
      });
  if (pos != FAttributes.end() && KzCompareTextNoCase((*pos)->Name(), attribute->Name()) == 0)
    throw EKzHighlighterError("In der Stringliste sind Duplikate nicht erlaubt");
  FAttributes.insert(pos, std::move(attribute));
}

TKzHighlighterAttributes *TKzCustomHighlighter::AddAttribute(const std::string &name,
                                                             TFontStyles style, TColor foreground) {
  auto attribute = std::make_unique<TKzHighlighterAttributes>(name);
  attribute->SetStyle(style);
  attribute->SetForeground(foreground);
  TKzHighlighterAttributes *raw = attribute.get();
  RegisterAttribute(std::move(attribute));
  return raw;
}

void TKzCustomHighlighter::ConnectAttributes() {
  for (const auto &a : FAttributes) {
    a->ChangeHandler = TKzNotifyEvent::Of<&TKzCustomHighlighter::AttributeChanged>(this);
    a->CaptureInitialValues();
  }
}

void TKzCustomHighlighter::AddChangeHandler(const TKzNotifyEvent &handler) {
  FChangeHandlers.Add(handler);
}

void TKzCustomHighlighter::RemoveChangeHandler(const TKzNotifyEvent &handler) {
  FChangeHandlers.Remove(handler);
}

void TKzCustomHighlighter::AttributesChanged(TKzPersistent *sender) {
  if (IsLoading())
    return;
  FChangeHandlers.SetSender(sender);
  FChangeHandlers.Fire();
}

void TKzCustomHighlighter::Loaded() {
  TKzComponent::Loaded();
  AttributesChanged(nullptr);
}

void TKzCustomHighlighter::SetEnabled(bool value) {
  if (FEnabled != value) {
    FEnabled = value;
    AttributesChanged(nullptr);
  }
}

void TKzCustomHighlighter::SetWordDelimiters(const TKzCharSet &value) { FWordDelimiters = value; }

std::string TKzCustomHighlighter::DefaultFilter() const { return FDefaultFilter; }

void TKzCustomHighlighter::SetDefaultFilter(const std::string &value) { FDefaultFilter = value; }

bool TKzCustomHighlighter::DefaultFilterStored() const { return true; }

TKzCharSet TKzCustomHighlighter::IdentifierChars() const {
  TKzCharSet set;
  for (int c = 33; c <= 255; ++c)
    set.set(static_cast<std::size_t>(c));
  return set;
}

std::string TKzCustomHighlighter::SampleText() const { return {}; }

void TKzCustomHighlighter::SetSampleText(const std::string &) {}

int TKzCustomHighlighter::Capabilities() const { return 2; }

std::string TKzCustomHighlighter::LanguageTitle() const { return "<Unknown>"; }

void TKzCustomHighlighter::ClearRange() {}

void TKzCustomHighlighter::RestoreRange(TKzRange) {}

TKzRange TKzCustomHighlighter::CurrentRange() const { return 0; }

void TKzCustomHighlighter::RunToLineEnd() {
  while (!AtLineEnd())
    Advance();
}

bool TKzCustomHighlighter::IsKeyword(const std::string &) const { return false; }

bool TKzCustomHighlighter::SelectUserSetting(int) { return false; }

void TKzCustomHighlighter::ListUserSettings(std::vector<std::string> &list) const { list.clear(); }
