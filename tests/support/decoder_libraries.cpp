// decoder_libraries.cpp — loading and binding the real decoder libraries for a test.
#include "tests/support/decoder_libraries.h"

#include <cstring>
#include <stdexcept>

#include "platform/platform.h"
#include "tests/support/decoder_fixtures.h"

namespace nf::test {
namespace fs = std::filesystem;

fs::path BuiltOrvo() {
  return NF_BUILT_ORVO;
}
fs::path BuiltOrvu() {
  return NF_BUILT_ORVU;
}

std::vector<std::string> LoadRealDecoder(const fs::path& folder) {
  fs::copy_file(BuiltOrvo(), folder / "orvo.dll", fs::copy_options::overwrite_existing);
  fs::copy_file(BuiltOrvu(), folder / "orvu.dll", fs::copy_options::overwrite_existing);
  void* orvo = platform::LoadLibraryFile(platform::FromUtf8((folder / "orvo.dll").string()));
  if (!orvo) return {"orvo.dll"};
  void* orvu = platform::LoadLibraryFile(platform::FromUtf8((folder / "orvu.dll").string()));
  if (!orvu) return {"orvu.dll"};
  std::vector<std::string> missing;
  auto bind = [&missing](void* library, const char* name, auto& pointer) {
    pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(
        platform::FindLibraryFunction(library, name));
    if (!pointer) missing.emplace_back(name);
  };
  engine::DecoderEngine& table = engine::decoder_engine;
#define NF_BIND_ORVO(result, name, params) bind(orvo, #name, table.name);
#define NF_BIND_ORVU(result, name, params) bind(orvu, #name, table.name);
  NF_ORVO_FUNCTIONS(NF_BIND_ORVO)
  NF_ORVU_FUNCTIONS(NF_BIND_ORVU)
#undef NF_BIND_ORVO
#undef NF_BIND_ORVU
  return missing;
}

const engine::DecoderEngine& RealDecoder() {
  static TempFolder folder;  // the libraries stay loaded, so their copies stay too
  static const bool loaded = LoadRealDecoder(folder.path()).empty();
  if (!loaded) throw std::runtime_error("the decoder libraries did not load");
  return engine::decoder_engine;
}

std::uint32_t OpenStream(const fs::path& file, std::uint32_t flags) {
  const engine::DecoderEngine& orvo = RealDecoder();
  const std::u16string path = platform::FromUtf8(file.string());
  const bool flac = file.extension() == ".flac";
  return (flac ? orvo.Orvo_FLAC_StreamCreateFile : orvo.Orvo_StreamCreateFile)(0, path.c_str(), 0,
                                                                               0, flags);
}

std::vector<float> ReadToEnd(std::uint32_t handle, std::int32_t chunk_bytes) {
  const engine::DecoderEngine& orvo = RealDecoder();
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint8_t> chunk(static_cast<std::size_t>(chunk_bytes));
  for (;;) {
    const std::int32_t got = orvo.Orvo_ChannelGetData(handle, chunk.data(), chunk_bytes);
    if (got <= 0) break;
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
  }
  std::vector<float> floats(bytes.size() / sizeof(float));
  if (!floats.empty()) std::memcpy(floats.data(), bytes.data(), floats.size() * sizeof(float));
  return floats;
}

}  // namespace nf::test
