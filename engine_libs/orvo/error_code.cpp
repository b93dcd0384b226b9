// error_code.cpp — the per-thread error code.
#include "engine_libs/orvo/error_code.h"

namespace nf::orvo {
namespace {
thread_local std::int32_t last_error = engine::EngineOk;
}  // namespace

void SetError(std::int32_t code) {
  last_error = code;
}
std::int32_t LastError() {
  return last_error;
}

}  // namespace nf::orvo
