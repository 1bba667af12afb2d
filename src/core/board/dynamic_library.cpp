#include "board/dynamic_library.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vq {

#if defined(_WIN32)
namespace {

// Why a library did not load, in the system's words, or plainer ones where
// the system's would puzzle the user.
std::string LoadFailureReason(DWORD error) {
  if (error == ERROR_BAD_EXE_FORMAT)
    return "it is not a " + std::to_string(sizeof(void *) * 8) + "-bit Windows library";
  char *text = nullptr;
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<char *>(&text), 0, nullptr);
  std::string reason = length > 0 ? std::string(text, length) : "system error " + std::to_string(error);
  LocalFree(text);
  while (!reason.empty() &&
         (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ' || reason.back() == '.'))
    reason.pop_back();
  return reason;
}

// `file` made absolute, with backslashes; empty when the system cannot.
std::string FullPath(const std::string &file) {
  std::string full(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetFullPathNameA(file.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0)
      return {};
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length); // too small: length is the size needed
  }
}

HMODULE LoadWindowsLibrary(const std::string &file, DWORD &error) {
  // The program names a library that cannot be loaded itself: no box from
  // the system on the way.
  DWORD previousMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
  HMODULE module = nullptr;
  if (file.find_first_of("/\\:") == std::string::npos) {
    // A bare name is looked for in the program's directory and the system
    // directory only, never in the current directory, where anyone may have
    // left a file of that name.
    module = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  } else {
    // A path, as the system reads paths best: whole, with backslashes (the
    // board maker's is written with slashes). What the library needs in turn
    // is looked for where the system looks for any program's library.
    const std::string full = FullPath(file);
    if (!full.empty())
      module = LoadLibraryA(full.c_str());
  }
  error = module == nullptr ? GetLastError() : 0;
  SetThreadErrorMode(previousMode, nullptr);
  return module;
}

} // namespace
#endif

DynamicLibrary::DynamicLibrary(std::string file) : file_(std::move(file)) {}

DynamicLibrary::~DynamicLibrary() {
  // The board session lives until the program ends and the library is never
  // released there; a test that drops its loader unloads it.
  if (handle_ == nullptr)
    return;
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(handle_));
#else
  dlclose(handle_);
#endif
}

void DynamicLibrary::load() {
  if (handle_ != nullptr)
    return;
#if defined(_WIN32)
  DWORD error = 0;
  handle_ = LoadWindowsLibrary(file_, error);
  if (handle_ == nullptr)
    throw BoardLibraryError("The board library \"" + file_ + "\" cannot be loaded: " + LoadFailureReason(error) + ".");
#else
  handle_ = dlopen(file_.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char *reason = dlerror();
    throw BoardLibraryError("The board library \"" + file_ + "\" cannot be loaded" +
                            (reason ? std::string(": ") + reason : std::string()) + ".");
  }
#endif
}

void *DynamicLibrary::findAddress(const char *entryPoint) {
  load();
#if defined(_WIN32)
  return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(handle_), entryPoint));
#else
  dlerror();
  return dlsym(handle_, entryPoint);
#endif
}

void *DynamicLibrary::resolveAddress(const char *entryPoint) {
  void *address = findAddress(entryPoint);
  if (address == nullptr)
    throw BoardLibraryError("The entry point \"" + std::string(entryPoint) +
                            "\" cannot be found in the board library \"" + file_ + "\".");
  return address;
}

} // namespace vq
