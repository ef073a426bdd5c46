// The HTML highlighter's tokenizer, tables and attributes.
#include "highlight/KzHighlighterHtml.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// Character classes of the scanning loops, one table lookup per character.
enum : std::uint8_t {
  StopText = 1,       // ends a text run: control characters, "<", "&"
  StopIdentifier = 2, // ends an identifier: code <= 32, '"', "=", ">"
  StopValue = 4,      // ends an unquoted value: code <= 32, ">"
  StopLine = 8,       // NUL, LF, CR
  TagNameLetter = 16, // "!", "/", ASCII letters
  Digit = 32,
  HexDigit = 64,
};

constexpr std::array<std::uint8_t, 256> MakeClasses() {
  std::array<std::uint8_t, 256> k{};
  for (int c = 0; c < 256; ++c) {
    std::uint8_t f = 0;
    if (c < 32 || c == '<' || c == '&')
      f |= StopText;
    if (c <= 32 || c == '"' || c == '=' || c == '>')
      f |= StopIdentifier;
    if (c <= 32 || c == '>')
      f |= StopValue;
    if (c == 0 || c == 10 || c == 13)
      f |= StopLine;
    if (c == '!' || c == '/' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
      f |= TagNameLetter;
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

inline bool IsTagNameLetter(char c) { return Is(c, TagNameLetter); }

struct TEntityKey {
  std::string_view Text;
  int Index;
};

// The entity references sorted by text, so a reference is found by one binary search. Each
// entry holds its only ";" at the end, so at most one entry can match at a position and the
// search finds the same entry as a walk in table order would. The search only looks at the
// entries that share the byte after the "&", a handful at most.
struct TEntityIndex {
  std::array<TEntityKey, TKzHTMLHighlighter::EntityCount> Sorted{};
  // Entries whose second byte is b are Sorted[From[b] .. From[b + 1]).
  std::array<std::uint16_t, 257> From{};
  std::size_t Longest = 0;

  TEntityIndex() {
    for (int i = 0; i < TKzHTMLHighlighter::EntityCount; ++i) {
      const std::string_view text = TKzHTMLHighlighter::EntityTable[i];
      Sorted[static_cast<std::size_t>(i)] = {text, i};
      Longest = std::max(Longest, text.size());
    }
    std::stable_sort(Sorted.begin(), Sorted.end(),
                     [](const TEntityKey &x, const TEntityKey &y) { return x.Text < y.Text; });
    std::size_t k = 0;
    for (std::size_t b = 0; b < 256; ++b) {
      From[b] = static_cast<std::uint16_t>(k);
      while (k < Sorted.size() && static_cast<unsigned char>(Sorted[k].Text[1]) == b)
        ++k;
    }
    From[256] = static_cast<std::uint16_t>(k);
  }
};

const TEntityIndex &Entities() {
  static const TEntityIndex index;
  return index;
}

const char *const SampleLines[] = {
    "<!-- Syntax highlighting -->",
    "",
    "<html>",
    "<body bgcolor=\"red\">",
    "  <form name=\"frmLogin\" action=\"doSomething.asp\">",
    "    <input name=\"user\" value='any",
    "      value'>",
    "  </form>",
    "  <invalid>Sample HTML code &copy; 2001</invalid>",
    "</body>",
    "</html>",
};

} // namespace

const std::array<int, 256> TKzHTMLHighlighter::LetterValues = KzMakeLetterValues();

const char *const TKzHTMLHighlighter::EntityTable[EntityCount] = {
    "&Alpha;",    "&Beta;",   "&Gamma;",   "&Delta;",   "&Epsilon;", "&Zeta;",    "&Eta;",
    "&Theta;",    "&Iota;",   "&Kappa;",   "&Lambda;",  "&Mu;",      "&Nu;",      "&Xi;",
    "&Omicron;",  "&Pi;",     "&Rho;",     "&Sigma;",   "&Tau;",     "&Upsilon;", "&Phi;",
    "&Chi;",      "&Psi;",    "&Omega;",   "&alpha;",   "&beta;",    "&gamma;",   "&delta;",
    "&epsilon;",  "&zeta;",   "&eta;",     "&theta;",   "&iota;",    "&kappa;",   "&lambda;",
    "&mu;",       "&nu;",     "&xi;",      "&omicron;", "&pi;",      "&rho;",     "&sigmaf;",
    "&sigma;",    "&tau;",    "&upsilon;", "&phi;",     "&chi;",     "&psi;",     "&omega;",
    "&thetasym;", "&upsih;",  "&piv;",     "&bull;",    "&hellip;",  "&prime;",   "&Prime;",
    "&oline;",    "&frasl;",  "&weierp;",  "&image;",   "&real;",    "&trade;",   "&alefsym;",
    "&larr;",     "&uarr;",   "&rarr;",    "&darr;",    "&harr;",    "&crarr;",   "&lArr;",
    "&uArr;",     "&rArr;",   "&dArr;",    "&hArr;",    "&forall;",  "&part;",    "&exist;",
    "&empty;",    "&nabla;",  "&isin;",    "&notin;",   "&ni;",      "&prod;",    "&sum;",
    "&minus;",    "&lowast;", "&radic;",   "&prop;",    "&infin;",   "&ang;",     "&and;",
    "&or;",       "&cap;",    "&cup;",     "&int;",     "&there4;",  "&sim;",     "&cong;",
    "&asymp;",    "&ne;",     "&equiv;",   "&le;",      "&ge;",      "&sub;",     "&sup;",
    "&nsub;",     "&sube;",   "&supe;",    "&oplus;",   "&otimes;",  "&perp;",    "&sdot;",
    "&lceil;",    "&rceil;",  "&lfloor;",  "&rfloor;",  "&lang;",    "&rang;",    "&loz;",
    "&spades;",   "&clubs;",  "&hearts;",  "&diams;",   "&lsquo;",   "&rsquo;",   "&sbquo;",
    "&ldquo;",    "&rdquo;",  "&bdquo;",   "&dagger;",  "&Dagger;",  "&permil;",  "&lsaquo;",
    "&rsaquo;",   "&quot;",   "&amp;",     "&lt;",      "&gt;",      "&ndash;",   "&mdash;",
    "&nbsp;",     "&thinsp;", "&ensp;",    "&emsp;",    "&iexcl;",   "&cent;",    "&pound;",
    "&curren;",   "&yen;",    "&brvbar;",  "&brkbar;",  "&sect;",    "&uml;",     "&die;",
    "&copy;",     "&ordf;",   "&laquo;",   "&not;",     "&shy;",     "&reg;",     "&macr;",
    "&hibar;",    "&deg;",    "&plusmn;",  "&sup2;",    "&sup3;",    "&acute;",   "&micro;",
    "&para;",     "&middot;", "&cedil;",   "&sup1;",    "&ordm;",    "&raquo;",   "&frac14;",
    "&frac12;",   "&frac34;", "&iquest;",  "&Agrave;",  "&Aacute;",  "&Acirc;",   "&Atilde;",
    "&Auml;",     "&Aring;",  "&AElig;",   "&Ccedil;",  "&Egrave;",  "&Eacute;",  "&Ecirc;",
    "&Euml;",     "&Igrave;", "&Iacute;",  "&Icirc;",   "&Iuml;",    "&ETH;",     "&Ntilde;",
    "&Ograve;",   "&Oacute;", "&Ocirc;",   "&Otilde;",  "&Ouml;",    "&times;",   "&Oslash;",
    "&Ugrave;",   "&Uacute;", "&Ucirc;",   "&Uuml;",    "&Yacute;",  "&THORN;",   "&szlig;",
    "&agrave;",   "&aacute;", "&acirc;",   "&atilde;",  "&auml;",    "&aring;",   "&aelig;",
    "&ccedil;",   "&egrave;", "&eacute;",  "&ecirc;",   "&euml;",    "&igrave;",  "&iacute;",
    "&icirc;",    "&iuml;",   "&eth;",     "&ntilde;",  "&ograve;",  "&oacute;",  "&ocirc;",
    "&otilde;",   "&ouml;",   "&divide;",  "&oslash;",  "&ugrave;",  "&uacute;",  "&ucirc;",
    "&uuml;",     "&yacute;", "&thorn;",   "&yuml;",    "&euro;",    "&OElig;",   "&oelig;",
    "&scaron;",   "&Scaron;", "&fnof;",    "&circ;",
};

const char *const TKzHTMLHighlighter::TagNames[KeywordCount] = {
    "A",         "B",         "DD",         "I",         "H1",          "H2",        "H3",
    "H4",        "H5",        "H6",         "DL",        "P",           "KBD",       "Q",
    "BIG",       "EM",        "HEAD",       "S",         "BR",          "DEL",       "LI",
    "U",         "BDO",       "ABBR",       "DFN",       "DT",          "TD",        "AREA",
    "HR",        "BASE",      "CODE",       "OL",        "TH",          "EMBED",     "IMG",
    "COL",       "MAP",       "DIR",        "LABEL",     "UL",          "DIV",       "CITE",
    "THEAD",     "TR",        "META",       "PRE",       "TABLE",       "TT",        "var",
    "INS",       "SUB",       "FRAME",      "WBR",       "BODY",        "LINK",      "LEGend",
    "BLINK",     "NOBR",      "PARAM",      "SAMP",      "SPAN",        "FORM",      "IFRAME",
    "HTML",      "MENU",      "XMP",        "FONT",      "object",      "SUP",       "SMALL",
    "NOEMBED",   "LAYER",     "SPACER",     "SELECT",    "CENTER",      "TBODY",     "TITLE",
    "KEYGEN",    "ADDRESS",   "APPLET",     "ILAYER",    "NEXTID",      "TFOOT",     "CAPTION",
    "FIELDSET",  "INPUT",     "MARQUEE",    "STYLE",     "BASEFONT",    "BGSOUND",   "STRIKE",
    "COMMENT",   "ISINDEX",   "SCRIPT",     "SERVER",    "FRAMESET",    "ACRONYM",   "OPTION",
    "LISTING",   "NOLAYER",   "NOFRAMES",   "BUTTON",    "STRONG",      "TEXTAREA",  "MULTICOL",
    "COLGROUP",  "NOSCRIPT",  "BLOCKQUOTE", "PLAINTEXT", "/A",          "/B",        "OPTGROUP",
    "/DD",       "/I",        "/H1",        "/H2",       "/H3",         "/H4",       "/H5",
    "/H6",       "/DL",       "/P",         "/KBD",      "/Q",          "/BIG",      "/EM",
    "/HEAD",     "/S",        "/DEL",       "/LI",       "/U",          "/BDO",      "/ABBR",
    "/DFN",      "/DT",       "/TD",        "/CODE",     "/OL",         "/TH",       "/EMBED",
    "/MAP",      "/DIR",      "/LABEL",     "/UL",       "/DIV",        "/CITE",     "/THEAD",
    "/TR",       "/PRE",      "/TABLE",     "/TT",       "/var",        "/INS",      "/SUB",
    "/BODY",     "/LEGend",   "/BLINK",     "/NOBR",     "/SAMP",       "/SPAN",     "/FORM",
    "/IFRAME",   "/HTML",     "/MENU",      "/XMP",      "/FONT",       "/object",   "/SUP",
    "/SMALL",    "/NOEMBED",  "/LAYER",     "/SELECT",   "/CENTER",     "/TBODY",    "/TITLE",
    "/ADDRESS",  "/APPLET",   "/ILAYER",    "/TFOOT",    "/CAPTION",    "/FIELDSET", "/MARQUEE",
    "/STYLE",    "/STRIKE",   "/COMMENT",   "/SCRIPT",   "/FRAMESET",   "/SERVER",   "/ACRONYM",
    "/OPTION",   "!DOCTYPE",  "/LISTING",   "/NOLAYER",  "/NOFRAMES",   "/BUTTON",   "/STRONG",
    "/TEXTAREA", "/MULTICOL", "/COLGROUP",  "/NOSCRIPT", "/BLOCKQUOTE", "/OPTGROUP",
};

int TKzHTMLHighlighter::KeywordHash(const char *word, std::size_t length) {
  // The scan reads up to a NUL; a copy gives the word one at its length.
  const std::string text(word, length);
  std::size_t end;
  return KzWordHash(text.c_str(), LetterValues, IsTagNameLetter, end);
}

TKzHTMLHighlighter::TKzHTMLHighlighter(TKzComponent *owner) : TKzHTMLScanner(owner) {
  CommentAttri = AddAttribute("Comment", 0, clNone);
  IdentifierAttri = AddAttribute("Identifier", fsBold, clNone);
  KeyAttri = AddAttribute("Reserved Word", fsBold, 0xFF0080);
  SpaceAttri = AddAttribute("Space", 0, clNone);
  SymbolAttri = AddAttribute("Symbol", fsBold, clNone);
  TextAttri = AddAttribute("Text", 0, clNone);
  UndefKeyAttri = AddAttribute("Unknown Word", fsBold, clRed);
  ValueAttri = AddAttribute("Value", 0, 0xFF8000);
  AndAttri = AddAttribute("Escape Ampersand", fsBold, clLime);
  ConnectAttributes();

  // Keyword buckets: names grouped by hash, filing order kept inside a bucket.
  std::array<int, BucketCount> counts{};
  for (const char *name : TagNames)
    ++counts[static_cast<std::size_t>(KeywordHash(name, std::strlen(name)))];
  FBucketStart[0] = 0;
  for (int b = 0; b < BucketCount; ++b)
    FBucketStart[static_cast<std::size_t>(b + 1)] = static_cast<std::uint16_t>(
        FBucketStart[static_cast<std::size_t>(b)] + counts[static_cast<std::size_t>(b)]);
  std::array<std::uint16_t, BucketCount> fill{};
  for (int i = 0; i < KeywordCount; ++i) {
    const auto b = static_cast<std::size_t>(KeywordHash(TagNames[i], std::strlen(TagNames[i])));
    FBucketNames[FBucketStart[b] + fill[b]++] = static_cast<std::uint8_t>(i);
  }

  for (int c = 0; c < 256; ++c) {
    TStep step = [](TKzHTMLHighlighter *h) { h->WordStep(); };
    if (c == '"' || c == '\'')
      step = [](TKzHTMLHighlighter *h) { h->QuotedValueStep(); };
    else if (c == '&')
      step = [](TKzHTMLHighlighter *h) { h->EntityStep(); };
    else if (c == '<')
      step = [](TKzHTMLHighlighter *h) { h->OpenTagStep(); };
    else if (c == '=')
      step = [](TKzHTMLHighlighter *h) { h->SwitchingStep<RangeAfterEquals, KindSymbol>(); };
    else if (c == '>')
      step = [](TKzHTMLHighlighter *h) { h->SwitchingStep<RangeText, KindSymbol>(); };
    FSteps[static_cast<std::size_t>(c)] = step;
  }
  SetControlSteps();

  FKindAttributes = {AndAttri,   CommentAttri, IdentifierAttri, KeyAttri,      nullptr,
                     SpaceAttri, SymbolAttri,  TextAttri,       UndefKeyAttri, ValueAttri};
  FRange = RangeText;
  SetDefaultFilter("HTML Documents (*.htm;*.html)|*.htm;*.html");
  FEntityIndex = -1;
}

TKzHighlighterAttributes *TKzHTMLHighlighter::RoleAttribute(int role) const {
  switch (role) {
  case RoleComment: return CommentAttri;
  case RoleIdentifier: return IdentifierAttri;
  case RoleKeyword: return KeyAttri;
  case RoleWhitespace: return SpaceAttri;
  case RoleSymbol: return SymbolAttri;
  default: return nullptr;
  }
}

TKzCharSet TKzHTMLHighlighter::IdentifierChars() const {
  TKzCharSet set;
  for (int c = '0'; c <= '9'; ++c)
    set.set(static_cast<std::size_t>(c));
  for (int c = 'A'; c <= 'Z'; ++c)
    set.set(static_cast<std::size_t>(c));
  set.set('_');
  for (int c = 'a'; c <= 'z'; ++c)
    set.set(static_cast<std::size_t>(c));
  for (int c = 192; c <= 255; ++c) {
    if (c != 215 && c != 247)
      set.set(static_cast<std::size_t>(c));
  }
  return set;
}

std::string TKzHTMLHighlighter::SampleText() const {
  std::string text;
  for (std::size_t i = 0; i < std::size(SampleLines); ++i) {
    if (i > 0)
      text += "\r\n";
    text += SampleLines[i];
  }
  return text;
}

std::string TKzHTMLHighlighter::LanguageTitle() const { return "HTML"; }

std::vector<std::string> TKzHTMLHighlighter::BucketNames(int bucket) const {
  std::vector<std::string> names;
  if (bucket < 0 || bucket >= BucketCount)
    return names;
  const auto b = static_cast<std::size_t>(bucket);
  for (int i = FBucketStart[b]; i < FBucketStart[b + 1]; ++i)
    names.emplace_back(TagNames[FBucketNames[static_cast<std::size_t>(i)]]);
  return names;
}

// ---- line scanning ----

void TKzHTMLHighlighter::ClearRange() {
  FRange = RangeText;
  FEntityIndex = -1;
}

void TKzHTMLHighlighter::RestoreRange(TKzRange range) {
  TKzHTMLScanner::RestoreRange(range);
  FEntityIndex = -1;
}

void TKzHTMLHighlighter::BeginLine(const std::string &line, int lineIndex) {
  // A pending reference belongs to the line it was found in; a client that left the previous
  // line early must not make this one consume a stale entry length.
  FEntityIndex = -1;
  TKzHTMLScanner::BeginLine(line, lineIndex);
}

inline void TKzHTMLHighlighter::NextToken() {
  FTokenStart = FPos;
  switch (FRange) {
  case RangeComment: CommentStep(); break;
  case RangeText: TextStep(); break;
  case RangeSingleQuoted:
  case RangeDoubleQuoted:
    if (Is(FLine[FPos], StopLine))
      Dispatch();
    else
      QuotedValueStep();
    break;
  default: Dispatch(); break;
  }
}

void TKzHTMLHighlighter::OpenTagStep() {
  ++FPos;
  if (FLine[FPos] == '!' && FLine[FPos + 1] == '-' && FLine[FPos + 2] == '-') {
    FPos += 3;
    FRange = RangeComment;
    FTokenKind = KindComment;
  } else {
    FRange = RangeTagName;
    FTokenKind = KindSymbol;
  }
}

void TKzHTMLHighlighter::CommentStep() {
  if (Is(FLine[FPos], StopLine)) {
    Dispatch();
    return;
  }
  FTokenKind = KindComment;
  for (;;) {
    const char c = FLine[FPos];
    if (Is(c, StopLine))
      return;
    if (c == '>' && FPos >= 2 && FLine[FPos - 1] == '-' && FLine[FPos - 2] == '-') {
      ++FPos;
      FRange = RangeText;
      return;
    }
    ++FPos;
  }
}

void TKzHTMLHighlighter::SkipNumericReference() {
  ++FPos; // "&"
  if (FLine[FPos] == '#')
    ++FPos;
  if (FLine[FPos] == 'X' || FLine[FPos] == 'x') {
    ++FPos;
    while (Is(FLine[FPos], HexDigit))
      ++FPos;
  } else {
    while (Is(FLine[FPos], Digit))
      ++FPos;
  }
}

int TKzHTMLHighlighter::MatchEntity() const {
  const TEntityIndex &entities = Entities();
  // Every reference ends with ";" within the longest entry's length.
  const std::size_t limit = std::min(FLength - FPos, entities.Longest);
  const void *semi = std::memchr(FLine + FPos, ';', limit);
  if (!semi)
    return -1;
  const std::string_view candidate(FLine + FPos,
                                   static_cast<const char *>(semi) - (FLine + FPos) + 1);
  const auto second = static_cast<unsigned char>(FLine[FPos + 1]);
  const auto first = entities.Sorted.begin() + entities.From[second];
  const auto last = entities.Sorted.begin() + entities.From[second + 1];
  const auto it = std::lower_bound(
      first, last, candidate, [](const TEntityKey &k, std::string_view t) { return k.Text < t; });
  if (it != last && it->Text == candidate)
    return it->Index;
  return -1;
}

void TKzHTMLHighlighter::TextStep() {
  if (Is(FLine[FPos], StopText) && FLine[FPos] != '&') {
    Dispatch();
    return;
  }
  FTokenKind = KindText;
  for (;;) {
    while (!Is(FLine[FPos], StopText))
      ++FPos;
    if (FLine[FPos] != '&')
      return; // a control character or "<"
    if (FLine[FPos + 1] == '#') {
      const std::size_t amp = FPos;
      FEntityIndex = -1;
      SkipNumericReference();
      if (FLine[FPos] == ';') {
        FPos = amp;
        FRange = RangeEntity;
      }
      // Without ";" the incomplete reference stays part of this text token.
      return;
    }
    const int index = MatchEntity();
    if (index >= 0) {
      FEntityIndex = index;
      FRange = RangeEntity;
      return;
    }
    ++FPos; // a plain "&" is text
  }
}

void TKzHTMLHighlighter::EntityStep() {
  switch (FRange) {
  case RangeEntity:
    if (FEntityIndex >= 0 && FEntityIndex < EntityCount) {
      FTokenKind = KindEntity;
      FPos = std::min(FLength, FPos + std::strlen(EntityTable[FEntityIndex]));
    } else {
      SkipNumericReference();
      if (FLine[FPos] == ';') {
        ++FPos;
        FTokenKind = KindEntity;
      } else {
        FTokenKind = KindText;
      }
    }
    FEntityIndex = -1;
    FRange = RangeText;
    break;
  case RangeTagName:
    ++FPos;
    FTokenKind = KindText;
    FRange = RangeText;
    break;
  default: WordStep(); break;
  }
}

void TKzHTMLHighlighter::QuotedValueStep() {
  char closing;
  switch (FRange) {
  case RangeSingleQuoted:
    FTokenKind = KindValue;
    closing = '\'';
    break;
  case RangeDoubleQuoted:
    FTokenKind = KindValue;
    closing = '"';
    break;
  case RangeAfterEquals:
    closing = FLine[FPos];
    FRange = closing == '"' ? RangeDoubleQuoted : RangeSingleQuoted;
    FTokenKind = KindValue;
    ++FPos;
    break;
  default:
    WordStep(); // a quote that does not follow "=" starts an identifier
    return;
  }
  for (;;) {
    const char c = FLine[FPos];
    if (Is(c, StopLine))
      return; // the value goes on in the next line
    ++FPos;
    if (c == closing) {
      FRange = RangeTagBody;
      return;
    }
  }
}

int TKzHTMLHighlighter::ClassifyTagName() {
  const std::size_t start = FPos;
  std::size_t length;
  const int hash = KzWordHash(FLine + start, LetterValues, IsTagNameLetter, length);
  FPos = start + length;
  if (hash >= BucketCount)
    return KindIdentifier;
  const auto b = static_cast<std::size_t>(hash);
  for (int i = FBucketStart[b]; i < FBucketStart[b + 1]; ++i) {
    const char *name = TagNames[FBucketNames[static_cast<std::size_t>(i)]];
    std::size_t k = 0;
    while (k < length && name[k] != '\0' &&
           LetterValues[static_cast<unsigned char>(name[k])] ==
               LetterValues[static_cast<unsigned char>(FLine[start + k])])
      ++k;
    if (k == length && name[k] == '\0')
      return KindKey;
  }
  return KindUnknownKey;
}

void TKzHTMLHighlighter::WordStep() {
  switch (FRange) {
  case RangeTagName:
    FRange = RangeTagBody;
    FTokenKind = ClassifyTagName();
    break;
  case RangeAfterEquals:
    FRange = RangeTagBody;
    FTokenKind = KindValue;
    ++FPos;
    while (!Is(FLine[FPos], StopValue))
      ++FPos;
    break;
  default:
    FTokenKind = KindIdentifier;
    ++FPos;
    while (!Is(FLine[FPos], StopIdentifier))
      ++FPos;
    break;
  }
}

// After NextToken, so the scanning base's loops get it inlined.
template class TKzScanningHighlighter<TKzHTMLHighlighter, 4, 5, 10>;
