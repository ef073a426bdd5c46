// A regular expression compiled by PCRE2 (8-bit, JIT where the machine has it) with the
// character tables of Windows-1252 and a match limit, so a runaway expression ends with a
// message instead of freezing the window.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// How much work one match attempt may do before it is given up.
inline constexpr unsigned KzPcreMatchLimit = 2'000'000;

class TKzPcreProgram {
public:
  // Raises EKzSearchError(skPattern) with a German message and the 1-based position.
  TKzPcreProgram(const std::string &pattern, bool caseless);
  ~TKzPcreProgram();
  TKzPcreProgram(const TKzPcreProgram &) = delete;
  TKzPcreProgram &operator=(const TKzPcreProgram &) = delete;

  // The first match at `from` or later ([start, end) as offsets). Raises
  // EKzSearchError(skTooComplex) when the match limit is hit.
  bool Match(std::string_view subject, std::size_t from, bool notEmptyAtFrom, std::size_t &start,
             std::size_t &end) const;
  // The groups of the match [start, end): group 0 is the match itself; a group that took no
  // part is (npos, npos).
  void Groups(std::string_view subject, std::size_t start, std::size_t end,
              std::vector<std::pair<std::size_t, std::size_t>> &groups) const;
  bool Jitted() const { return FJit; }

private:
  void *FCode = nullptr;      // pcre2_code_8
  void *FMatchData = nullptr; // pcre2_match_data_8
  void *FContext = nullptr;   // pcre2_match_context_8
  std::size_t FMinLength = 0;
  bool FJit = false;
};

// The 1088 bytes of character tables PCRE2 reads (small letters, other case, class bitmaps,
// type bits) for Windows-1252, or for plain ASCII as the C library's "C" locale sees it.
const unsigned char *KzPcreCharTables(bool asciiOnly = false);

// The German text of a PCRE2 compile error code.
std::string KzPcreErrorText(int code);
