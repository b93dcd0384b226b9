// background_image.cpp — embeds background.png whole in the executable: the assembler copies
// the file's bytes into read-only data between two symbols, so its length is exact.
#include "resources/resources.h"

#ifndef NF_BACKGROUND_PNG
#error "NF_BACKGROUND_PNG must name the picture to embed"
#endif

asm(".section .rodata\n"
    ".balign 16\n"
    ".type nf_background_png_begin, @object\n"
    "nf_background_png_begin:\n"
    ".incbin \"" NF_BACKGROUND_PNG
    "\"\n"
    "nf_background_png_end:\n"
    ".previous\n");

extern "C" const std::uint8_t nf_background_png_begin[];
extern "C" const std::uint8_t nf_background_png_end[];

namespace nf::resources {

std::span<const std::uint8_t> BackgroundPng() {
  return {nf_background_png_begin, nf_background_png_end};
}

}  // namespace nf::resources
