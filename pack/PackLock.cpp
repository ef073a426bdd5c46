// Locking a pack file that writers replace by rename.
#include "pack/PackLock.h"

#include "pack/PackFile.h"
#include "pack/PackStore.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>

namespace {
std::string WaitedFor(std::chrono::milliseconds timeout) {
  if (timeout.count() % 1000 == 0)
    return std::to_string(timeout.count() / 1000) + " Sekunden";
  return std::to_string(timeout.count()) + " Millisekunden";
}
} // namespace

void TPackLock::Acquire(const std::string &path, std::chrono::milliseconds timeout) {
  Release();
  using TClock = std::chrono::steady_clock;
  const TClock::time_point deadline = TClock::now() + timeout;
  std::chrono::milliseconds pause{1};
  for (;;) {
    kzp::TUniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.Valid()) {
      if (errno == ENOENT)
        return;
      throw EPackIOError(IOErrorMessage(errno, path), errno);
    }
    struct stat held {};
    if (::fstat(fd.Get(), &held) != 0)
      throw EPackIOError(IOErrorMessage(errno, path), errno);
    CheckPlainFile(held, path);
    for (;;) {
      if (::flock(fd.Get(), LOCK_EX | LOCK_NB) == 0)
        break;
      if (errno == EINTR)
        continue;
      if (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS)
        return; // no locks here; writing unlocked is all that can be done
      if (errno != EWOULDBLOCK)
        throw EPackIOError(IOErrorMessage(errno, path), errno);
      if (TClock::now() >= deadline)
        throw EPackError("Das Pack wird gerade von einem anderen Programm geändert. Nach " +
                         WaitedFor(timeout) +
                         " Warten wurde abgebrochen; es wurde nichts geändert: " + path);
      std::this_thread::sleep_for(pause);
      pause = std::min(pause * 2, std::chrono::milliseconds{5});
    }
    // The lock is ours; it only counts when the file is still the one the name leads to.
    struct stat now {};
    if (::stat(path.c_str(), &now) != 0) {
      if (errno == ENOENT)
        return;
      throw EPackIOError(IOErrorMessage(errno, path), errno);
    }
    if (now.st_dev == held.st_dev && now.st_ino == held.st_ino) {
      fd_ = std::move(fd);
      return;
    }
  }
}
