// The registry of fuzz targets and what a broken property does.
#include "FuzzTargets.h"

#include <cstdio>
#include <cstdlib>

std::vector<TFuzzTarget> &FuzzTargets() {
  static std::vector<TFuzzTarget> targets;
  return targets;
}

std::string &FuzzCurrentInput() {
  static std::string input;
  return input;
}

void FuzzFailed(const char *what) {
  std::fprintf(stderr, "fuzz property broken: %s%s%s\n", what,
               FuzzCurrentInput().empty() ? "" : " - input ", FuzzCurrentInput().c_str());
  std::abort();
}
