// The machine checks at start, and the procedures registered for playback.
#include <gtest/gtest.h>

#include "app/app.h"
#include "engine/asio_output.h"
#include "playback/playback_state.h"

namespace nf::app {
namespace {

using platform::MemoryStatus;
using platform::ProcessorCounts;

TEST(MachineChecks, RefuseTooFewProcessorsOrTooLittleMemoryWithOneMessage) {
  const MemoryStatus enough{MinTotalMemory, MinAvailableMemory};
  const std::u16string cpu = u"Slow system #B (CPU count)";
  const std::u16string memory = u"Slow system #C (memory status)";
  struct Case {
    const char* what;
    MachineFacts facts;
    std::u16string message;  // empty: passes
  };
  const Case cases[] = {
      {"two processors, memory exactly at the limits", {ProcessorCounts{2, 2}, enough}, u""},
      {"one processor", {ProcessorCounts{1, 1}, enough}, cpu},
      {"no processor for this process", {ProcessorCounts{0, 2}, enough}, cpu},
      {"processor query failed", {std::nullopt, enough}, cpu},
      {"total one byte short",
       {ProcessorCounts{2, 2}, MemoryStatus{MinTotalMemory - 1, MinAvailableMemory}},
       memory},
      {"available one byte short",
       {ProcessorCounts{2, 2}, MemoryStatus{MinTotalMemory, MinAvailableMemory - 1}},
       memory},
      {"memory query failed", {ProcessorCounts{8, 4}, std::nullopt}, memory},
      {"short of both: only the processor message", {ProcessorCounts{1, 1}, MemoryStatus{}}, cpu},
  };
  platform::RecordMessageBoxes(true);
  for (const Case& c : cases) {
    EXPECT_EQ(MachinePasses(c.facts), c.message.empty()) << c.what;
    const auto boxes = platform::TakeMessageBoxes();
    if (c.message.empty()) {
      EXPECT_TRUE(boxes.empty()) << c.what;
    } else {
      EXPECT_EQ(boxes, (std::vector<platform::MessageBoxRecord>{{u"System", c.message, 0x1010}}))
          << c.what;
    }
  }
}

TEST(ProcedureRegistry, HoldsTheTwoProceduresByTheirExactNames) {
  RegisterProcedures();
  EXPECT_EQ(reinterpret_cast<engine::OrvaAsioProc>(FindProcedure("AsioProc()")),
            &playback::AsioProc);
  EXPECT_EQ(FindProcedure("AudioThread()"), &playback::AudioThread);
  for (const char* near_miss : {"AsioProc", "audiothread()", "AudioThread() ", ""})
    EXPECT_EQ(FindProcedure(near_miss), nullptr) << near_miss;
}

}  // namespace
}  // namespace nf::app
