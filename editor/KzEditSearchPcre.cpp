// PCRE2 behind the search: compiling with the code page's tables, matching under a limit,
// and the German names of its compile errors.
#include "editor/KzEditSearchPcre.h"

#include "editor/KzEditCharClass.h"
#include "editor/KzEditSearch.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <array>

namespace {

// The layout PCRE2 reads its tables in: small letters, other case, ten class bitmaps of 32
// bytes, then one byte of type bits per character.
constexpr std::size_t kLowerAt = 0, kFlipAt = 256, kBitsAt = 512, kTypesAt = 832,
                      kTablesSize = 1088;
enum : std::size_t {
  cbSpace = 0,
  cbXDigit = 32,
  cbDigit = 64,
  cbUpper = 96,
  cbLower = 128,
  cbWord = 160,
  cbGraph = 192,
  cbPrint = 224,
  cbPunct = 256,
  cbControl = 288,
};
enum : std::uint8_t { ctSpace = 1, ctLetter = 2, ctLowerLetter = 4, ctDigit = 8, ctWord = 16 };

std::array<unsigned char, kTablesSize> BuildTables(const kzcharclass::TCharTables &t) {
  using namespace kzcharclass;
  std::array<unsigned char, kTablesSize> out{};
  for (int c = 0; c < 256; ++c) {
    const std::uint8_t cls = t.Class[c];
    out[kLowerAt + c] = t.Lower[c];
    out[kFlipAt + c] = (cls & ccLower) ? t.Upper[c] : t.Lower[c];
    auto set = [&](std::size_t table) {
      out[kBitsAt + table + std::size_t(c) / 8] |= std::uint8_t(1u << (c & 7));
    };
    const bool digit = cls & ccDigit, letter = cls & ccLetter;
    const bool xdigit = digit || ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'));
    const bool graph = (cls & ccPrintable) && c != ' ' && c != 0xA0;
    if (cls & ccSpace)
      set(cbSpace);
    if (xdigit)
      set(cbXDigit);
    if (digit)
      set(cbDigit);
    if (cls & ccUpper)
      set(cbUpper);
    if (cls & ccLower)
      set(cbLower);
    if (digit || letter || c == '_')
      set(cbWord);
    if (graph)
      set(cbGraph);
    if (cls & ccPrintable)
      set(cbPrint);
    if (graph && !digit && !letter)
      set(cbPunct);
    if (cls & ccControl)
      set(cbControl);
    std::uint8_t type = 0;
    if (cls & ccSpace)
      type |= ctSpace;
    if (letter)
      type |= ctLetter;
    if (cls & ccLower)
      type |= ctLowerLetter;
    if (digit)
      type |= ctDigit;
    if (digit || letter || c == '_')
      type |= ctWord;
    out[kTypesAt + c] = type;
  }
  return out;
}

pcre2_code *Code(void *p) { return static_cast<pcre2_code *>(p); }
pcre2_match_data *Data(void *p) { return static_cast<pcre2_match_data *>(p); }
pcre2_match_context *Context(void *p) { return static_cast<pcre2_match_context *>(p); }

// One JIT stack for every program: matching runs on one thread, one match at a time.
pcre2_jit_stack *SharedJitStack() {
  static pcre2_jit_stack *stack = pcre2_jit_stack_create(32 * 1024, 4 * 1024 * 1024, nullptr);
  return stack;
}

} // namespace

const unsigned char *KzPcreCharTables(bool asciiOnly) {
  static const auto full = BuildTables(kzcharclass::Cp1252(false));
  static const auto ascii = BuildTables(kzcharclass::Cp1252(true));
  return asciiOnly ? ascii.data() : full.data();
}

