// resources.h — what the program carries inside itself: the background picture's PNG data.
#pragma once

#include <cstdint>
#include <span>

namespace nf::resources {

// The background picture: a 999 x 547 opaque RGBA PNG, whole, with its exact length.
std::span<const std::uint8_t> BackgroundPng();

}  // namespace nf::resources
