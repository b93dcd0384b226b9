// engine_codes.h — the failure codes that the decoder engine and the output library share.
// One code space for both libraries; the program turns a code into words only when it shows it.
#pragma once

#include <cstdint>

namespace nf::engine {

enum EngineCode : std::int32_t {
  EngineOk = 0,
  EngineErrorMemory = 1,
  EngineErrorFileOpen = 2,
  EngineErrorDriver = 3,
  EngineErrorSampleFormat = 6,
  EngineErrorNotInitialized = 8,
  EngineErrorStart = 9,
  EngineErrorAlready = 14,
  EngineErrorNoChannel = 18,
  EngineErrorIllegalParameter = 20,
  EngineErrorDevice = 23,
  EngineErrorSampleRate = 25,
  EngineErrorNotFile = 27,
  EngineErrorNotAvailable = 37,
  EngineErrorTimeout = 40,
  EngineErrorFileFormat = 41,
  EngineErrorCodec = 44,
  EngineErrorUnknown = -1,
};

}  // namespace nf::engine
