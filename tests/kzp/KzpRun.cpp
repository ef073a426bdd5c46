// Runs the kzp tool as a child process with files for its standard streams.
#include "KzpRun.h"

#include "../pack/PackTestUtil.h"
#include "pack/PackStore.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string kKzp = KZ_BIN_DIR "/kzp";

[[noreturn]] void Exec(const std::string &program, const std::vector<std::string> &args) {
  std::vector<char *> argv;
  argv.push_back(const_cast<char *>(program.c_str()));
  for (const std::string &a : args)
    argv.push_back(const_cast<char *>(a.c_str()));
  argv.push_back(nullptr);
  ::execv(program.c_str(), argv.data());
  ::_exit(127);
}

TKzpResult Run(const std::string &program, const std::vector<std::string> &args,
               const TKzpLimits &limits, const std::string &input) {
  TTempFolder io;
  WriteBytes(io / "in", input);
  const std::string in = limits.StdinPath.empty() ? io / "in" : limits.StdinPath;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(::open(in.c_str(), O_RDONLY), 0);
    ::dup2(::open((io / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
    ::dup2(::open((io / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    if (limits.Memory) {
      const rlimit r{limits.Memory, limits.Memory};
      ::setrlimit(RLIMIT_AS, &r);
    }
    if (limits.FileSize) {
      // A write past the limit fails with EFBIG instead of ending the process.
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit r{limits.FileSize, limits.FileSize};
      ::setrlimit(RLIMIT_FSIZE, &r);
    }
    Exec(program, args);
  }
  TKzpResult r;
  int status = 0;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(limits.TimeoutMs);
  while (::waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      r.TimedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  r.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.Signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  r.Out = ReadBytes(io / "out");
  r.Err = ReadBytes(io / "err");
  return r;
}

} // namespace

TKzpResult RunKzp(const std::vector<std::string> &args, const std::string &input,
                  const std::string &program) {
  return Run(program, args, TKzpLimits{}, input);
}

TKzpResult RunKzpLimited(const std::vector<std::string> &args, const TKzpLimits &limits,
                         const std::string &input) {
  return Run(kKzp, args, limits, input);
}

pid_t StartKzp(const std::vector<std::string> &args, const std::string &stdinPath) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(::open(stdinPath.c_str(), O_RDONLY), 0);
    ::dup2(null, 1);
    ::dup2(null, 2);
    Exec(kKzp, args);
  }
  return pid;
}

int WaitKzp(pid_t pid, int *signal) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (signal)
    *signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> PackRecordsOf(const std::string &path) {
  TPackStore store;
  store.LoadPack(path);
  return store.Records;
}

bool UnderAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#else
  return false;
#endif
}
