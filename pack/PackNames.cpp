// Target name checks and the code-page conversions of names and metadata.
#include "pack/PackNames.h"

#include "pack/SplitFns.h"
#include "platform/CodePage.h"
#include "platform/Hex.h"
#include "platform/Utf8.h"

#include <cstdio>

namespace {

bool IsUndefinedInCodePage(unsigned char c) {
  return c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// Control characters in the sense of the code page: C0, DEL, and the five undefined bytes,
// which it maps to the C1 controls of the same value.
bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F || IsUndefinedInCodePage(c); }

std::string Hex(unsigned char c) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\x%02X", c);
  return buffer;
}

} // namespace

std::string TargetNameProblem(const std::string &name) {
  if (name.empty())
    return "er ist leer";
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsControl(c))
      return "er enthält ein Steuerzeichen (" + Hex(c) + ")";
    if (c == '\\')
      return "er enthält einen umgekehrten Schrägstrich (\\), der unter Windows Ordner trennt";
  }
  if (name[0] == '/')
    return "er ist ein absoluter Pfad (beginnt mit \"/\")";
  if (name.size() >= 2 && name[1] == ':' &&
      ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')))
    return "er beginnt mit einem Laufwerksbuchstaben";
  for (const std::string &part : SplitExact(name, '/')) {
    if (part.empty())
      return "er enthält einen leeren Ordnernamen (\"//\" oder \"/\" am Ende)";
    if (part == "." || part == "..")
      return "er enthält den Ordnernamen \"" + part + "\"";
  }
  return std::string();
}

std::string TargetNameRefusal(const std::string &name) {
  const std::string problem = TargetNameProblem(name);
  if (problem.empty())
    return problem;
  return "Der Zielname \"" + ShownName(name) + "\" ist nicht erlaubt: " + problem +
         ". Ein Zielname ist ein relativer Pfad im Pack, dessen Ordner durch \"/\" getrennt sind.";
}

std::string ShownName(const std::string &bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsControl(c))
      out += Hex(c);
    else if (c == '\\')
      out += "\\\\";
    else
      kzp::AppendUtf8(out, kzp::codepage::ToUnicode(c));
  }
  return out;
}

TNameParse ParseShownName(const std::string &text, std::string &bytes) {
  bytes.clear();
  std::u32string cps;
  if (!kzp::DecodeUtf8(text, cps))
    return TNameParse::NotUtf8;
  bool unfit = false;
  for (std::size_t i = 0; i < cps.size(); ++i) {
    if (cps[i] == U'\\') {
      if (i + 1 < cps.size() && cps[i + 1] == U'\\') {
        bytes += '\\';
        ++i;
        continue;
      }
      if (i + 3 < cps.size() && cps[i + 1] == U'x' && cps[i + 2] < 0x80 && cps[i + 3] < 0x80) {
        const int high = kzp::HexDigitValue(static_cast<char>(cps[i + 2]));
        const int low = kzp::HexDigitValue(static_cast<char>(cps[i + 3]));
        if (high >= 0 && low >= 0) {
          bytes += static_cast<char>(high * 16 + low);
          i += 3;
          continue;
        }
      }
      return TNameParse::BadEscape;
    }
    const int c = kzp::codepage::FromUnicode(cps[i]);
    if (c < 0)
      unfit = true;
    else
      bytes += static_cast<char>(c);
  }
  return unfit ? TNameParse::Unfit : TNameParse::Ok;
}

bool FileSystemNameToPack(const std::string &name, std::string &bytes) {
  std::u32string cps;
  if (!kzp::DecodeUtf8(name, cps))
    return false;
  bool lossless = true;
  bytes = kzp::codepage::FromUnicodeString(cps, &lossless);
  return lossless;
}

std::string ShownFileSystemName(const std::string &name) {
  // Character by character: what is UTF-8 stays, other bytes and control characters are
  // written in hex, so the message shows the name without letting it steer a terminal.
  std::string out;
  std::u32string cp;
  std::size_t i = 0;
  while (i < name.size()) {
    const auto lead = static_cast<unsigned char>(name[i]);
    const std::size_t length = lead < 0x80             ? 1
                               : (lead & 0xE0) == 0xC0 ? 2
                               : (lead & 0xF0) == 0xE0 ? 3
                                                       : 4;
    const std::string_view piece = std::string_view(name).substr(i, length);
    if (!kzp::DecodeUtf8(piece, cp) || cp.size() != 1) {
      out += Hex(lead);
      ++i;
      continue;
    }
    if (cp[0] < 0x20 || (cp[0] >= 0x7F && cp[0] <= 0x9F)) {
      for (const char c : piece)
        out += Hex(static_cast<unsigned char>(c));
    } else if (cp[0] == U'\\') {
      out += "\\\\";
    } else {
      out += piece;
    }
    i += piece.size();
  }
  return out;
}

std::string UnfitNameMessage(const std::string &shown, const char *consequence) {
  return "Der Name \"" + shown +
         "\" enthält Zeichen, die ein Template-Pack nicht speichern kann. Bitte benennen Sie die "
         "Datei um; " +
         consequence;
}

std::string UnfitMetaFieldMessage(const char *label) {
  return std::string("Das Feld \"") + label +
         "\" enthält Zeichen, die ein Template-Pack nicht speichern kann; es wurde nichts "
         "gespeichert.";
}

std::string BadEscapeMessage(const std::string &text) {
  return "\"" + ShownFileSystemName(text) +
         "\" enthält einen umgekehrten Schrägstrich, der weder \"\\\\\" noch \"\\xNN\" einleitet. "
         "Ein umgekehrter Schrägstrich wird als \"\\\\\" geschrieben, ein beliebiges Byte als "
         "\"\\x\" "
         "mit zwei Hexadezimalziffern.";
}
