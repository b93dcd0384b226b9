// fake_output.cpp — the recording output library.
#include "tests/support/fake_output.h"

#include "engine/asio_output.h"
#include "platform/platform.h"

namespace nf::test {
namespace {

FakeOutput fake;

void Record(const char* name, std::int32_t input = 0, std::int32_t channel = 0,
            float level = 0.0f) {
  fake.calls.push_back({name, input, channel, level, platform::VirtualNowMs()});
}

}  // namespace

FakeOutput& BindFakeOutput() {
  fake = FakeOutput{};
  auto& table = engine::asio_output;
  table = engine::AsioOutput{};
  table.Orva_ASIO_ChannelSetVolume = [](std::int32_t input, std::int32_t channel,
                                        float level) -> std::int32_t {
    Record("Orva_ASIO_ChannelSetVolume", input, channel, level);
    return 1;
  };
  table.Orva_ASIO_IsStarted = []() -> std::int32_t {
    Record("Orva_ASIO_IsStarted");
    return fake.started ? 1 : 0;
  };
  table.Orva_ASIO_Stop = []() -> std::int32_t {
    Record("Orva_ASIO_Stop");
    if (--fake.stop_rounds_to_halt <= 0) fake.started = false;
    return 1;
  };
  table.Orva_ASIO_Free = []() -> std::int32_t {
    Record("Orva_ASIO_Free");
    return 1;
  };
  return fake;
}

std::vector<std::string> CallsBesideLevels(const FakeOutput& state) {
  std::vector<std::string> names;
  for (const auto& call : state.calls)
    if (call.name != "Orva_ASIO_ChannelSetVolume") names.push_back(call.name);
  return names;
}

std::vector<float> LevelsSet(const FakeOutput& state) {
  std::vector<float> levels;
  for (const auto& call : state.calls)
    if (call.name == "Orva_ASIO_ChannelSetVolume") levels.push_back(call.level);
  return levels;
}

}  // namespace nf::test
