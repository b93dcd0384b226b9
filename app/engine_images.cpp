// engine_images.cpp — the three engine libraries without their debug information, built into
// the program whole by the assembler file the build generates (engine_images.S), each with its
// exact length.
#include "app/app.h"

extern "C" {
extern const std::uint8_t nf_orva_image[], nf_orva_image_end[];
extern const std::uint8_t nf_orvo_image[], nf_orvo_image_end[];
extern const std::uint8_t nf_orvu_image[], nf_orvu_image_end[];
}

namespace nf::app {

std::span<const EngineImage> EmbeddedEngineImages() {
  static const EngineImage images[] = {
      {u"orva.dll", nf_orva_image, static_cast<std::size_t>(nf_orva_image_end - nf_orva_image)},
      {u"orvo.dll", nf_orvo_image, static_cast<std::size_t>(nf_orvo_image_end - nf_orvo_image)},
      {u"orvu.dll", nf_orvu_image, static_cast<std::size_t>(nf_orvu_image_end - nf_orvu_image)},
  };
  return images;
}

}  // namespace nf::app
