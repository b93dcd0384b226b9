// app.h — the program's start and its single exit: the machine checks, the single-copy rule,
// the deployment and binding of the three engine libraries, and the procedures handed to the
// output library and the thread facility.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace nf::app {

// --- Start-up and shutdown ------------------------------------------------------------------

// A procedure of the program, looked up by name when playback hands it on. Procedures of other
// signatures are stored cast to this type and cast back by the one who calls them.
using Procedure = void (*)();
struct RegisteredProcedure {
  std::string_view name;
  Procedure procedure;
};
inline constexpr std::size_t RegisteredProcedureCount = 2;
inline RegisteredProcedure ProcedureRegistry[RegisteredProcedureCount]{};
// The procedure registered under the exact name, or nullptr.
Procedure FindProcedure(std::string_view name);
void RegisterProcedures();

inline constexpr int MinSystemProcessors = 2;
inline constexpr int MinProcessProcessors = 1;
inline constexpr std::uint64_t MinTotalMemory = 4'089'446'400;      // 3,900 MiB
inline constexpr std::uint64_t MinAvailableMemory = 2'726'297'600;  // 2,600 MiB

// What the machine reported; a query that failed is empty.
struct MachineFacts {
  std::optional<platform::ProcessorCounts> processors;
  std::optional<platform::MemoryStatus> memory;
};
MachineFacts QueryMachine();
// True when the machine is good enough; otherwise shows the one message that says why.
bool MachinePasses(const MachineFacts& facts);

// The executable name the single-copy rule looks for.
inline constexpr std::string_view ProgramFileName = "Nightfold";
// Returns when this is the only running copy under ProgramFileName; otherwise ends silently.
void CheckSingleInstance();

// The process entry and the common exit; neither returns, and the exit code is always 0.
[[noreturn]] void StartProgram();
[[noreturn]] void ExitProgram();

// --- Engine deployment and binding ---------------------------------------------------------

struct EngineImage {
  std::u16string_view file_name;
  const std::uint8_t* bytes;
  std::size_t size;
};
// The three libraries built into the program, in the order they are written: orva, orvo, orvu.
std::span<const EngineImage> EmbeddedEngineImages();

inline constexpr int LocalAppDataFolderId = 28;
// The user's data folder for LocalAppDataFolderId, with a trailing "/"; empty otherwise.
std::u16string GetSpecialFolder(int folder_id);

// The folder the libraries are deployed to and loaded from, with a trailing "/".
inline std::u16string EngineFolder;
// Writes each library that is missing or differs from the built-in image.
void DeployEngineLibraries();
// Loads the three libraries and binds every function; on failure shows which library failed
// and ends the program.
void BindEngineLibraries();

}  // namespace nf::app
