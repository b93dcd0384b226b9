// fake_engine_library.cpp — a stand-in engine library that exports the names of one of the
// three real ones (FAKE_ORVO, FAKE_ORVA or FAKE_ORVU) with bodies that do nothing. Binding is
// tested on these: put under another library's file name, one lacks every name it should have;
// built with FAKE_ERROR_CODE, the decoder reports an error after loading.
#include "engine/asio_output.h"
#include "engine/decoder_engine.h"

#ifndef FAKE_ERROR_CODE
#define FAKE_ERROR_CODE 0
#endif

#define FAKE_DEFINE(result, name, params)                                \
  extern "C" __attribute__((visibility("default"))) result name params { \
    return result{};                                                     \
  }

#if defined(FAKE_ORVO)
extern "C" __attribute__((visibility("default"))) std::int32_t Orvo_ErrorGetCode() {
  return FAKE_ERROR_CODE;
}
#define Orvo_ErrorGetCode Orvo_ErrorGetCode_unused
NF_ORVO_FUNCTIONS(FAKE_DEFINE)
#elif defined(FAKE_ORVA)
NF_ORVA_FUNCTIONS(FAKE_DEFINE)
#elif defined(FAKE_ORVU)
NF_ORVU_FUNCTIONS(FAKE_DEFINE)
#endif
