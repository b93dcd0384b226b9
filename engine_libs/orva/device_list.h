// device_list.h — the playback devices the library offers, in the order it numbers them: every
// hardware playback device, opened directly (never through a sound server, a mixer or a rate
// converter), then the playback devices the ALSA configuration declares by name with a hint
// (such as "null", and any a user adds). At most 12.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace nf::orva {

inline constexpr std::size_t kMostDevices = 12;

struct DeviceRecord {
  std::string name;       // ALSA's description, UTF-8
  std::u16string name16;  // the same, UTF-16
  std::string driver;     // what snd_pcm_open takes: "hw:CARD=PCH,DEV=0", "null", ...
};

std::vector<DeviceRecord> ListDevices();

}  // namespace nf::orva