std::string KzPcreErrorText(int code) {
  switch (code) {
  case PCRE2_ERROR_END_BACKSLASH: return "\\ am Ende des Ausdrucks";
  case PCRE2_ERROR_UNKNOWN_ESCAPE: return "unbekannte Escape-Sequenz";
  case PCRE2_ERROR_QUANTIFIER_OUT_OF_ORDER:
    return "die Zahlen in {} stehen in falscher Reihenfolge";
  case PCRE2_ERROR_QUANTIFIER_TOO_BIG: return "Zahl in {} zu groß";
  case PCRE2_ERROR_MISSING_SQUARE_BRACKET: return "schließende eckige Klammer ] fehlt";
  case PCRE2_ERROR_ESCAPE_INVALID_IN_CLASS:
    return "Escape-Sequenz in einer Zeichenklasse nicht erlaubt";
  case PCRE2_ERROR_CLASS_RANGE_ORDER: return "Bereich in der Zeichenklasse in falscher Reihenfolge";
  case PCRE2_ERROR_CLASS_INVALID_RANGE: return "ungültiger Bereich in der Zeichenklasse";
  case PCRE2_ERROR_QUANTIFIER_INVALID: return "Wiederholung ohne etwas, das wiederholt werden kann";
  case PCRE2_ERROR_INVALID_AFTER_PARENS_QUERY: return "unbekanntes Zeichen nach (?";
  case PCRE2_ERROR_POSIX_CLASS_NOT_IN_CLASS: return "POSIX-Klasse nur innerhalb von [ ] erlaubt";
  case PCRE2_ERROR_UNKNOWN_POSIX_CLASS: return "unbekannte POSIX-Klasse";
  case PCRE2_ERROR_MISSING_CLOSING_PARENTHESIS: return "schließende Klammer ) fehlt";
  case PCRE2_ERROR_UNMATCHED_CLOSING_PARENTHESIS: return "schließende Klammer ) ohne öffnende";
  case PCRE2_ERROR_BAD_SUBPATTERN_REFERENCE: return "Verweis auf eine Gruppe, die es nicht gibt";
  case PCRE2_ERROR_ZERO_RELATIVE_REFERENCE:
  case PCRE2_ERROR_BAD_RELATIVE_REFERENCE: return "ungültiger Verweis auf eine Gruppe";
  case PCRE2_ERROR_MISSING_COMMENT_CLOSING: return "Kommentar ohne schließende Klammer )";
  case PCRE2_ERROR_PARENTHESES_NEST_TOO_DEEP: return "Klammern zu tief verschachtelt";
  case PCRE2_ERROR_PATTERN_TOO_LARGE:
  case PCRE2_ERROR_PATTERN_TOO_COMPLICATED: return "Ausdruck zu groß";
  case PCRE2_ERROR_LOOKBEHIND_NOT_FIXED_LENGTH: return "Rückschau (?<= …) ohne feste Länge";
  case PCRE2_ERROR_LOOKBEHIND_TOO_LONG: return "Rückschau (?<= …) zu lang";
  case PCRE2_ERROR_MISSING_CONDITION_CLOSING: return "Bedingung ohne schließende Klammer )";
  case PCRE2_ERROR_TOO_MANY_CONDITION_BRANCHES: return "zu viele Zweige in einer Bedingung";
  case PCRE2_ERROR_MISSING_NAME_TERMINATOR: return "Gruppenname nicht abgeschlossen";
  case PCRE2_ERROR_DUPLICATE_SUBPATTERN_NAME: return "Gruppenname doppelt vergeben";
  case PCRE2_ERROR_INVALID_SUBPATTERN_NAME:
  case PCRE2_ERROR_SUBPATTERN_NAME_EXPECTED: return "ungültiger Gruppenname";
  case PCRE2_ERROR_OCTAL_BYTE_TOO_BIG:
  case PCRE2_ERROR_CODE_POINT_TOO_BIG: return "Zeichencode zu groß";
  case PCRE2_ERROR_UNSUPPORTED_ESCAPE_SEQUENCE: return "Escape-Sequenz wird nicht unterstützt";
  case PCRE2_ERROR_UTF_IS_DISABLED:
  case PCRE2_ERROR_UCP_IS_DISABLED:
  case PCRE2_ERROR_UNICODE_NOT_SUPPORTED:
  case PCRE2_ERROR_UNICODE_PROPERTIES_UNAVAILABLE:
  case PCRE2_ERROR_SUPPORTED_ONLY_IN_UNICODE: return "Unicode-Modus wird nicht unterstützt";
  case PCRE2_ERROR_VERB_UNKNOWN: return "unbekanntes Steuerwort (*…)";
  case PCRE2_ERROR_BACKSLASH_K_IN_LOOKAROUND:
    return "\\K in einer Vor- oder Rückschau nicht erlaubt";
  default: return "ungültiger Ausdruck (Fehlercode " + std::to_string(code) + ")";
  }
}

