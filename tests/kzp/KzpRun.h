// Runs the built kzp tool in a test folder and collects what it printed.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct TKzpResult {
  int Exit = -1;  // the exit code; -1 when ended by a signal
  int Signal = 0; // the signal that ended it
  bool TimedOut = false;
  std::string Out, Err;
};

// Limits and inputs of one run, for the cases a plain run cannot show.
struct TKzpLimits {
  std::string StdinPath;           // read stdin from this file instead of `input`
  unsigned long long Memory = 0;   // address-space limit in bytes, 0 for none
  unsigned long long FileSize = 0; // largest file it may write, 0 for none
  int TimeoutMs = 20000;           // killed after this long (a hang fails the test, not the suite)
};

// Runs `program` (the kzp binary unless given) with `args`, feeding `input` on stdin.
TKzpResult RunKzp(const std::vector<std::string> &args, const std::string &input = "",
                  const std::string &program = KZ_BIN_DIR "/kzp");
TKzpResult RunKzpLimited(const std::vector<std::string> &args, const TKzpLimits &limits,
                         const std::string &input = "");

// Starts kzp with `args` in the background, stdin from `stdinPath`, its output thrown away;
// the caller waits.
pid_t StartKzp(const std::vector<std::string> &args, const std::string &stdinPath = "/dev/null");
// Waits for a started kzp; the exit code, or -1 when a signal ended it.
int WaitKzp(pid_t pid, int *signal = nullptr);

// The records of the pack file at `path`, as a fresh store reads them.
std::vector<std::string> PackRecordsOf(const std::string &path);

// Whether the tests run under the address sanitizer, which reserves more address space
// than any memory limit allows.
bool UnderAddressSanitizer();
