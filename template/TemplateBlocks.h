// The pairs of a template's blocks: the ELSE and ENDIF of each IF, the ENDLOOP of each
// LOOP, and what does not pair. Blocks pair inside one template; an included template
// brings its own.
#pragma once

#include "template/TemplateReader.h"

#include <cstddef>
#include <functional>
#include <vector>

enum class TTplBlockIssue {
  StrayElse,    // an ELSE with no IF open (or a LOOP opened inside the IF since)
  StrayEndIf,   // an ENDIF with no IF open
  StrayEndLoop, // an ENDLOOP with no LOOP open
  SecondElse,   // another ELSE in an IF that had one
  UnclosedIf,   // an IF that its template, or the block around it, ends before its ENDIF
  UnclosedLoop, // the same for a LOOP
};

// Fed the tokens of one template in order. A block whose end comes while a block opened
// inside it is still open ends that one there too, reported as unclosed, so what is left
// always nests: the preview can build from it whatever the text.
class TTplBlockMatcher {
public:
  // A block that ended: the index of its IF or LOOP token, of its ELSE (npos without one),
  // and of the token that ended it (the token count when the text ended first).
  std::function<void(std::size_t open, std::size_t elseAt, std::size_t end)> OnBlock;
  // `at` is the token the issue is about; `opening` the IF or LOOP it concerns, if any.
  std::function<void(TTplBlockIssue issue, const TTplToken &at, const TTplToken *opening)> OnIssue;

  void Feed(const TTplToken &token, std::size_t index);
  // The text ended after `count` tokens: every block still open ends here.
  void Finish(std::size_t count);

private:
  struct TOpen {
    TTplToken Token;
    std::size_t Index, Else;
  };
  void Close(std::size_t depth, std::size_t end); // ends the blocks above `depth`, innermost first
  void Issue(TTplBlockIssue issue, const TTplToken &at, const TTplToken *opening);

  std::vector<TOpen> open_;
};