TKzPcreProgram::TKzPcreProgram(const std::string &pattern, bool caseless) {
  pcre2_compile_context *cc = pcre2_compile_context_create(nullptr);
  pcre2_set_character_tables(cc, KzPcreCharTables());
  pcre2_set_newline(cc, PCRE2_NEWLINE_LF);
  // The text is 8-bit Windows-1252: UTF and Unicode properties stay off even when the
  // expression asks for them with (*UTF).
  std::uint32_t options = PCRE2_MULTILINE | PCRE2_NEVER_UTF | PCRE2_NEVER_UCP;
  if (caseless)
    options |= PCRE2_CASELESS;
  int error = 0;
  PCRE2_SIZE offset = 0;
  pcre2_code *code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                                   options, &error, &offset, cc);
  pcre2_compile_context_free(cc);
  if (!code) {
    const std::string where = offset >= pattern.size()
                                  ? std::string("am Ende des Ausdrucks")
                                  : "an Position " + std::to_string(offset + 1);
    throw EKzSearchError("Fehler im regulären Ausdruck " + where + ": " + KzPcreErrorText(error),
                         EKzSearchError::skPattern, int(offset) + 1);
  }
  FCode = code;
  FJit = pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0;
  FMatchData = pcre2_match_data_create_from_pattern(code, nullptr);
  pcre2_match_context *mc = pcre2_match_context_create(nullptr);
  pcre2_set_match_limit(mc, KzPcreMatchLimit);
  pcre2_set_depth_limit(mc, KzPcreMatchLimit / 4);
  if (FJit && SharedJitStack())
    pcre2_jit_stack_assign(mc, nullptr, SharedJitStack());
  FContext = mc;
  std::uint32_t minLength = 0;
  pcre2_pattern_info(code, PCRE2_INFO_MINLENGTH, &minLength);
  FMinLength = minLength;
}

TKzPcreProgram::~TKzPcreProgram() {
  pcre2_match_context_free(Context(FContext));
  pcre2_match_data_free(Data(FMatchData));
  pcre2_code_free(Code(FCode));
}

bool TKzPcreProgram::Match(std::string_view subject, std::size_t from, bool notEmptyAtFrom,
                           std::size_t &start, std::size_t &end) const {
  if (from > subject.size() || subject.size() - from < FMinLength)
    return false;
  std::uint32_t options = notEmptyAtFrom ? PCRE2_NOTEMPTY_ATSTART : 0;
  const auto *text = reinterpret_cast<PCRE2_SPTR>(subject.data());
  const int rc = FJit ? pcre2_jit_match(Code(FCode), text, subject.size(), from, options,
                                        Data(FMatchData), Context(FContext))
                      : pcre2_match(Code(FCode), text, subject.size(), from, options,
                                    Data(FMatchData), Context(FContext));
  if (rc == PCRE2_ERROR_NOMATCH)
    return false;
  if (rc < 0)
    throw EKzSearchError("Der reguläre Ausdruck ist zu aufwendig; die Suche wurde abgebrochen. "
                         "Bitte vereinfachen Sie ihn.",
                         EKzSearchError::skTooComplex, 0);
  const PCRE2_SIZE *ov = pcre2_get_ovector_pointer(Data(FMatchData));
  start = ov[0];
  end = ov[1];
  // \K can report a start after the end; such a match counts as empty at its end.
  if (start > end)
    start = end;
  return true;
}

void TKzPcreProgram::Groups(std::string_view subject, std::size_t start, std::size_t end,
                            std::vector<std::pair<std::size_t, std::size_t>> &groups) const {
  groups.clear();
  std::size_t s = 0, e = 0;
  // Matching again from the match's own start finds that match first, since it was the
  // leftmost there; a non-empty match must not give way to an empty one at the same place.
  if (!Match(subject, start, end > start, s, e) || s != start) {
    groups.emplace_back(start, end);
    return;
  }
  const PCRE2_SIZE *ov = pcre2_get_ovector_pointer(Data(FMatchData));
  const std::uint32_t pairs = pcre2_get_ovector_count(Data(FMatchData));
  std::uint32_t captures = 0;
  pcre2_pattern_info(Code(FCode), PCRE2_INFO_CAPTURECOUNT, &captures);
  for (std::uint32_t i = 0; i <= captures && i < pairs; ++i) {
    if (ov[2 * i] == PCRE2_UNSET || ov[2 * i] > ov[2 * i + 1])
      groups.emplace_back(std::size_t(-1), std::size_t(-1));
    else
      groups.emplace_back(ov[2 * i], ov[2 * i + 1]);
  }
  groups[0] = {start, end};
}
