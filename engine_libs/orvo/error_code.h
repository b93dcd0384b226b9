// error_code.h — the calling thread's error code, and the guard that keeps every exported call
// from letting an exception out through the C ABI.
#pragma once

#include <cstdint>
#include <new>

#include "engine/engine_codes.h"

namespace nf::orvo {

// Per thread: the main thread probes while the audio thread decodes, and neither may see the
// other's failures.
void SetError(std::int32_t code);
std::int32_t LastError();

// Records `code` and returns `result`, for the failure paths of the exported calls.
template <typename T>
T Fail(std::int32_t code, T result) {
  SetError(code);
  return result;
}

// Runs `body`; an exception becomes "Memory error" (or the unknown code) and `failure`.
template <typename T, typename Body>
T Guarded(T failure, Body&& body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return Fail(engine::EngineErrorMemory, failure);
  } catch (...) {
    return Fail(engine::EngineErrorUnknown, failure);
  }
}

}  // namespace nf::orvo
