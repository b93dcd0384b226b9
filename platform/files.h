// files.h — the folders the program knows and the few file operations it needs. Paths are the
// program's UTF-16 texts; they become file-system names only here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nf::platform {

// The folder of the running executable, with a trailing "/".
std::u16string ExecutableFolder();
// The executable's file name without its folder.
std::u16string ExecutableName();
// $XDG_DATA_HOME when it is absolute, else $HOME/.local/share; with a trailing "/". Empty when
// neither can be found.
std::u16string UserDataFolder();

// Size of a regular file; nullopt for a missing file, a folder or anything else.
std::optional<std::int64_t> FileSize(std::u16string_view path);
bool FolderExists(std::u16string_view path);
// Creates one folder with mode 0700; true when it exists afterwards.
bool CreateFolder(std::u16string_view path);
// Creates a folder and any missing folders above it, each with mode 0700.
bool CreateFolderPath(std::u16string_view path);
// True when the file opens for reading and yields its first byte (or is empty and opens).
bool FileReadable(std::u16string_view path);
// The whole file, or nullopt when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(std::u16string_view path);
// What a whole-file write came to: true when the file holds the bytes; otherwise the failing
// step and the system's reason, for the failure log.
struct WriteResult {
  std::string failure;
  explicit operator bool() const { return failure.empty(); }
};
// Replaces the file whole, mode 0600: the bytes go to a temporary file in the same folder, which
// is flushed to disk and renamed over the path. A write that fails part-way (a full disk, a size
// limit) removes the temporary file and leaves the old file, or its absence, as it was, so no
// cut-off file is ever read back. The folder must be writable.
WriteResult WriteWholeFile(std::u16string_view path, const void* bytes, std::size_t size);
// Last modification time in nanoseconds since the epoch; nullopt when the file is missing.
std::optional<std::int64_t> FileModifiedNs(std::u16string_view path);

}  // namespace nf::platform
