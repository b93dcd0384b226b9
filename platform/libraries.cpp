// libraries.cpp — dlopen and dlsym.
#include "platform/libraries.h"

#include <dlfcn.h>

#include "platform/text_codec.h"

namespace nf::platform {

void* LoadLibraryFile(std::u16string_view path) {
  return dlopen(ToUtf8(path).c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* FindLibraryFunction(void* library, const char* name) {
  return library ? dlsym(library, name) : nullptr;
}

}  // namespace nf::platform
