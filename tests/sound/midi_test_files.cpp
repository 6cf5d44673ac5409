// Test files in a directory of the test process's own.
#include "tests/sound/midi_test_files.hpp"

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {
// The directory lives as long as the test process and goes with it.
class TestDirectoryHolder {
 public:
  TestDirectoryHolder()
      : path_(std::filesystem::temp_directory_path() / ("domrak_music_tests_" + std::to_string(getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~TestDirectoryHolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

const std::filesystem::path& TestDirectory() {
  static const TestDirectoryHolder holder;
  return holder.path();
}
}  // namespace

TestFile::TestFile(const std::string& name, const Bytes& bytes) : path_((TestDirectory() / name).string()) {
  std::ofstream(path_, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TestFile::~TestFile() { std::filesystem::remove(path_); }

InTestDirectory::InTestDirectory() : previous_(std::filesystem::current_path().string()) {
  std::filesystem::current_path(TestDirectory());
}

InTestDirectory::~InTestDirectory() { std::filesystem::current_path(previous_); }
