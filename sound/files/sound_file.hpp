// Reading a sound file from the working directory, which anyone may have put there: only a
// regular file is read, never a directory, pipe or device, and never more than a limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The whole file, read in pieces of kSoundFilePiece bytes until its end. Nothing when there is
// no such file, when it is not a regular file (checked on the opened file, which is opened
// without waiting for a writer), when it holds more than `limit` bytes, or when a read fails.
// A size the file system states is used only to refuse a file early: a file that turns out
// shorter costs no more than it holds, one that keeps growing is refused at the limit.
std::optional<std::vector<std::uint8_t>> ReadSoundFile(const char* name, std::size_t limit);

inline constexpr std::size_t kSoundFilePiece = 64 * 1024;

#ifndef _WIN32
// The descriptor of a regular file of at most `limit` bytes, opened for reading, for a library
// that reads the file by itself; -1 when there is none. The caller closes it.
int OpenSoundFile(const char* name, std::uint64_t limit);
#endif
