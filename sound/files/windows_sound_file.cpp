// Opening sound files only when they are files on a disk, and reading them in bounded pieces.
#include "sound/files/sound_file.hpp"

#include <windows.h>

#include <algorithm>

std::optional<std::vector<std::uint8_t>> ReadSoundFile(const char* name, std::size_t limit) {
  if (name == nullptr) return std::nullopt;
  const HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  // A directory is not opened at all without backup semantics; pipes and devices are not disks.
  LARGE_INTEGER size{};
  bool ok = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) &&
            static_cast<std::uint64_t>(size.QuadPart) <= limit;
  std::vector<std::uint8_t> bytes;
  while (ok) {
    const std::size_t at = bytes.size();
    // One byte past the limit is asked for, so that a file that grew is seen to be too long.
    const std::size_t wanted = std::min(kSoundFilePiece, limit + 1 - at);
    bytes.resize(at + wanted);
    DWORD got = 0;
    ok = ReadFile(file, bytes.data() + at, static_cast<DWORD>(wanted), &got, nullptr) != 0;
    bytes.resize(at + got);
    if (bytes.size() > limit) ok = false;
    if (got == 0) break;
  }
  CloseHandle(file);
  if (!ok) return std::nullopt;
  return bytes;
}
