// engine_deployment.cpp — writes the built-in engine libraries into the user's data folder,
// where they are loaded from. A file is left alone only when it is byte for byte the built-in
// image: a same-sized file that something else put there is not loaded.
#include <cstring>

#include "app/app.h"
#include "platform/log.h"

namespace nf::app {
namespace {

bool MatchesImage(const std::u16string& path, const EngineImage& image) {
  const auto size = platform::FileSize(path);
  if (!size || static_cast<std::size_t>(*size) != image.size) return false;
  const auto bytes = platform::ReadWholeFile(path);
  return bytes && bytes->size() == image.size &&
         std::memcmp(bytes->data(), image.bytes, image.size) == 0;
}

}  // namespace

std::u16string GetSpecialFolder(int folder_id) {
  return folder_id == LocalAppDataFolderId ? platform::UserDataFolder() : std::u16string();
}

void DeployEngineLibraries() {
  const std::u16string base = GetSpecialFolder(LocalAppDataFolderId);
  // A new account may not have its data folder yet.
  if (!base.empty()) platform::CreateFolderPath(base);
  platform::CreateFolder(base + u"Vantril");
  EngineFolder = base + u"Vantril/vl20";
  platform::CreateFolder(EngineFolder);
  EngineFolder += u"/";
  for (const EngineImage& image : EmbeddedEngineImages()) {
    const std::u16string path = EngineFolder + std::u16string(image.file_name);
    if (MatchesImage(path, image)) continue;
    // A file that cannot be written stays as it was (never cut off); binding then reports it by
    // name, and only the log says why.
    if (const auto written = platform::WriteWholeFile(path, image.bytes, image.size); !written)
      platform::LogFailure("deploy", platform::ToUtf8(path) + " not written: " + written.failure);
  }
}

}  // namespace nf::app
