// engine_binding.cpp — loads the three engine libraries from the engine folder and binds every
// function the program uses by its exported name. A library that does not load, or lacks one
// of the names, ends the program with a message naming it.
#include "app/app.h"
#include "engine/asio_output.h"
#include "engine/decoder_engine.h"

namespace nf::app {
namespace {

using engine::asio_output;
using engine::decoder_engine;

[[noreturn]] void FailBinding(std::u16string_view text) {
  platform::ShowMessageBox(u"Vantril", text, 0);
  ExitProgram();
}

void* LoadEngineLibrary(std::u16string_view file_name) {
  return platform::LoadLibraryFile(EngineFolder + std::u16string(file_name));
}

template <typename Fn>
bool Bind(void* library, const char* name, Fn& slot) {
  slot = reinterpret_cast<Fn>(platform::FindLibraryFunction(library, name));
  return slot != nullptr;
}

#define NF_BIND_DECODER(result, name, params) \
  all_bound &= Bind(library, #name, decoder_engine.name);
#define NF_BIND_OUTPUT(result, name, params) all_bound &= Bind(library, #name, asio_output.name);

bool BindDecoder(void* library) {
  bool all_bound = library != nullptr;
  NF_ORVO_FUNCTIONS(NF_BIND_DECODER)
  return all_bound;
}

bool BindOutput(void* library) {
  bool all_bound = library != nullptr;
  NF_ORVA_FUNCTIONS(NF_BIND_OUTPUT)
  return all_bound;
}

bool BindFlacPlugin(void* library) {
  bool all_bound = library != nullptr;
  NF_ORVU_FUNCTIONS(NF_BIND_DECODER)
  return all_bound;
}

}  // namespace

void BindEngineLibraries() {
  if (!BindDecoder(LoadEngineLibrary(u"orvo.dll"))) FailBinding(u"Error open orvo.dll");
  if (!BindOutput(LoadEngineLibrary(u"orva.dll"))) FailBinding(u"Error open orva.dll");
  if (!BindFlacPlugin(LoadEngineLibrary(u"orvu.dll"))) FailBinding(u"Error open orvu.dll");
  if (decoder_engine.Orvo_ErrorGetCode() != 0) FailBinding(u"Error Orvo Library");
}

}  // namespace nf::app
