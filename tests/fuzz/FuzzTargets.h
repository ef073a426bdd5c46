// The fuzz targets: each reader of outside bytes as one function over any input. Built alone
// with libFuzzer, a target is the program's entry (scripts/fuzz); built into the test suite,
// every target replays its stored corpus, so what fuzzing found stays tested.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using TFuzzRun = void (*)(const std::uint8_t *data, std::size_t size);

struct TFuzzTarget {
  const char *Name;
  TFuzzRun Run;
};

std::vector<TFuzzTarget> &FuzzTargets();

struct TFuzzRegistrar {
  TFuzzRegistrar(const char *name, TFuzzRun run) { FuzzTargets().push_back({name, run}); }
};

// The input being run, named in the report of a broken property.
std::string &FuzzCurrentInput();

// A property a target checks; breaking it is a finding: the fuzzer stops with the input, the
// replay test fails naming it.
[[noreturn]] void FuzzFailed(const char *what);
inline void FuzzCheck(bool holds, const char *what) {
  if (!holds)
    FuzzFailed(what);
}

#if defined(KZ_FUZZER)
#define KZ_FUZZ_TARGET(name)                                                                       \
  static void name##Run(const std::uint8_t *, std::size_t);                                        \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {              \
    name##Run(data, size);                                                                         \
    return 0;                                                                                      \
  }                                                                                                \
  static void name##Run
#else
#define KZ_FUZZ_TARGET(name)                                                                       \
  static void name##Run(const std::uint8_t *, std::size_t);                                        \
  static const TFuzzRegistrar name##Registrar(#name, name##Run);                                   \
  static void name##Run
#endif

inline std::string FuzzBytes(const std::uint8_t *data, std::size_t size) {
  return std::string(reinterpret_cast<const char *>(data), size);
}
