// The style sheet highlighter: selectors, rules, property names, values, numbers and comments.
#pragma once

#include <array>
#include <string>
#include <type_traits>

#include "highlight/KzHighlighterHashEntries.h"
#include "highlight/KzHighlighterScanner.h"

class TKzCssHighlighter;
// The scanning base with the line-end kind 3, the space kind 4 and twelve kinds in all.
using TKzCssScanner = TKzScanningHighlighter<TKzCssHighlighter, 3, 4, 12>;
extern template class TKzScanningHighlighter<TKzCssHighlighter, 3, 4, 12>;

class TKzCssHighlighter : public TKzCssScanner {
public:
  // Token kinds (TokenKind). KindText is never produced.
  enum : int {
    KindComment = 0,
    KindProperty = 1,
    KindKey = 2,
    KindLineEnd = 3,
    KindSpace = 4,
    KindString = 5,
    KindSymbol = 6,
    KindText = 7,
    KindUnknownProperty = 8,
    KindValue = 9,
    KindColour = 10,
    KindNumber = 11,
  };
  static_assert(std::is_same_v<TKzCssScanner, TKzScanningHighlighter<TKzCssHighlighter, KindLineEnd,
                                                                     KindSpace, KindNumber + 1>>);
  // Ranges (CurrentRange). 1 and 6..255 are never produced and scan like RangeInRule.
  enum : TKzRange {
    RangeComment = 0,
    RangeInRule = 2,
    RangeOutsideRule = 3,
    RangeAfterSemicolon = 4,
    RangeAfterColon = 5,
  };

  // The known property names, separated by commas or blanks.
  static const char *const PropertyNames;
  // '!' 123, '/' 122, ASCII letters 1..26 in either case, everything else 0.
  static const std::array<int, 256> LetterValues;

  explicit TKzCssHighlighter(TKzComponent *owner = nullptr);

  const char *ClassName() const override { return "TKzCssHighlighter"; }

  TKzHighlighterAttributes *RoleAttribute(int role) const override;
  TKzCharSet IdentifierChars() const override;
  std::string SampleText() const override;
  std::string LanguageTitle() const override;
  bool DefaultFilterStored() const override;

  void ClearRange() override;

  // The range in force when the latest "/*" was scanned; a "*/" returns to it.
  //
  // Inside a comment it travels in the second byte of the range value, so that a line is
  // scanned alike whichever line this instance scanned before it, and a rescan that stops
  // where the value repeats never stops at a comment line that interrupted another range.
  // The low byte stays the range itself. RangeOutsideRule is carried as 0 there, so a
  // comment among the selectors has the value 0, as does a value never computed; outside
  // comments the saved range decides nothing and the value is the range alone.
  TKzRange SavedRange() const { return FSavedRange; }
  TKzRange CurrentRange() const override;
  void RestoreRange(TKzRange range) override;

  // Files one keyword under its KeywordHash in KeywordBuckets.
  void AddKeyword(const std::string &name, int kind);
  // Sum of LetterValues over the leading run of hyphens and letters, plus the digit values
  // of the digits right after it.
  static int KeywordHash(const char *word, std::size_t length);
  const TKzHashEntryList &KeywordBuckets() const { return FKeywordBuckets; }

  TKzHighlighterAttributes *CommentAttri;
  TKzHighlighterAttributes *PropertyAttri;
  TKzHighlighterAttributes *KeyAttri;
  TKzHighlighterAttributes *UndefPropertyAttri;
  TKzHighlighterAttributes *SpaceAttri;
  TKzHighlighterAttributes *ColourAttri;
  TKzHighlighterAttributes *NumberAttri;
  TKzHighlighterAttributes *StringAttri;
  TKzHighlighterAttributes *SymbolAttri;
  TKzHighlighterAttributes *TextAttri;
  TKzHighlighterAttributes *ValueAttri;

private:
  friend TKzCssScanner;
  void NextToken();

  void StringStep();
  void ColourStep();
  void NumberStep();
  void SlashStep();
  void WordStep();
  void SelectorStep();
  void CommentStep();
  void ScanComment();
  int ClassifyWord(std::size_t &end) const; // end: just after the classified word

  TKzHashEntryList FKeywordBuckets;
  TKzRange FSavedRange = RangeOutsideRule;
};
