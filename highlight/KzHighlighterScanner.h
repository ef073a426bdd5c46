// The scanning state, token accessors and blank and line-break steps the character-driven
// highlighters share.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "highlight/KzEditHighlighter.h"

// '!' 123, '/' 122, ASCII letters 1..26 in either case, every other byte 0: the values tag
// names and property names are hashed and compared with (each highlighter keeps its own copy).
constexpr std::array<int, 256> KzMakeLetterValues() {
  std::array<int, 256> v{};
  v['!'] = 123;
  v['/'] = 122;
  for (int i = 0; i < 26; ++i) {
    v[static_cast<std::size_t>('A' + i)] = i + 1;
    v[static_cast<std::size_t>('a' + i)] = i + 1;
  }
  return v;
}

// A keyword hash stops growing here: no table has a bucket this high, and no line is long
// enough to carry the sum past the range of an int.
inline constexpr int KzHashCeiling = 1 << 20;

// The hash both highlighters file their keywords under: the letter values of the leading run
// of bytes that isLetter accepts, then the digit values of the ASCII digits right after it.
// The word ends at a NUL byte at the latest (neither a letter nor a digit); wordEnd receives
// the length of the two runs together.
template <class TIsLetter>
int KzWordHash(const char *word, const std::array<int, 256> &letterValues, TIsLetter isLetter,
               std::size_t &wordEnd) {
  int hash = 0;
  const char *p = word;
  for (; isLetter(*p); ++p) {
    hash += letterValues[static_cast<unsigned char>(*p)];
    if (hash > KzHashCeiling)
      hash = KzHashCeiling;
  }
  for (; *p >= '0' && *p <= '9'; ++p) {
    hash += *p - '0';
    if (hash > KzHashCeiling)
      hash = KzHashCeiling;
  }
  wordEnd = static_cast<std::size_t>(p - word);
  return hash;
}

// Whether a byte continues a run of blanks: 1..8, 11, 12 and 14..32. A TAB starts a run but
// never continues one, and line breaks are tokens of their own.
inline constexpr std::array<bool, 256> KzBlankContinues = [] {
  std::array<bool, 256> a{};
  for (int c = 1; c <= 32; ++c)
    a[static_cast<std::size_t>(c)] = c != 9 && c != 10 && c != 13;
  return a;
}();

// A highlighter that reads the caller's line in place and picks each token's step through a
// 256-entry table indexed by the current byte. TDerived provides NextToken (the step chosen by
// the range) and the steps of its own language; LineEndKind and SpaceKind are its kinds for
// the line end and for blanks and line breaks, KindCount the number of its kinds.
//
// The derived highlighter makes this base a friend and explicitly instantiates it in its own
// source file, where NextToken is defined.
template <class TDerived, int LineEndKind, int SpaceKind, std::size_t KindCount>
class TKzScanningHighlighter : public TKzCustomHighlighter {
public:
  using TKzCustomHighlighter::TKzCustomHighlighter;
  using TKzCustomHighlighter::BeginLine;

  // Only the low byte is a range; the rest of a stored value is never looked at.
  void RestoreRange(TKzRange range) override;
  TKzRange CurrentRange() const override { return FRange; }
  void BeginLine(const std::string &line, int lineIndex) override;
  bool AtLineEnd() const override { return FTokenKind == LineEndKind; }
  int TokenStart() const override { return static_cast<int>(FTokenStart); }
  std::string TokenText() const override {
    return std::string(FLine + FTokenStart, FPos - FTokenStart);
  }
  int TokenKind() const override { return FTokenKind; }
  TKzHighlighterAttributes *TokenAttribute() const override {
    return FKindAttributes[static_cast<std::size_t>(FTokenKind)];
  }
  void Advance() override;
  void RunToLineEnd() override;

protected:
  // Plain function pointers: a call through them is cheaper than through a member pointer.
  using TStep = void (*)(TDerived *);

  TDerived &Self() { return static_cast<TDerived &>(*this); }
  void Dispatch() { FSteps[static_cast<unsigned char>(FLine[FPos])](&Self()); }
  // Fills the table entries of NUL, the blanks and the two line breaks; the derived
  // highlighter fills every other entry.
  void SetControlSteps();

  // NUL: the line end, nothing consumed. A NUL byte inside the line is a control character
  // like any other; only the real end of the line ends the scan, so nothing after such a
  // byte goes unpainted.
  void LineEndStep();
  void BlankStep();
  void LineFeedStep();
  void CarriageReturnStep();
  // A one-character token of `Kind` that moves the scan into `Range` (the brackets, "=",
  // ";" and the like).
  template <TKzRange Range, int Kind> void SwitchingStep() {
    FRange = Range;
    FTokenKind = Kind;
    ++FPos;
  }

  const char *FLine = "";
  std::size_t FLength = 0;
  std::size_t FPos = 0;
  std::size_t FTokenStart = 0;
  int FTokenKind = LineEndKind;
  TKzRange FRange = 0;
  int FLineIndex = 0;

  std::array<TStep, 256> FSteps{};
  std::array<TKzHighlighterAttributes *, KindCount> FKindAttributes{};
};

// Defined outside the class, so that only the derived highlighter's own source file, which
// instantiates the base explicitly, compiles them and inlines its NextToken into them.

template <class D, int E, int S, std::size_t N>
void TKzScanningHighlighter<D, E, S, N>::RestoreRange(TKzRange range) {
  FRange = range & 0xFF;
}

template <class D, int E, int S, std::size_t N>
void TKzScanningHighlighter<D, E, S, N>::BeginLine(const std::string &line, int lineIndex) {
  FLine = line.c_str();
  FLength = line.size();
  FLineIndex = lineIndex;
  FPos = 0;
  Self().NextToken();
}

template <class D, int E, int S, std::size_t N> void TKzScanningHighlighter<D, E, S, N>::Advance() {
  Self().NextToken();
}

template <class D, int E, int S, std::size_t N>
void TKzScanningHighlighter<D, E, S, N>::RunToLineEnd() {
  while (FTokenKind != E)
    Self().NextToken();
}

template <class D, int E, int S, std::size_t N>
void TKzScanningHighlighter<D, E, S, N>::SetControlSteps() {
  for (int c = 1; c <= 32; ++c)
    FSteps[static_cast<std::size_t>(c)] = [](D *h) { h->BlankStep(); };
  FSteps[0] = [](D *h) { h->LineEndStep(); };
  FSteps['\n'] = [](D *h) { h->LineFeedStep(); };
  FSteps['\r'] = [](D *h) { h->CarriageReturnStep(); };
}

template <class D, int E, int S, std::size_t N>
void TKzScanningHighlighter<D, E, S, N>::LineEndStep() {
  if (FPos >= FLength) {
    FTokenKind = E;
    return;
  }
  BlankStep();
}

template <class D, int E, int S, std::size_t N>
void TKzScanningHighlighter<D, E, S, N>::BlankStep() {
  FTokenKind = S;
  ++FPos;
  while (KzBlankContinues[static_cast<unsigned char>(FLine[FPos])])
    ++FPos;
}

template <class D, int E, int S, std::size_t N>
void TKzScanningHighlighter<D, E, S, N>::LineFeedStep() {
  FTokenKind = S;
  ++FPos;
}

template <class D, int E, int S, std::size_t N>
void TKzScanningHighlighter<D, E, S, N>::CarriageReturnStep() {
  FTokenKind = S;
  ++FPos;
  if (FLine[FPos] == '\n')
    ++FPos;
}
