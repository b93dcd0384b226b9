// orvu_api.cpp — the exported C ABI of orvu.dll: one call that opens a FLAC file and hands its
// decoder to orvo.dll, where every Orvo_Channel* call then works on it.
#include <new>

#include "engine/decoder_engine.h"
#include "engine_libs/orvo/abi_export.h"
#include "engine_libs/orvo/orvo_plugin.h"
#include "engine_libs/orvu/flac_source.h"

NF_ORVU_FUNCTIONS(NF_ENGINE_DECLARE_EXPORT)
NF_ORVU_FUNCTIONS(NF_ENGINE_CHECK_EXPORT)

std::uint32_t Orvo_FLAC_StreamCreateFile(std::int32_t mem, const void* file, std::uint64_t offset,
                                         std::uint64_t length, std::uint32_t flags) {
  using namespace nf::engine;
  try {
    const int fd = OrvoPlugin_OpenFile(mem, file, offset, length, flags);
    if (fd < 0) return 0;
    nf::orvu::OpenedFlac opened;
    if (const std::int32_t code = nf::orvu::OpenFlacSource(fd, opened); code != EngineOk) {
      OrvoPlugin_SetError(code);
      return 0;
    }
    return OrvoPlugin_AddStream(&nf::orvu::FlacSourceOps, opened.source, opened.rate,
                                opened.frames);
  } catch (const std::bad_alloc&) {
    OrvoPlugin_SetError(EngineErrorMemory);
  } catch (...) {
    OrvoPlugin_SetError(EngineErrorUnknown);
  }
  return 0;
}
