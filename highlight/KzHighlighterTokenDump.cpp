// A plain-text dump of a document's token stream, for the kzp tool and the golden-file tests.
#include "highlight/KzHighlighterTokenDump.h"

#include "highlight/KzEditHighlighter.h"
#include "platform/TextLines.h"

std::vector<std::string> KzSplitLines(const std::string &bytes) {
  return kzp::SplitTextLines(bytes);
}

std::string KzEscapeTokenText(const std::string &text) {
  static const char Hex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
    case '\\': out += "\\\\"; break;
    case '\t': out += "\\t"; break;
    case '\r': out += "\\r"; break;
    case '\n': out += "\\n"; break;
    default:
      if (c < 32 || c > 126) {
        out += "\\x";
        out += Hex[c >> 4];
        out += Hex[c & 15];
      } else {
        out += ch;
      }
    }
  }
  return out;
}

std::string KzDumpTokens(TKzCustomHighlighter &highlighter, const std::vector<std::string> &lines) {
  std::string out;
  TKzRange range = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == 0)
      highlighter.ClearRange();
    else
      highlighter.RestoreRange(range);
    const std::string prefix = std::to_string(i) + '\t';
    highlighter.BeginLine(lines[i], static_cast<int>(i));
    while (!highlighter.AtLineEnd()) {
      out += prefix;
      out += std::to_string(highlighter.TokenStart());
      out += '\t';
      out += std::to_string(highlighter.TokenKind());
      out += '\t';
      out += KzEscapeTokenText(highlighter.TokenText());
      out += '\n';
      highlighter.Advance();
    }
    range = highlighter.CurrentRange();
    out += prefix;
    out += "end\t";
    out += std::to_string(range);
    out += '\n';
  }
  return out;
}
