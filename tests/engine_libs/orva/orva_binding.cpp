// orva_binding.cpp — binding orva.dll's names.
#include "tests/engine_libs/orva/orva_binding.h"

#include "platform/platform.h"

#if defined(__SANITIZE_ADDRESS__)
// alsa-lib is built without frame pointers: only the slower unwinder follows an allocation
// through it back to the plug-in that made it, which the leak suppressions name.
extern "C" const char* __asan_default_options() {
  return "fast_unwind_on_malloc=0";
}
#endif

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
