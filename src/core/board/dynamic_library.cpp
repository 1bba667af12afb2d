#include "board/dynamic_library.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vq {

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
  handle_ = LoadLibraryA(file_.c_str());
  if (handle_ == nullptr)
    throw BoardLibraryError("The board library \"" + file_ + "\" cannot be loaded.");
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
