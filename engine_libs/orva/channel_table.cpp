// channel_table.cpp — channel groups, and rendering one period from their callbacks.
#include "engine_libs/orva/channel_table.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace nf::orva {
namespace {

thread_local bool in_output_callback = false;

}  // namespace

using engine::EngineCode;

bool InOutputCallback() {
  return in_output_callback;
}

void ChannelTable::Reset(std::size_t count) {
  std::lock_guard hold(lock_);
  channels_.assign(count, Channel{});
  joins_ = 0;
  members_.reserve(count);
}

void ChannelTable::PrepareFor(std::size_t period_frames) {
  std::lock_guard hold(lock_);
  scratch_.resize(period_frames * channels_.size());
}

std::size_t ChannelTable::Count() {
  std::lock_guard hold(lock_);
  return channels_.size();
}

bool ChannelTable::Valid(std::int32_t channel) const {
  return channel >= 0 && static_cast<std::size_t>(channel) < channels_.size();
}

std::int32_t ChannelTable::HeadOf(std::int32_t channel) const {
  const std::int32_t head = channels_[channel].joined_to;
  return head >= 0 ? head : channel;
}

EngineCode ChannelTable::Enable(std::int32_t channel, engine::OrvaAsioProc proc, void* user) {
  std::lock_guard hold(lock_);
  if (!Valid(channel)) return engine::EngineErrorIllegalParameter;
  Channel& entry = channels_[channel];
  entry.joined_to = -1;  // a channel with its own callback leads its own group
  entry.proc = proc;
  entry.user = user;
  entry.enabled = proc != nullptr;
  entry.paused = false;
  return engine::EngineOk;
}

EngineCode ChannelTable::Join(std::int32_t channel, std::int32_t head) {
  std::lock_guard hold(lock_);
  if (!Valid(channel)) return engine::EngineErrorIllegalParameter;
  if (head == -1) {
    channels_[channel].joined_to = -1;
    return engine::EngineOk;
  }
  if (!Valid(head)) return engine::EngineErrorIllegalParameter;
  const std::int32_t target = HeadOf(head);
  if (target == channel) return engine::EngineErrorIllegalParameter;
  Channel& entry = channels_[channel];
  entry.enabled = false;
  entry.proc = nullptr;
  entry.joined_to = target;
  entry.joined_at = ++joins_;
  // Channels that followed this one now follow the group it joined.
  for (Channel& other : channels_)
    if (other.joined_to == channel) other.joined_to = target;
  return engine::EngineOk;
}

EngineCode ChannelTable::Pause(std::int32_t channel) {
  std::lock_guard hold(lock_);
  if (channel == engine::OrvaAllChannels) {
    for (Channel& entry : channels_) entry.paused = true;
    return engine::EngineOk;
  }
  if (!Valid(channel)) return engine::EngineErrorIllegalParameter;
  channels_[HeadOf(channel)].paused = true;
  return engine::EngineOk;
}

EngineCode ChannelTable::ResetFlags(std::int32_t channel, std::uint32_t flags) {
  std::lock_guard hold(lock_);
  if (channel != engine::OrvaAllChannels && !Valid(channel))
    return engine::EngineErrorIllegalParameter;
  auto reset = [&](std::size_t index) {
    Channel& entry = channels_[index];
    if (flags & engine::OrvaResetEnable) {
      entry.enabled = false;
      entry.proc = nullptr;
      entry.user = nullptr;
    }
    if (flags & engine::OrvaResetJoin) entry.joined_to = -1;
    if (flags & engine::OrvaResetPause) entry.paused = false;
  };
  if (channel == engine::OrvaAllChannels) {
    for (std::size_t index = 0; index < channels_.size(); ++index) reset(index);
  } else {
    // Resuming a member of a group resumes the group.
    if (flags & engine::OrvaResetPause) channels_[HeadOf(channel)].paused = false;
    reset(static_cast<std::size_t>(channel));
  }
  return engine::EngineOk;
}

EngineCode ChannelTable::SetLevel(std::int32_t channel, float level) {
  std::lock_guard hold(lock_);
  if (!Valid(channel)) return engine::EngineErrorIllegalParameter;
  channels_[channel].level = level;
  return engine::EngineOk;
}

void ChannelTable::Render(float* frames, std::size_t period_frames, float master) {
  std::lock_guard hold(lock_);
  std::fill(frames, frames + period_frames * channels_.size(), 0.0f);
  for (std::size_t head = 0; head < channels_.size(); ++head) {
    const Channel& entry = channels_[head];
    if (entry.enabled && entry.proc && !entry.paused)
      RenderGroup(head, frames, period_frames, master);
  }
}

void ChannelTable::RenderGroup(std::size_t head, float* frames, std::size_t period_frames,
                               float master) {
  members_.clear();
  members_.push_back(head);
  for (std::size_t c = 0; c < channels_.size(); ++c)
    if (channels_[c].joined_to == static_cast<std::int32_t>(head)) members_.push_back(c);
  std::sort(members_.begin() + 1, members_.end(), [&](std::size_t a, std::size_t b) {
    return channels_[a].joined_at < channels_[b].joined_at;
  });

  const std::size_t width = members_.size();
  const std::size_t samples = period_frames * width;
  float* group = scratch_.data();
  std::fill(group, group + samples, 0.0f);
  const Channel& entry = channels_[head];
  in_output_callback = true;
  const std::int32_t returned =
      entry.proc(0, static_cast<std::int32_t>(head), group,
                 static_cast<std::int32_t>(samples * sizeof(float)), entry.user);
  in_output_callback = false;
  // What the callback did not fill (whole samples from where it stopped) plays as silence.
  const std::size_t filled =
      std::clamp<std::int64_t>(returned, 0, static_cast<std::int64_t>(samples * sizeof(float))) /
      sizeof(float);
  std::fill(group + filled, group + samples, 0.0f);

  const std::size_t stride = channels_.size();
  for (std::size_t k = 0; k < width; ++k) {
    const std::size_t channel = members_[k];
    const float level = master * channels_[channel].level;
    for (std::size_t f = 0; f < period_frames; ++f) {
      const float sample = group[f * width + k];
      // At level 1.0 the sample is copied, not multiplied, so that no bit can change.
      frames[f * stride + channel] = level == 1.0f ? sample : sample * level;
    }
  }
}

}  // namespace nf::orva
