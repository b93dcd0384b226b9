// file_open.h — the checks every stream-creating call makes, and the opening of its file.
#pragma once

#include <cstdint>

namespace nf::orvo {

// Checks the arguments (only whole files, only float output), turns the path into a file-system
// name (UTF-16 when the flags or the configuration say so, else UTF-8) and opens it for
// reading. Returns the file descriptor, or -1 with the thread's error code set: "Can't open the
// file" for a missing, unreadable or non-regular file.
int OpenStreamFile(std::int32_t mem, const void* file, std::uint64_t offset, std::uint64_t length,
                   std::uint32_t flags, bool paths_utf16);

}  // namespace nf::orvo
