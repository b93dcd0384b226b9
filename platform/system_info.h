// system_info.h — what the program asks of the machine at start: processors, memory, and which
// programs are running.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace nf::platform {

struct ProcessorCounts {
  int process = 1;  // processors this process may run on
  int system = 1;   // processors online
};
// Processors of this process's affinity mask and of the system; nullopt when the query fails.
std::optional<ProcessorCounts> QueryProcessorCounts();

struct MemoryStatus {
  std::uint64_t total_bytes = 0;
  std::uint64_t available_bytes = 0;
};
// Physical memory from /proc/meminfo; nullopt when it cannot be read.
std::optional<MemoryStatus> QueryMemoryStatus();

// Calls visit with the executable file name (no folder) of every process whose executable can be
// read, until visit returns false. Returns false when the process list cannot be read at all.
bool ForEachProcessName(const std::function<bool(std::string_view name)>& visit);

}  // namespace nf::platform
