// The style sheet highlighter: selectors, rules, property names, values, numbers and comments.
#pragma once

#include <array>
#include <string>

#include "highlight/KzEditHighlighter.h"
#include "highlight/KzHighlighterHashEntries.h"

class TKzCssHighlighter : public TKzCustomHighlighter
{
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

    // The range in force when the latest "/*" was scanned; a "*/" returns to it. It is kept by
    // the instance, not carried in the range value.
    TKzRange SavedRange() const { return FSavedRange; }

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
    void NextToken();

    // Plain function pointers: a call through them is cheaper than through a member pointer.
    using TStep = void (*)(TKzCssHighlighter *);

    void Dispatch() { FSteps[static_cast<unsigned char>(FLine[FPos])](this); }
    void LineEndStep();
    void BlankStep();
    void LineFeedStep();
    void CarriageReturnStep();
    void StringStep();
    void ColourStep();
    void ColonStep();
    void NumberStep();
    void SlashStep();
    void SemicolonStep();
    void OpenBraceStep();
    void CloseBraceStep();
    void WordStep();
    void SelectorStep();
    void CommentStep();
    void ScanComment();
    int ClassifyWord(std::size_t &end) const; // end: just after the classified word

    TKzHashEntryList FKeywordBuckets;
    std::array<TStep, 256> FSteps{};
    std::array<TKzHighlighterAttributes *, 12> FKindAttributes{};

    const char *FLine = "";
    std::size_t FLength = 0;
    std::size_t FPos = 0;
    std::size_t FTokenStart = 0;
    int FTokenKind = KindLineEnd;
    TKzRange FRange = RangeOutsideRule;
    TKzRange FSavedRange = RangeOutsideRule;
    int FLineIndex = 0;
};
