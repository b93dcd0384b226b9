// system_info.cpp — processor, memory and process queries over sched_getaffinity and /proc.
#include "platform/system_info.h"

#include <dirent.h>
#include <sched.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

namespace nf::platform {

std::optional<ProcessorCounts> QueryProcessorCounts() {
  cpu_set_t mask;
  CPU_ZERO(&mask);
  if (sched_getaffinity(0, sizeof mask, &mask) != 0) return std::nullopt;
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  if (online < 1) return std::nullopt;
  return ProcessorCounts{CPU_COUNT(&mask), static_cast<int>(online)};
}

std::optional<MemoryStatus> QueryMemoryStatus() {
  std::ifstream meminfo("/proc/meminfo");
  if (!meminfo) return std::nullopt;
  MemoryStatus status;
  bool have_total = false, have_available = false;
  std::string key;
  std::uint64_t kib = 0;
  std::string unit;
  while (meminfo >> key >> kib >> unit) {
    if (key == "MemTotal:") status.total_bytes = kib * 1024, have_total = true;
    if (key == "MemAvailable:") status.available_bytes = kib * 1024, have_available = true;
  }
  if (!have_total || !have_available) return std::nullopt;
  return status;
}

bool ForEachProcessName(const std::function<bool(std::string_view name)>& visit) {
  std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), closedir);
  if (!proc) return false;
  while (const dirent* entry = readdir(proc.get())) {
    if (!std::isdigit(static_cast<unsigned char>(entry->d_name[0]))) continue;
    const std::string link = std::string("/proc/") + entry->d_name + "/exe";
    char target[4096];
    const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
    if (length <= 0) continue;  // gone, or not ours to read
    std::string_view path(target, static_cast<std::size_t>(length));
    // A running program whose file was replaced shows " (deleted)" after its path.
    if (path.ends_with(" (deleted)")) path.remove_suffix(10);
    const auto slash = path.rfind('/');
    if (!visit(slash == std::string_view::npos ? path : path.substr(slash + 1))) break;
  }
  return true;
}

}  // namespace nf::platform
