// start_up.cpp — the process entry, the machine checks, the single-copy rule and the one exit.
#include <cstdlib>

#include "app/app.h"
#include "engine/asio_output.h"
#include "playback/playback_state.h"
#include "playlist/playlist.h"

namespace nf::app {
namespace {

void RefuseMachine(std::u16string_view text) {
  platform::ShowMessageBox(u"System", text,
                           platform::MessageSystemModal | platform::MessageIconError);
}

}  // namespace

void RegisterProcedures() {
  ProcedureRegistry[0] = {"AsioProc()", reinterpret_cast<Procedure>(&playback::AsioProc)};
  ProcedureRegistry[1] = {"AudioThread()", &playback::AudioThread};
}

Procedure FindProcedure(std::string_view name) {
  for (const RegisteredProcedure& entry : ProcedureRegistry)
    if (entry.procedure && entry.name == name) return entry.procedure;
  return nullptr;
}

MachineFacts QueryMachine() {
  return {platform::QueryProcessorCounts(), platform::QueryMemoryStatus()};
}

bool MachinePasses(const MachineFacts& facts) {
  // A failed processor query counts one of each; a failed memory query counts nothing.
  const platform::ProcessorCounts processors =
      facts.processors.value_or(platform::ProcessorCounts{1, 1});
  if (processors.system < MinSystemProcessors || processors.process < MinProcessProcessors) {
    RefuseMachine(u"Slow system #B (CPU count)");
    return false;
  }
  const platform::MemoryStatus memory = facts.memory.value_or(platform::MemoryStatus{});
  if (memory.total_bytes < MinTotalMemory || memory.available_bytes < MinAvailableMemory) {
    RefuseMachine(u"Slow system #C (memory status)");
    return false;
  }
  return true;
}

void CheckSingleInstance() {
  int copies = 0;
  platform::ForEachProcessName([&](std::string_view name) {
    if (name == ProgramFileName) ++copies;
    return copies <= 1;
  });
  // Exactly one: this process. None means this file has another name, or /proc was unreadable.
  if (copies != 1) ExitProgram();
}

void StartProgram() {
  platform::StartPlatform();
  RegisterProcedures();
  if (!MachinePasses(QueryMachine())) ExitProgram();
  CheckSingleInstance();
  DeployEngineLibraries();
  BindEngineLibraries();
  playback::ResetPlayback();
  playlist::InstallQueries({&playback::PlayActive});
  playlist::EmptyPlaylist();
  // The launch sequence and the main loop take over from here once the window exists.
  ExitProgram();
}

void ExitProgram() {
  platform::EndPlatform();
  std::exit(0);
}

}  // namespace nf::app
