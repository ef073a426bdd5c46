// Closing a file descriptor with the error kept.
#include "platform/UniqueFd.h"

#include <cerrno>

namespace kzp {

int TUniqueFd::Close() {
  const int fd = Release();
  if (fd < 0)
    return 0;
  // Linux releases the descriptor even when close fails, so it is never closed twice.
  return ::close(fd) == 0 ? 0 : errno;
}

} // namespace kzp
