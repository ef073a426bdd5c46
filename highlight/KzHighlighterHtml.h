// The HTML highlighter: tags, attributes, values, comments, entity references and text.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "highlight/KzEditHighlighter.h"

class TKzHTMLHighlighter : public TKzCustomHighlighter
{
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
    TKzRange CurrentRange() const override { return FRange; }
    using TKzCustomHighlighter::BeginLine;
    void BeginLine(const std::string &line, int lineIndex) override;
    bool AtLineEnd() const override { return FTokenKind == KindLineEnd; }
    int TokenStart() const override { return static_cast<int>(FTokenStart); }
    std::string TokenText() const override;
    int TokenKind() const override { return FTokenKind; }
    TKzHighlighterAttributes *TokenAttribute() const override;
    void Advance() override;
    void RunToLineEnd() override;

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
    void NextToken();

    // Plain function pointers: a call through them is cheaper than through a member pointer.
    using TStep = void (*)(TKzHTMLHighlighter *);

    void Dispatch() { FSteps[static_cast<unsigned char>(FLine[FPos])](this); }
    void LineEndStep();
    void BlankStep();
    void LineFeedStep();
    void CarriageReturnStep();
    void QuotedValueStep();
    void EntityStep();
    void OpenTagStep();
    void EqualsStep();
    void CloseTagStep();
    void WordStep();
    void CommentStep();
    void TextStep();
    void SkipNumericReference(); // from "&", over "#", an optional x and the digits
    int MatchEntity() const;     // EntityTable index of the reference at FPos, or -1
    int ClassifyTagName();       // consumes the classified word

    std::array<TStep, 256> FSteps{};
    // Bucket b's names are FBucketNames[FBucketStart[b] .. FBucketStart[b + 1]).
    std::array<std::uint16_t, BucketCount + 1> FBucketStart{};
    std::array<std::uint8_t, KeywordCount> FBucketNames{};
    std::array<TKzHighlighterAttributes *, 10> FKindAttributes{};

    const char *FLine = "";
    std::size_t FLength = 0;
    std::size_t FPos = 0;
    std::size_t FTokenStart = 0;
    int FTokenKind = KindLineEnd;
    TKzRange FRange = RangeText;
    int FEntityIndex = -1;
    int FLineIndex = 0;
};
