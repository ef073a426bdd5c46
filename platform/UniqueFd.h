// An open file descriptor that is closed when it goes out of scope.
#pragma once

#include <unistd.h>

namespace kzp {

class TUniqueFd {
public:
  TUniqueFd() = default;
  explicit TUniqueFd(int fd) : fd_(fd) {}
  ~TUniqueFd() { Reset(); }
  TUniqueFd(const TUniqueFd &) = delete;
  TUniqueFd &operator=(const TUniqueFd &) = delete;
  TUniqueFd(TUniqueFd &&other) noexcept : fd_(other.Release()) {}
  TUniqueFd &operator=(TUniqueFd &&other) noexcept {
    if (this != &other)
      Reset(other.Release());
    return *this;
  }

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }
  // Closes what is held (its error dropped) and takes `fd`.
  void Reset(int fd = -1) {
    if (fd_ >= 0)
      ::close(fd_);
    fd_ = fd;
  }
  // Closes now, for writers that must know whether the last bytes reached the file:
  // 0, or the errno of the failed close.
  int Close();

private:
  int fd_ = -1;
};

} // namespace kzp
