// files.cpp — folders and whole-file reads and writes over POSIX calls.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/text_codec.h"

namespace nf::platform {
namespace {

std::string NativePath(std::u16string_view path) {
  return ToUtf8(path);
}

std::string OwnExecutablePath() {
  char target[4096];
  const ssize_t length = readlink("/proc/self/exe", target, sizeof target - 1);
  return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

// Closes a descriptor on every way out.
struct FileDescriptor {
  int fd;
  ~FileDescriptor() {
    if (fd >= 0) close(fd);
  }
};

}  // namespace

std::u16string ExecutableFolder() {
  const std::string path = OwnExecutablePath();
  return FromUtf8(path.substr(0, path.rfind('/') + 1));
}

std::u16string ExecutableName() {
  const std::string path = OwnExecutablePath();
  return FromUtf8(path.substr(path.rfind('/') + 1));
}

std::u16string UserDataFolder() {
  std::string base;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && home[0] != '\0') {
    base = std::string(home) + "/.local/share";
  } else {
    return {};
  }
  if (base.back() != '/') base += '/';
  return FromUtf8(base);
}

std::optional<std::int64_t> FileSize(std::u16string_view path) {
  struct stat info;
  if (stat(NativePath(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<std::int64_t>(info.st_size);
}

bool FolderExists(std::u16string_view path) {
  struct stat info;
  return stat(NativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CreateFolder(std::u16string_view path) {
  return mkdir(NativePath(path).c_str(), 0700) == 0 || FolderExists(path);
}

bool CreateFolderPath(std::u16string_view path) {
  for (std::size_t slash = path.find(u'/', 1); slash != std::u16string_view::npos;
       slash = path.find(u'/', slash + 1))
    CreateFolder(path.substr(0, slash));
  return CreateFolder(path);
}

bool FileReadable(std::u16string_view path) {
  FileDescriptor file{open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) return false;
  char byte;
  return read(file.fd, &byte, 1) >= 0;  // a folder opens but cannot be read
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(std::u16string_view path) {
  FileDescriptor file{open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::uint8_t block[65536];
  for (;;) {
    const ssize_t got = read(file.fd, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) return bytes;
    bytes.insert(bytes.end(), block, block + got);
  }
}

WriteResult WriteWholeFile(std::u16string_view path, const void* bytes, std::size_t size) {
  const std::string target = NativePath(path);
  const std::size_t name_start = target.rfind('/') + 1;  // 0 without a folder
  std::string temporary =
      target.substr(0, name_start) + "." + target.substr(name_start) + ".XXXXXX";
  const auto failed = [](const char* step) {
    return WriteResult{std::string(step) + ": " + std::strerror(errno)};
  };
  FileDescriptor file{mkostemp(temporary.data(), O_CLOEXEC)};  // mode 0600
  if (file.fd < 0) return failed("create temporary file");
  const auto discard = [&](const char* step) {
    WriteResult result = failed(step);
    if (file.fd >= 0) close(file.fd);
    file.fd = -1;
    unlink(temporary.c_str());
    return result;
  };
  const auto* next = static_cast<const std::uint8_t*>(bytes);
  while (size > 0) {
    const ssize_t put = write(file.fd, next, size);
    if (put < 0 && errno == EINTR) continue;
    if (put == 0) errno = EIO;
    if (put <= 0) return discard("write");
    next += put;
    size -= static_cast<std::size_t>(put);
  }
  // A delayed write can still fail for lack of space: only after the flush are the bytes there.
  if (fsync(file.fd) != 0) return discard("fsync");
  const int written = file.fd;
  file.fd = -1;
  if (close(written) != 0) return discard("close");
  if (rename(temporary.c_str(), target.c_str()) != 0) return discard("rename");
  return {};
}

std::optional<std::int64_t> FileModifiedNs(std::u16string_view path) {
  struct stat info;
  if (stat(NativePath(path).c_str(), &info) != 0) return std::nullopt;
  return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

}  // namespace nf::platform
