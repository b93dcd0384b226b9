// file_open.cpp — argument checks and a file opening that can neither hang nor read a folder.
#include "engine_libs/orvo/file_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "engine/decoder_engine.h"
#include "engine_libs/orvo/error_code.h"
#include "platform/text_codec.h"

namespace nf::orvo {
namespace {

// Far beyond any real path; a caller's text without its terminator stops here, not at a crash
// further on.
constexpr std::size_t MaxPathUnits = 32768;

template <typename Unit>
std::basic_string_view<Unit> TerminatedText(const void* file) {
  const Unit* text = static_cast<const Unit*>(file);
  std::size_t length = 0;
  while (length < MaxPathUnits && text[length] != 0) ++length;
  return {text, length};
}

std::string FileName(const void* file, bool utf16) {
  if (utf16) return platform::ToUtf8(TerminatedText<char16_t>(file));
  return std::string(TerminatedText<char>(file));
}

}  // namespace

int OpenStreamFile(std::int32_t mem, const void* file, std::uint64_t offset, std::uint64_t length,
                   std::uint32_t flags, bool paths_utf16) {
  using namespace engine;
  // Streams are whole files; the data is always delivered as 32-bit float.
  if (mem != 0 || file == nullptr || offset != 0 || length != 0)
    return Fail(EngineErrorIllegalParameter, -1);
  if ((flags & OrvoSampleFloat) == 0) return Fail(EngineErrorSampleFormat, -1);

  const std::string name = FileName(file, paths_utf16 || (flags & OrvoStreamUnicode) != 0);
  if (name.empty() || name.size() >= MaxPathUnits) return Fail(EngineErrorFileOpen, -1);
  // O_NONBLOCK so that a FIFO in place of a file cannot stall the open; it is refused below.
  const int fd = open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return Fail(EngineErrorFileOpen, -1);
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    close(fd);
    return Fail(EngineErrorFileOpen, -1);
  }
  return fd;
}

}  // namespace nf::orvo
