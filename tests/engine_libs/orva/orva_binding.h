// orva_binding.h — the built orva.dll, loaded as the program loads it (by full path, dlopen with
// RTLD_NOW | RTLD_LOCAL) and its names bound into a table.
#pragma once

#include "engine/asio_output.h"

namespace nf::test {

// Names the library lacks stay nullptr; a library that does not load leaves them all so.
engine::AsioOutput LoadOrva();

}  // namespace nf::test
