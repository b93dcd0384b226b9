// device_list.cpp — hardware playback devices from the card list, named devices from ALSA's hints.
#include "engine_libs/orva/device_list.h"

#include <alsa/asoundlib.h>

#include <cstdlib>
#include <memory>

#include "platform/text_codec.h"

namespace nf::orva {
namespace {

struct CtlCloser {
  void operator()(snd_ctl_t* ctl) const { snd_ctl_close(ctl); }
};
struct CardInfoFree {
  void operator()(snd_ctl_card_info_t* info) const { snd_ctl_card_info_free(info); }
};
struct PcmInfoFree {
  void operator()(snd_pcm_info_t* info) const { snd_pcm_info_free(info); }
};
struct HintsFree {
  void operator()(void** hints) const { snd_device_name_free_hint(hints); }
};
struct CharFree {
  void operator()(char* text) const { std::free(text); }
};
using HintText = std::unique_ptr<char, CharFree>;

void Add(std::vector<DeviceRecord>& devices, std::string name, std::string driver) {
  if (devices.size() >= kMostDevices) return;
  std::u16string name16 = platform::FromUtf8(name);
  devices.push_back({std::move(name), std::move(name16), std::move(driver)});
}

void AddHardwareDevices(std::vector<DeviceRecord>& devices) {
  snd_ctl_card_info_t* raw_card = nullptr;
  snd_pcm_info_t* raw_pcm = nullptr;
  if (snd_ctl_card_info_malloc(&raw_card) < 0) return;
  std::unique_ptr<snd_ctl_card_info_t, CardInfoFree> card_info(raw_card);
  if (snd_pcm_info_malloc(&raw_pcm) < 0) return;
  std::unique_ptr<snd_pcm_info_t, PcmInfoFree> pcm_info(raw_pcm);

  for (int card = -1; snd_card_next(&card) == 0 && card >= 0;) {
    snd_ctl_t* raw_ctl = nullptr;
    if (snd_ctl_open(&raw_ctl, ("hw:" + std::to_string(card)).c_str(), 0) < 0) continue;
    std::unique_ptr<snd_ctl_t, CtlCloser> ctl(raw_ctl);
    if (snd_ctl_card_info(ctl.get(), card_info.get()) < 0) continue;
    const std::string card_id = snd_ctl_card_info_get_id(card_info.get());
    const std::string card_name = snd_ctl_card_info_get_name(card_info.get());
    for (int device = -1; snd_ctl_pcm_next_device(ctl.get(), &device) == 0 && device >= 0;) {
      snd_pcm_info_set_device(pcm_info.get(), static_cast<unsigned>(device));
      snd_pcm_info_set_subdevice(pcm_info.get(), 0);
      snd_pcm_info_set_stream(pcm_info.get(), SND_PCM_STREAM_PLAYBACK);
      if (snd_ctl_pcm_info(ctl.get(), pcm_info.get()) < 0) continue;  // capture only
      Add(devices, card_name + ", " + snd_pcm_info_get_name(pcm_info.get()),
          "hw:CARD=" + card_id + ",DEV=" + std::to_string(device));
    }
  }
}

// A hint's description may run over two lines ("card, device" then what it is for).
std::string OneLine(std::string text) {
  for (std::size_t at; (at = text.find('\n')) != std::string::npos;) text.replace(at, 1, ", ");
  return text;
}

void AddNamedDevices(std::vector<DeviceRecord>& devices) {
  void** raw_hints = nullptr;
  if (snd_device_name_hint(-1, "pcm", &raw_hints) < 0) return;
  std::unique_ptr<void*, HintsFree> hints(raw_hints);
  for (void** hint = raw_hints; *hint; ++hint) {
    HintText name(snd_device_name_get_hint(*hint, "NAME"));
    HintText description(snd_device_name_get_hint(*hint, "DESC"));
    HintText direction(snd_device_name_get_hint(*hint, "IOID"));  // none: both directions
    // Names with arguments ("hw:CARD=..", "front:CARD=..") are the cards again, reached through
    // conversions; a device without a description was not declared for people to choose.
    if (!name || !description || std::string(name.get()).find(':') != std::string::npos) continue;
    if (direction && std::string(direction.get()) != "Output") continue;
    Add(devices, OneLine(description.get()), name.get());
  }
}

}  // namespace

std::vector<DeviceRecord> ListDevices() {
  std::vector<DeviceRecord> devices;
  AddHardwareDevices(devices);
  AddNamedDevices(devices);
  return devices;
}

}  // namespace nf::orva
