// orva_binding.cpp — binding orva.dll's names.
#include "tests/engine_libs/orva/orva_binding.h"

#include "platform/platform.h"

namespace nf::test {

engine::AsioOutput LoadOrva() {
  engine::AsioOutput table;
  void* library = platform::LoadLibraryFile(platform::FromUtf8(NF_ORVA_DLL));
#define NF_BIND_ORVA(result, name, params) \
  table.name = reinterpret_cast<engine::name##Fn>(platform::FindLibraryFunction(library, #name));
  NF_ORVA_FUNCTIONS(NF_BIND_ORVA)
#undef NF_BIND_ORVA
  return table;
}

}  // namespace nf::test
