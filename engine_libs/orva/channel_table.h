// channel_table.h — the output channels as the caller arranges them: which channel heads a
// group with its own callback, which channels are joined to it (they take interleaved frames
// with it), which groups are paused, and each channel's level. The output thread renders a
// period from it under the table's lock, so a caller's change is in force once its call
// returns: after a pause or a reset no callback runs any more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "engine/asio_output.h"
#include "engine/engine_codes.h"

namespace nf::orva {

// True on the output thread while it is inside a callback.
bool InOutputCallback();

class ChannelTable {
 public:
  // A fresh table of `count` channels, nothing enabled; room for periods of `period_frames`.
  void Reset(std::size_t count);
  void PrepareFor(std::size_t period_frames);
  std::size_t Count();

  engine::EngineCode Enable(std::int32_t channel, engine::OrvaAsioProc proc, void* user);
  engine::EngineCode Join(std::int32_t channel, std::int32_t head);
  engine::EngineCode Pause(std::int32_t channel);
  engine::EngineCode ResetFlags(std::int32_t channel, std::uint32_t flags);
  engine::EngineCode SetLevel(std::int32_t channel, float level);

  // Fills `frames` (period_frames x Count() floats, interleaved) from the callbacks of the
  // running groups, scaled by `master` and each channel's level; silence everywhere else.
  void Render(float* frames, std::size_t period_frames, float master);

 private:
  struct Channel {
    engine::OrvaAsioProc proc = nullptr;
    void* user = nullptr;
    bool enabled = false;  // heads a group with its own callback
    bool paused = false;
    std::int32_t joined_to = -1;  // the head whose frames it shares
    std::uint64_t joined_at = 0;  // the group's frame lists its channels in the order joined
    float level = 1.0f;
  };

  bool Valid(std::int32_t channel) const;
  std::int32_t HeadOf(std::int32_t channel) const;
  void RenderGroup(std::size_t head, float* frames, std::size_t period_frames, float master);

  std::mutex lock_;
  std::vector<Channel> channels_;
  std::uint64_t joins_ = 0;
  // The output thread's working space, sized before output starts.
  std::vector<std::size_t> members_;
  std::vector<float> scratch_;
};

}  // namespace nf::orva
