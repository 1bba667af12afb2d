// A board library bound at run time. The file is opened at the first lookup,
// not at construction, so a program that never reaches the board never needs
// the library.
#pragma once

#include <stdexcept>
#include <string>

namespace vq {

// A library file or entry point that cannot be found. what() names it.
class BoardLibraryError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class DynamicLibrary {
public:
  // `file` is a path, or a bare name for the system's ordinary search.
  explicit DynamicLibrary(std::string file);
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary &) = delete;
  DynamicLibrary &operator=(const DynamicLibrary &) = delete;

  // Loads the library if it is not loaded yet and returns the entry point.
  // Throws BoardLibraryError naming the file or the entry point.
  template <typename Fn> Fn resolve(const char *entryPoint) { return reinterpret_cast<Fn>(resolveAddress(entryPoint)); }

  // The entry point if the library has it, else null; for optional ones.
  // Loads the library like resolve (and throws as it does when it cannot).
  template <typename Fn> Fn resolveOptional(const char *entryPoint) {
    return reinterpret_cast<Fn>(findAddress(entryPoint));
  }

  bool loaded() const { return handle_ != nullptr; }
  const std::string &file() const { return file_; }

private:
  void load();
  void *findAddress(const char *entryPoint);
  void *resolveAddress(const char *entryPoint);

  std::string file_;
  void *handle_ = nullptr;
};

} // namespace vq
