// log.cpp — failure lines to standard error and to the log file, which is cut back to its last
// LogKeptLines lines whenever it has grown to twice that.
#include "platform/log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

namespace nf::platform {
namespace {

std::mutex log_mutex;  // one writer at a time within this copy of the module

// Closes a descriptor on every way out.
struct Descriptor {
  int fd;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};

std::string StateFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state && state[0] == '/') return std::string(state) + "/nightfold/";
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.local/state/nightfold/";
  return {};
}

void MakeFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
       slash = folder.find('/', slash + 1))
    mkdir(folder.substr(0, slash).c_str(), 0700);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::string ReadAll(const std::string& path) {
  std::string text;
  const Descriptor file{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) return text;
  char block[8192];
  ssize_t got;
  while ((got = read(file.fd, block, sizeof block)) > 0)
    text.append(block, static_cast<std::size_t>(got));
  return text;
}

// Keeps the last LogKeptLines lines: written beside the log and renamed over it, so a failure
// part-way leaves the old log whole.
void TrimLog(const std::string& path) {
  const std::string text = ReadAll(path);
  std::size_t lines = 0;
  for (const char c : text) lines += c == '\n';
  std::size_t start = 0;
  for (std::size_t skip = lines > LogKeptLines ? lines - LogKeptLines : 0; skip > 0; --skip)
    start = text.find('\n', start) + 1;
  const std::string fresh = path + ".new";
  {
    const Descriptor out{open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600)};
    if (out.fd < 0 || !WriteAll(out.fd, std::string_view(text).substr(start))) {
      unlink(fresh.c_str());
      return;
    }
  }
  if (rename(fresh.c_str(), path.c_str()) != 0) unlink(fresh.c_str());
}

std::size_t CountLines(const std::string& path) {
  std::size_t lines = 0;
  for (const char c : ReadAll(path)) lines += c == '\n';
  return lines;
}

std::string Stamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace

std::string LogFilePath() {
  const std::string folder = StateFolder();
  return folder.empty() ? folder : folder + "nightfold.log";
}

void LogFailure(std::string_view source, std::string_view cause) {
  std::string line = Stamp() + " " + std::string(source) + ": " + std::string(cause);
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  line += '\n';

  std::lock_guard lock(log_mutex);
  WriteAll(STDERR_FILENO, line);
  const std::string path = LogFilePath();
  if (path.empty()) return;
  MakeFolders(path.substr(0, path.rfind('/') + 1));
  {
    const Descriptor log{open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600)};
    if (log.fd < 0 || !WriteAll(log.fd, line)) return;
  }
  // Every line holds at least its 20-character stamp: a cheap size test first, the exact count
  // only once the file could hold too many lines.
  struct stat status {};
  const auto could_overflow = static_cast<off_t>(2 * LogKeptLines * 20);
  if (stat(path.c_str(), &status) == 0 && status.st_size >= could_overflow &&
      CountLines(path) >= 2 * LogKeptLines)
    TrimLog(path);
}

}  // namespace nf::platform
