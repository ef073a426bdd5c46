// The lock that keeps two writers of one pack apart, in this process or any other.
#pragma once

#include "platform/UniqueFd.h"

#include <chrono>
#include <string>

// How long a writer waits for another one to finish before it gives up.
inline constexpr std::chrono::milliseconds kPackLockTimeout{10000};

// An exclusive lock on the pack file itself, held by a change across its check of the file,
// its change of the records and the rename that replaces the pack. Readers never lock.
// Since a write replaces the file, a waiter that finally gets the lock of a file that is no
// longer the pack lets it go and locks the new one. A path with no file yet locks nothing:
// there is no pack a second writer could lose.
class TPackLock {
public:
  TPackLock() = default;
  ~TPackLock() = default;
  TPackLock(const TPackLock &) = delete;
  TPackLock &operator=(const TPackLock &) = delete;

  // Waits up to `timeout` for the pack at `path` (a link is followed); EPackError in German
  // when another writer holds it longer, EPackIOError when it cannot be opened or is no
  // plain file. A file system that has no locks is written unlocked.
  void Acquire(const std::string &path, std::chrono::milliseconds timeout = kPackLockTimeout);
  void Release() { fd_.Reset(); }
  bool Held() const { return fd_.Valid(); }

private:
  kzp::TUniqueFd fd_;
};
