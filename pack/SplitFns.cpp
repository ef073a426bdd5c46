// The token splitter of the pack format.
#include "pack/SplitFns.h"

#include <cstring>

std::string NextToken(const std::string &text, char separator, std::size_t &position) {
  const std::size_t length = text.size();
  if (position < 1)
    position = 1;
  while (position <= length && text[position - 1] == separator)
    ++position;
  if (position > length)
    return std::string();
  // Records can be many megabytes long, so the end is found with memchr, not by stepping.
  const char *start = text.data() + (position - 1);
  const void *hit = std::memchr(start, separator, length - (position - 1));
  const std::size_t tokenLength =
      hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - start)
          : length - (position - 1);
  std::string token(start, tokenLength);
  position = hit ? position + tokenLength + 1 : length + 1;
  return token;
}

void SplitString(const std::string &text, char separator, std::vector<std::string> &list) {
  std::size_t position = 1;
  while (position <= text.size())
    list.push_back(NextToken(text, separator, position));
}

std::vector<std::string> SplitExact(const std::string &text, char separator) {
  std::vector<std::string> parts;
  std::size_t at = 0;
  for (;;) {
    const std::size_t hit = text.find(separator, at);
    if (hit == std::string::npos) {
      parts.push_back(text.substr(at));
      return parts;
    }
    parts.push_back(text.substr(at, hit - at));
    at = hit + 1;
  }
}
