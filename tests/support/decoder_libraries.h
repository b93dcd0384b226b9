// decoder_libraries.h — the real orvo.dll and orvu.dll, copied into a folder and loaded as the
// program loads them (by full path, orvo.dll first), bound into the program's decoder table;
// and small helpers for reading whole streams through that table.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/decoder_engine.h"

namespace nf::test {

// The built libraries, where the build left them.
std::filesystem::path BuiltOrvo();
std::filesystem::path BuiltOrvu();

// Copies both libraries into `folder`, loads them, and binds every name into
// nf::engine::decoder_engine. Returns the names that could not be bound (empty on success);
// a library that does not load is reported by its file name.
std::vector<std::string> LoadRealDecoder(const std::filesystem::path& folder);

// Loads the real decoder once per process (a folder of its own) and returns the bound table.
const engine::DecoderEngine& RealDecoder();

// Opens a file with the create call its extension asks for, UTF-16 path, the program's flags.
std::uint32_t OpenStream(const std::filesystem::path& file,
                         std::uint32_t flags = engine::OrvoPlayFlags);
// Everything a stream delivers from its position on, read `chunk_bytes` at a time (odd sizes
// welcome), as floats; stops at the first 0 or negative result.
std::vector<float> ReadToEnd(std::uint32_t handle, std::int32_t chunk_bytes = 1 << 20);

}  // namespace nf::test
