// The HTML highlighter: tags, attributes, values, comments, entity references and text.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "highlight/KzHighlighterScanner.h"

class TKzHTMLHighlighter;
// The scanning base with the line-end kind 4, the space kind 5 and ten kinds in all.
using TKzHTMLScanner = TKzScanningHighlighter<TKzHTMLHighlighter, 4, 5, 10>;
extern template class TKzScanningHighlighter<TKzHTMLHighlighter, 4, 5, 10>;

class TKzHTMLHighlighter : public TKzHTMLScanner {
public:
  // Token kinds (TokenKind).
  enum : int {
    KindEntity = 0,
    KindComment = 1,
    KindIdentifier = 2,
    KindKey = 3,
    KindLineEnd = 4,
    KindSpace = 5,
    KindSymbol = 6,
    KindText = 7,
    KindUnknownKey = 8,
    KindValue = 9,
  };
  static_assert(
      std::is_same_v<TKzHTMLScanner, TKzScanningHighlighter<TKzHTMLHighlighter, KindLineEnd,
                                                            KindSpace, KindValue + 1>>);
  // Ranges (CurrentRange). 5 and 9..255 are never produced and scan like RangeTagBody.
  enum : TKzRange {
    RangeEntity = 0,
    RangeComment = 1,
    RangeTagName = 2,
    RangeTagBody = 3,
    RangeText = 4,
    RangeAfterEquals = 6,
    RangeSingleQuoted = 7,
    RangeDoubleQuoted = 8,
  };

  static constexpr int EntityCount = 249;
  static constexpr int KeywordCount = 202;
  static constexpr int BucketCount = 251;

  // The entity references, "&" and ";" included, compared with letter case significant.
  static const char *const EntityTable[EntityCount];
  // The known tag names; each is filed in the bucket of its own KeywordHash.
  static const char *const TagNames[KeywordCount];
  // '!' 123, '/' 122, ASCII letters 1..26 in either case, everything else 0.
  static const std::array<int, 256> LetterValues;

  explicit TKzHTMLHighlighter(TKzComponent *owner = nullptr);

  const char *ClassName() const override { return "TKzHTMLHighlighter"; }

  TKzHighlighterAttributes *RoleAttribute(int role) const override;
  TKzCharSet IdentifierChars() const override;
  std::string SampleText() const override;
  std::string LanguageTitle() const override;

  void ClearRange() override;
  void RestoreRange(TKzRange range) override;
  using TKzHTMLScanner::BeginLine;
  void BeginLine(const std::string &line, int lineIndex) override;

  // -1, or the EntityTable index of the reference the text step found right at the position.
  int EntityIndex() const { return FEntityIndex; }
  // The hash a tag name is filed under; sums LetterValues of the leading run of '!', '/' and
  // letters plus the digit values of the digits right after it.
  static int KeywordHash(const char *word, std::size_t length);
  // The names filed in one bucket (0..250), in filing order; empty for any other index.
  std::vector<std::string> BucketNames(int bucket) const;

  TKzHighlighterAttributes *AndAttri;
  TKzHighlighterAttributes *CommentAttri;
  TKzHighlighterAttributes *IdentifierAttri;
  TKzHighlighterAttributes *KeyAttri;
  TKzHighlighterAttributes *SpaceAttri;
  TKzHighlighterAttributes *SymbolAttri;
  TKzHighlighterAttributes *TextAttri;
  TKzHighlighterAttributes *UndefKeyAttri;
  TKzHighlighterAttributes *ValueAttri;

private:
  friend TKzHTMLScanner;
  void NextToken();

  void QuotedValueStep();
  void EntityStep();
  void OpenTagStep();
  void WordStep();
  void CommentStep();
  void TextStep();
  void SkipNumericReference(); // from "&", over "#", an optional x and the digits
  int MatchEntity() const;     // EntityTable index of the reference at FPos, or -1
  int ClassifyTagName();       // consumes the classified word

  // Bucket b's names are FBucketNames[FBucketStart[b] .. FBucketStart[b + 1]).
  std::array<std::uint16_t, BucketCount + 1> FBucketStart{};
  std::array<std::uint8_t, KeywordCount> FBucketNames{};

  int FEntityIndex = -1;
};
