// orva_exports.h — the functions orva.dll exports, declared from the binding table's own list,
// so that a definition that strays from the program's signature does not compile.
#pragma once

#include "engine/asio_output.h"

#define NF_ORVA_DECLARE_EXPORT(result, name, params) \
  __attribute__((visibility("default"))) result name params;

extern "C" {
NF_ORVA_FUNCTIONS(NF_ORVA_DECLARE_EXPORT)
}

namespace nf::orva {

// Underruns of the current or last output, and whether its thread got real-time scheduling.
// Not exported: for the library's own tests.
std::uint64_t UnderrunCount();
bool OutputThreadRealTime();

}  // namespace nf::orva
