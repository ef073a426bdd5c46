// The program-wide dialog service and the filter translation shared by every picker.
#include "platform/Dialogs.h"

#include <stdexcept>

namespace {
TDialogs *installedDialogs = nullptr;

std::string Trim(const std::string &s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos)
    return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// "*.gif;*.jpg" -> "*.gif *.jpg", with "*.*" widened to "*".
std::string TranslatePatterns(const std::string &patterns) {
  std::string out;
  std::size_t pos = 0;
  while (pos <= patterns.size()) {
    std::size_t end = patterns.find(';', pos);
    if (end == std::string::npos)
      end = patterns.size();
    std::string one = Trim(patterns.substr(pos, end - pos));
    if (one == "*.*")
      one = "*";
    if (!one.empty()) {
      if (!out.empty())
        out += ' ';
      out += one;
    }
    pos = end + 1;
  }
  return out;
}
} // namespace

TDialogs &Dialogs() {
  if (!installedDialogs)
    throw std::logic_error("no dialog service installed");
  return *installedDialogs;
}

void SetDialogs(TDialogs *dialogs) { installedDialogs = dialogs; }

std::vector<TFileFilter> ParseFileFilter(const std::string &filter) {
  std::vector<TFileFilter> result;
  std::size_t pos = 0;
  while (pos < filter.size()) {
    std::size_t bar = filter.find('|', pos);
    if (bar == std::string::npos) {
      // A description without patterns offers everything rather than nothing.
      result.push_back({filter.substr(pos), "*"});
      break;
    }
    std::size_t end = filter.find('|', bar + 1);
    if (end == std::string::npos)
      end = filter.size();
    result.push_back(
        {filter.substr(pos, bar - pos), TranslatePatterns(filter.substr(bar + 1, end - bar - 1))});
    pos = end + 1;
  }
  return result;
}
