// libraries.h — loading a shared library by its full path and finding its functions by name.
#pragma once

#include <string_view>

namespace nf::platform {

// Loads the library (its own dependencies resolved as the system does); nullptr on failure.
// Libraries stay loaded until the program ends.
void* LoadLibraryFile(std::u16string_view path);
// The address of the named function, or nullptr.
void* FindLibraryFunction(void* library, const char* name);

}  // namespace nf::platform
