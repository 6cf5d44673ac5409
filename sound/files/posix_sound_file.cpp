// Opening sound files without blocking on pipes or devices, and reading them in bounded pieces.
#include "sound/files/sound_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

int OpenSoundFile(const char* name, std::uint64_t limit) {
  if (name == nullptr) return -1;
  // Without O_NONBLOCK a FIFO would hold the open until some writer came along.
  const int fd = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || static_cast<std::uint64_t>(status.st_size) > limit) {
    close(fd);
    return -1;
  }
  return fd;
}

std::optional<std::vector<std::uint8_t>> ReadSoundFile(const char* name, std::size_t limit) {
  const int fd = OpenSoundFile(name, limit);
  if (fd < 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  ssize_t got = 0;
  do {
    const std::size_t at = bytes.size();
    // One byte past the limit is asked for, so that a file that grew is seen to be too long.
    const std::size_t wanted = std::min(kSoundFilePiece, limit + 1 - at);
    bytes.resize(at + wanted);
    do got = read(fd, bytes.data() + at, wanted);
    while (got < 0 && errno == EINTR);
    bytes.resize(at + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
  } while (got > 0 && bytes.size() <= limit);
  close(fd);
  if (got < 0 || bytes.size() > limit) return std::nullopt;
  return bytes;
}
