// Test helpers shared by every subsystem's tests: a scoped temporary folder
// and whole-file reads and writes.
#ifndef ZELTO_TESTING_TEMP_DIR_H_
#define ZELTO_TESTING_TEMP_DIR_H_

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace testing_support {

/// A fresh folder under the system's temporary folder, removed with all it
/// holds when the object goes.
class ScopedTempDir {
 public:
  ScopedTempDir() {
    // A random name, made with create_directory, which fails rather than
    // reuse a folder that is already there; the same on every platform.
    std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
      char name[32];
      std::snprintf(name, sizeof name, "zelto-test-%08x%08x", random(), random());
      std::error_code error;
      if (std::filesystem::create_directory(base / name, error)) {
        path_ = base / name;
        return;
      }
    }
    std::fprintf(stderr, "cannot make a temporary folder under %s\n", base.string().c_str());
    std::abort();
  }
  ~ScopedTempDir() {
    std::error_code ignored;
    // Folders made read-only by a test must be writable again to be removed,
    // and on Windows so must read-only files.
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
      if (entry.is_symlink(ignored)) continue;  // never change what a link points at
      bool folder = entry.is_directory(ignored);
      std::filesystem::permissions(
          entry.path(), folder ? std::filesystem::perms::owner_all : std::filesystem::perms::owner_write,
          std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
  }
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  /// The folder itself.
  const std::filesystem::path& path() const { return path_; }

  /// The full name of `name` inside the folder, as a string.
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

/// Writes `bytes` as the whole of the file `path`.
inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

/// The whole of the file `path`; empty when it cannot be read.
inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace testing_support

#endif  // ZELTO_TESTING_TEMP_DIR_H_
