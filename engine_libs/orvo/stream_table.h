// stream_table.h — the 32-bit handles of the open streams, shared by every thread.
#pragma once

#include <cstdint>
#include <memory>

#include "engine_libs/orvo/stream.h"

namespace nf::orvo {

// The new stream's handle (never 0), or 0 with the error code set.
std::uint32_t AddStream(std::unique_ptr<Stream> stream);
// The stream of a handle, kept alive for the caller; null with "An illegal parameter was
// specified" for a handle that is not open.
std::shared_ptr<Stream> FindStream(std::uint32_t handle);
// Removes the handle, then closes its stream once a read under way on another thread returns.
bool FreeStream(std::uint32_t handle);
void FreeAllStreams();

}  // namespace nf::orvo
