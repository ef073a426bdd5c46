// The reader of the template language: one pass over the text, no allocation.
#include "template/TemplateReader.h"

#include <cstring>

namespace {

// The bytes a construct's name is made of.
struct TNameTable {
  bool Is[256] = {};
  constexpr TNameTable() {
    for (int c = '0'; c <= '9'; ++c)
      Is[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c)
      Is[c] = Is[c + 32] = true;
    for (const char c : {'_', ':', '.', '/', '-'})
      Is[static_cast<unsigned char>(c)] = true;
    for (int c = 128; c < 256; ++c)
      Is[c] = true;
  }
};
constexpr TNameTable kName;

bool IsNameChar(char c) { return kName.Is[static_cast<unsigned char>(c)]; }

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

// Sorts a construct by its body (the bytes between the two "%%").
void Classify(std::string_view body, TTplToken &token) {
  const std::size_t colon = body.find(':');
  token.NameOffset = 2;
  token.NameLength = static_cast<std::uint32_t>(body.size());
  if (colon == std::string_view::npos) {
    if (body == "ELSE" || body == "ENDIF" || body == "ENDLOOP") {
      token.Kind = body == "ELSE"    ? TTplKind::Else
                   : body == "ENDIF" ? TTplKind::EndIf
                                     : TTplKind::EndLoop;
      token.NameLength = 0;
      return;
    }
    bool digits = body.size() > 4 && StartsWith(body, "LANG");
    for (std::size_t i = 4; digits && i < body.size(); ++i)
      digits = body[i] >= '0' && body[i] <= '9';
    token.Kind = digits ? TTplKind::Lang : TTplKind::Variable;
    return;
  }
  const std::string_view word = body.substr(0, colon);
  if (word == "INCLUDE" || word == "IF" || word == "LOOP") {
    token.Kind = word == "INCLUDE" ? TTplKind::Include
                 : word == "IF"    ? TTplKind::If
                                   : TTplKind::Loop;
    token.NameOffset = static_cast<std::uint32_t>(2 + colon + 1);
    token.NameLength = static_cast<std::uint32_t>(body.size() - colon - 1);
    return;
  }
  token.Kind = TTplKind::Directive;
  token.NameLength = static_cast<std::uint32_t>(colon);
}

} // namespace

std::size_t TTemplateReader::FindConstruct(std::size_t from, TTplToken &token) const {
  const char *d = text_.data();
  const std::size_t n = text_.size();
  std::size_t q = from;
  while (q + 1 < n) {
    const void *hit = std::memchr(d + q, '%', n - 1 - q);
    if (!hit)
      return n;
    q = static_cast<std::size_t>(static_cast<const char *>(hit) - d);
    if (d[q + 1] != '%') {
      q += 1;
      continue;
    }
    std::size_t r = q + 2;
    if (r < n && d[r] == '%') {
      q += 1; // "%%%": the first is a plain percent sign
      continue;
    }
    while (r < n && IsNameChar(d[r]))
      ++r;
    token.Offset = q;
    if (r > q + 2 && r + 1 < n && d[r] == '%' && d[r + 1] == '%') {
      token.Length = r + 2 - q;
      Classify(text_.substr(q + 2, r - q - 2), token);
    } else {
      token.Kind = TTplKind::Unclosed;
      token.Length = 2;
      token.NameOffset = token.NameLength = 0;
    }
    return q;
  }
  return n;
}

void TLineCounter::MoveTo(std::size_t offset) {
  const char *d = text_.data();
  std::size_t p = counted_;
  while (p < offset) {
    const char c = d[p++];
    if (c == '\n' || c == '\r') {
      // CR LF is one break, so its LF is taken along with the CR.
      if (c == '\r' && p < text_.size() && d[p] == '\n')
        ++p;
      ++line_;
      lineStart_ = p;
    }
  }
  counted_ = p;
}

void TTemplateReader::Place(TTplToken &token, std::size_t offset) {
  lines_.MoveTo(offset);
  token.Line = lines_.Line();
  token.Column = lines_.ColumnOf(offset);
}

bool TTemplateReader::Next(TTplToken &token) {
  if (havePending_) {
    havePending_ = false;
    token = pending_;
    pos_ = token.End();
    return true;
  }
  const std::size_t n = text_.size();
  if (pos_ >= n)
    return false;
  TTplToken construct;
  const std::size_t at = FindConstruct(pos_, construct);
  if (at == pos_) {
    Place(construct, at);
    token = construct;
    pos_ = token.End();
    return true;
  }
  token = TTplToken{};
  token.Kind = TTplKind::Text;
  token.Offset = pos_;
  token.Length = at - pos_;
  Place(token, pos_);
  if (at < n) {
    Place(construct, at);
    pending_ = construct;
    havePending_ = true;
  }
  pos_ = at;
  return true;
}

std::string_view TplUrlPathAt(std::string_view text, std::size_t end) {
  std::size_t p = end;
  while (p < text.size()) {
    const char c = text[p];
    if (c == '%') {
      // A value in the path makes it known only when the page is built; a block's
      // start or end merely ends it.
      TTemplateReader rest(text.substr(p));
      TTplToken next;
      if (rest.Next(next) && (next.Kind == TTplKind::Variable || next.Kind == TTplKind::Lang))
        return {};
      break;
    }
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '"' || c == '\'' || c == '<' ||
        c == '>' || c == '(' || c == ')' || c == '?' || c == '#')
      break;
    ++p;
  }
  return text.substr(end, p - end);
}

bool IsStyleSheetName(std::string_view name) {
  if (name.size() < 4)
    return false;
  const std::string_view tail = name.substr(name.size() - 4);
  for (std::size_t i = 0; i < 4; ++i) {
    const char c = tail[i] >= 'A' && tail[i] <= 'Z' ? static_cast<char>(tail[i] + 32) : tail[i];
    if (c != ".css"[i])
      return false;
  }
  return true;
}
