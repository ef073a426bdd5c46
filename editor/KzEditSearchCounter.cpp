// Sliced counting of matches.
#include "editor/KzEditSearchCounter.h"

#include <algorithm>

void TKzSearchCounter::Reset() {
  FSearch = nullptr;
  FLines = nullptr;
  FScope = {};
  FDone = false;
  FTotal = 0;
  FStarts.clear();
  FJoined.reset();
  FPos = 0;
  FNotEmpty = false;
}

void TKzSearchCounter::Start(const TKzSearch &search, const TKzSearchLines &lines,
                             const TKzSearchScope &scope) {
  Reset();
  FSearch = &search;
  FLines = &lines;
  FScope = scope;
  FNextLine = scope.FirstLine();
  FLastLine = scope.LastLine(lines.Count());
  if (search.Empty() || FNextLine > FLastLine) {
    FDone = true;
    return;
  }
  if (search.JoinsLines()) {
    FJoined = std::make_unique<TKzJoinedLines>(lines, FNextLine, FLastLine);
    FPos = scope.Kind == TKzSearchScope::skRange ? FJoined->OffsetOf(scope.Start) : 0;
  }
}

bool TKzSearchCounter::Count(const TKzSearchMatch &m) {
  ++FTotal;
  if (FStarts.size() < KeptStarts)
    FStarts.push_back(m.Start);
  return true;
}

bool TKzSearchCounter::Step(std::size_t byteBudget) {
  if (!FSearch || FDone)
    return FDone;
  std::size_t used = 0;
  try {
    if (FJoined) {
      const std::string &text = FJoined->Text();
      std::size_t s = 0, e = 0;
      while (used < byteBudget) {
        if (!FSearch->FindIn(text, FPos, FNotEmpty, s, e)) {
          FDone = true;
          break;
        }
        const TKzSearchMatch m{FJoined->CoordOf(s), FJoined->CoordOf(e)};
        if (FScope.Kind == TKzSearchScope::skRange && FScope.End < m.Start) {
          FDone = true;
          break;
        }
        if (FScope.Contains(m))
          Count(m);
        used += e - FPos + 1;
        FPos = e;
        FNotEmpty = e == s;
      }
    } else {
      auto count = [this](const TKzSearchMatch &m) { return Count(m); };
      while (FNextLine <= FLastLine && used < byteBudget) {
        const std::string_view line = FLines->Line(FNextLine - 1);
        FSearch->ScanLine(line, FNextLine, FScope, 1, false, count);
        used += line.size() + 1;
        ++FNextLine;
      }
      FDone = FNextLine > FLastLine;
    }
  } catch (...) {
    FDone = true;
    throw;
  }
  return FDone;
}

std::size_t TKzSearchCounter::IndexOf(TBufferCoord start) const {
  auto it = std::lower_bound(FStarts.begin(), FStarts.end(), start);
  if (it == FStarts.end() || !(*it == start))
    return 0;
  return std::size_t(it - FStarts.begin()) + 1;
}
