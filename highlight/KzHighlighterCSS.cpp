// The style sheet highlighter's tokenizer, keyword table and attributes.
#include "highlight/KzHighlighterCSS.h"

#include <algorithm>
#include <cstdint>

namespace {

enum : std::uint8_t {
  StopSelector = 1, // ends a selector: control characters, "/", "{"
  StopValue = 2,    // ends a value: NUL, LF, CR, ",", ";", "}"
  StopWord = 4,     // ends a word: code <= 32, '"', ":", ";", "}"
  StopString = 8,   // ends a string: NUL, LF, CR, '"'
  WordLetter = 16,  // hyphen and ASCII letters
  Digit = 32,
  HexDigit = 64,
};

constexpr std::array<std::uint8_t, 256> MakeClasses() {
  std::array<std::uint8_t, 256> k{};
  for (int c = 0; c < 256; ++c) {
    std::uint8_t f = 0;
    if (c < 32 || c == '/' || c == '{')
      f |= StopSelector;
    if (c == 0 || c == 10 || c == 13 || c == ',' || c == ';' || c == '}')
      f |= StopValue;
    if (c <= 32 || c == '"' || c == ':' || c == ';' || c == '}')
      f |= StopWord;
    if (c == 0 || c == 10 || c == 13 || c == '"')
      f |= StopString;
    if (c == '-' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
      f |= WordLetter;
    if (c >= '0' && c <= '9')
      f |= Digit | HexDigit;
    if ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'))
      f |= HexDigit;
    k[static_cast<std::size_t>(c)] = f;
  }
  return k;
}

constexpr std::array<std::uint8_t, 256> Classes = MakeClasses();

inline bool Is(char c, std::uint8_t cls) {
  return (Classes[static_cast<unsigned char>(c)] & cls) != 0;
}

inline bool IsWordLetter(char c) { return Is(c, WordLetter); }

constexpr const char *DefaultCssFilter = "Cascading Stylesheets (*.css)|*.css";

} // namespace

const std::array<int, 256> TKzCssHighlighter::LetterValues = KzMakeLetterValues();

const char *const TKzCssHighlighter::PropertyNames =
    "azimuth,background,background-attachment,background-color,background-image,"
    "background-position,background-repeat,border border-collapse,border-color,"
    "border-spacing,border-style,border-top,border-right,border-bottom,border-left,"
    "border-top-color,border-right-color,border-bottom-color,border-left-color,"
    "border-top-style,border-right-style,border-bottom-style,border-left-style,"
    "border-top-width,border-right-width,border-bottom-width,border-left-width,"
    "border-width,bottom,caption-side,clear,clip,color,content,counter-increment,"
    "counter-reset,cue,cue-after,cue-before,cursor direction,display,elevation,empty-cells,"
    "float,font,font-family,font-size,font-size-adjust,font-stretch,font-style,"
    "font-variant,font-weight,height,left,letter-spacing,line-height,list-style,"
    "list-style-image,list-style-position,list-style-type margin,margin-top,margin-right,"
    "margin-bottom,margin-left,marker-offset,marks,max-height,max-width,min-height,"
    "min-width,orphans,outline,outline-color,outline-style,outline-width,overflow,padding,"
    "padding-top,padding-right,padding-bottom,padding-left,page,page-break-after,"
    "page-break-before,page-break-inside,pause pause-after,pause-before,pitch,pitch-range,"
    "play-during,position,quotes,richness,right,size,speak,speak-header,speak-numeral,"
    "speak-punctuation,speech-rate,stress,table-layout,text-align,text-decoration,"
    "text-indent,text-shadow,text-transform top,unicode-bidi,vertical-align,visibility,"
    "voice-family,volume,white-space,widows,width,word-spacing,z-index";

int TKzCssHighlighter::KeywordHash(const char *word, std::size_t length) {
  // The scan reads up to a NUL; a copy gives the word one at its length.
  const std::string text(word, length);
  std::size_t end;
  return KzWordHash(text.c_str(), LetterValues, IsWordLetter, end);
}

TKzCssHighlighter::TKzCssHighlighter(TKzComponent *owner) : TKzCssScanner(owner) {
  CommentAttri = AddAttribute("Comment", 0, clNone);
  PropertyAttri = AddAttribute("Property", fsBold, clNone);
  KeyAttri = AddAttribute("Reserved Word", fsBold, 0xFF0080);
  UndefPropertyAttri = AddAttribute("Undefined Property", fsBold, 0xFF0080);
  SpaceAttri = AddAttribute("Space", 0, clNone);
  ColourAttri = AddAttribute("Color Value", 0, clNone);
  NumberAttri = AddAttribute("Number", 0, clNone);
  StringAttri = AddAttribute("String", 0, clNone);
  SymbolAttri = AddAttribute("Symbol", 0, clNone);
  TextAttri = AddAttribute("Text", 0, clNone);
  ValueAttri = AddAttribute("Value", 0, 0xFF8000);
  ConnectAttributes();

  for (int c = 0; c < 256; ++c) {
    TStep step = [](TKzCssHighlighter *h) { h->WordStep(); };
    if (c == '"')
      step = [](TKzCssHighlighter *h) { h->StringStep(); };
    else if (c == '#')
      step = [](TKzCssHighlighter *h) { h->ColourStep(); };
    else if (c == ',' || c == ':')
      step = [](TKzCssHighlighter *h) { h->SwitchingStep<RangeAfterColon, KindSymbol>(); };
    else if (c == '.' || (c >= '0' && c <= '9'))
      step = [](TKzCssHighlighter *h) { h->NumberStep(); };
    else if (c == '/')
      step = [](TKzCssHighlighter *h) { h->SlashStep(); };
    else if (c == ';')
      step = [](TKzCssHighlighter *h) { h->SwitchingStep<RangeAfterSemicolon, KindSymbol>(); };
    else if (c == '{')
      step = [](TKzCssHighlighter *h) { h->SwitchingStep<RangeInRule, KindSymbol>(); };
    else if (c == '}')
      step = [](TKzCssHighlighter *h) { h->SwitchingStep<RangeOutsideRule, KindSymbol>(); };
    FSteps[static_cast<std::size_t>(c)] = step;
  }
  SetControlSteps();

  const TKzCharSet identifier = IdentifierChars();
  const std::string names = PropertyNames;
  std::size_t i = 0;
  while (i < names.size()) {
    while (i < names.size() && !identifier.test(static_cast<unsigned char>(names[i])))
      ++i;
    const std::size_t start = i;
    while (i < names.size() && identifier.test(static_cast<unsigned char>(names[i])))
      ++i;
    if (i > start)
      AddKeyword(names.substr(start, i - start), KindProperty);
  }

  FKindAttributes = {CommentAttri,       PropertyAttri, KeyAttri,    nullptr,
                     SpaceAttri,         StringAttri,   SymbolAttri, TextAttri,
                     UndefPropertyAttri, ValueAttri,    ColourAttri, NumberAttri};
  FRange = RangeOutsideRule;
  SetDefaultFilter(DefaultCssFilter);
}

void TKzCssHighlighter::AddKeyword(const std::string &name, int kind) {
  FKeywordBuckets.Put(KeywordHash(name.data(), name.size()),
                      std::make_unique<TKzHashEntry>(name, kind));
}

TKzHighlighterAttributes *TKzCssHighlighter::RoleAttribute(int role) const {
  switch (role) {
  case RoleComment: return CommentAttri;
  case RoleKeyword: return KeyAttri;
  case RoleString: return StringAttri;
  case RoleWhitespace: return SpaceAttri;
  default: return nullptr;
  }
}

TKzCharSet TKzCssHighlighter::IdentifierChars() const {
  TKzCharSet set;
  set.set('-');
  set.set('_');
  for (int c = '0'; c <= '9'; ++c)
    set.set(static_cast<std::size_t>(c));
  for (int c = 'A'; c <= 'Z'; ++c)
    set.set(static_cast<std::size_t>(c));
  for (int c = 'a'; c <= 'z'; ++c)
    set.set(static_cast<std::size_t>(c));
  return set;
}

std::string TKzCssHighlighter::SampleText() const {
  return "/* Syntax Highlighting */\r\n"
         "body { font-family: Tahoma, Verdana, Arial, Helvetica, sans-serif; font-size: 8pt }\r\n"
         "H1 { font-size: 18pt; color: #000099; made-up-property: 1 }";
}

std::string TKzCssHighlighter::LanguageTitle() const { return "Cascading Style Sheet"; }

bool TKzCssHighlighter::DefaultFilterStored() const { return DefaultFilter() != DefaultCssFilter; }

// ---- line scanning ----

void TKzCssHighlighter::ClearRange() {
  FRange = RangeOutsideRule;
  FSavedRange = RangeOutsideRule;
}

TKzRange TKzCssHighlighter::CurrentRange() const {
  if (FRange != RangeComment || FSavedRange == RangeOutsideRule)
    return FRange;
  return FRange | (FSavedRange << 8);
}

void TKzCssHighlighter::RestoreRange(TKzRange range) {
  FRange = range & 0xFF;
  // A "/*" is never scanned inside a comment, so a saved "comment" can only be the 0 that
  // stands for the start range.
  const TKzRange saved = (range >> 8) & 0xFF;
  FSavedRange = saved == RangeComment ? RangeOutsideRule : saved;
}

inline void TKzCssHighlighter::NextToken() {
  FTokenStart = FPos;
  switch (FRange) {
  case RangeComment: CommentStep(); break;
  case RangeOutsideRule: SelectorStep(); break;
  default: Dispatch(); break;
  }
}

void TKzCssHighlighter::StringStep() {
  FTokenKind = KindString;
  ++FPos;
  while (!Is(FLine[FPos], StopString))
    ++FPos;
  if (FLine[FPos] == '"')
    ++FPos;
}

void TKzCssHighlighter::ColourStep() {
  FTokenKind = KindColour;
  ++FPos;
  while (Is(FLine[FPos], HexDigit))
    ++FPos;
}

void TKzCssHighlighter::NumberStep() {
  FTokenKind = KindNumber;
  ++FPos;
  for (;;) {
    const char c = FLine[FPos];
    if (Is(c, Digit) || (c == '.' && FLine[FPos + 1] != '.'))
      ++FPos;
    else
      return;
  }
}

void TKzCssHighlighter::SlashStep() {
  ++FPos;
  if (FLine[FPos] != '*') {
    FTokenKind = KindSymbol;
    return;
  }
  FTokenKind = KindComment;
  FSavedRange = FRange;
  FRange = RangeComment;
  ++FPos;
  const char c = FLine[FPos];
  if (c != '\0' && c != '\n' && c != '\r')
    ScanComment();
}

void TKzCssHighlighter::CommentStep() {
  if (FPos >= FLength) {
    FTokenKind = KindLineEnd;
    return;
  }
  FTokenKind = KindComment;
  ScanComment();
}

void TKzCssHighlighter::ScanComment() {
  // Line breaks inside the line belong to the comment; only the line's end stops the scan.
  for (;;) {
    if (FLine[FPos] == '*' && FLine[FPos + 1] == '/') {
      FPos += 2;
      FRange = FSavedRange;
      return;
    }
    ++FPos;
    if (FPos >= FLength)
      return;
  }
}

void TKzCssHighlighter::SelectorStep() {
  if (Is(FLine[FPos], StopSelector)) {
    Dispatch();
    return;
  }
  FTokenKind = KindKey;
  while (!Is(FLine[FPos], StopSelector))
    ++FPos;
}

int TKzCssHighlighter::ClassifyWord(std::size_t &end) const {
  std::size_t length;
  const int hash = KzWordHash(FLine + FPos, LetterValues, IsWordLetter, length);
  end = FPos + length;
  for (const TKzHashEntry *e = FKeywordBuckets.Get(hash); e; e = e->Next()) {
    const std::size_t n = e->Keyword().size();
    if (n > length)
      break;
    if (n < length)
      continue;
    const std::string &k = e->Keyword();
    std::size_t i = 0;
    while (i < n && LetterValues[static_cast<unsigned char>(k[i])] ==
                        LetterValues[static_cast<unsigned char>(FLine[FPos + i])])
      ++i;
    if (i == n)
      return e->Kind();
  }
  return KindUnknownProperty;
}

void TKzCssHighlighter::WordStep() {
  if (FRange == RangeAfterColon) {
    FRange = RangeInRule;
    FTokenKind = KindValue;
    while (!Is(FLine[FPos], StopValue))
      ++FPos;
    return;
  }
  // The classified word holds no character that ends the token, so the scan goes on after it.
  std::size_t wordEnd;
  FTokenKind = ClassifyWord(wordEnd);
  FPos = std::max(FPos + 1, wordEnd);
  while (!Is(FLine[FPos], StopWord))
    ++FPos;
}

// After NextToken, so the scanning base's loops get it inlined.
template class TKzScanningHighlighter<TKzCssHighlighter, 3, 4, 12>;
