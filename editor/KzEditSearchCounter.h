// Counting the matches of a search a slice at a time, so that a window can show "3 von 17"
// for a huge document without stopping while it counts.
#pragma once

#include "editor/KzEditSearch.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

class TKzSearchCounter {
public:
  // The starts of this many matches are kept for IndexOf; matches beyond are only counted.
  static constexpr std::size_t KeptStarts = 1'000'000;

  // Begins counting. The search and the lines are referenced: they must stay as they are
  // until counting is done or restarted.
  void Start(const TKzSearch &search, const TKzSearchLines &lines, const TKzSearchScope &scope);
  // Forgets everything; Running() and Done() are false.
  void Reset();
  // Counts on over about `byteBudget` bytes of text. True once the whole scope is counted.
  // A search that hits its match limit raises EKzSearchError and stops counting.
  bool Step(std::size_t byteBudget);

  bool Running() const { return FSearch != nullptr && !FDone; }
  bool Done() const { return FDone; }
  std::size_t Total() const { return FTotal; }
  // The 1-based number of the match that starts at `start`, or 0 while it is not counted
  // yet (or no match starts there, or it lies beyond the kept starts).
  std::size_t IndexOf(TBufferCoord start) const;

private:
  const TKzSearch *FSearch = nullptr;
  const TKzSearchLines *FLines = nullptr;
  TKzSearchScope FScope;
  bool FDone = false;
  std::size_t FTotal = 0;
  std::vector<TBufferCoord> FStarts;
  // lines searched one by one
  int FNextLine = 1, FLastLine = 0;
  // joined lines
  std::unique_ptr<TKzJoinedLines> FJoined;
  std::size_t FPos = 0;
  bool FNotEmpty = false;
  bool Count(const TKzSearchMatch &m);
};
