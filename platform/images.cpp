// images.cpp — numbered pictures over SDL surfaces; PNG through libpng's simplified interface,
// which reports a broken file as an error instead of jumping out of the caller.
#include "platform/images.h"

#include <png.h>

#include <map>
#include <vector>

#include "platform/text_codec.h"
#include "platform/toolkit_state.h"

namespace nf::platform {
namespace {

std::map<int, toolkit::SurfacePtr> images_by_number;

struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bytes;  // R, G, B, A per pixel
};

std::optional<RgbaPicture> DecodeRgba(std::span<const std::uint8_t> png) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png.empty() || !png_image_begin_read_from_memory(&image, png.data(), png.size()))
    return std::nullopt;
  image.format = PNG_FORMAT_RGBA;
  RgbaPicture picture{static_cast<int>(image.width), static_cast<int>(image.height), {}};
  picture.bytes.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, picture.bytes.data(), 0, nullptr)) {
    png_image_free(&image);
    return std::nullopt;
  }
  return picture;
}

}  // namespace

namespace toolkit {

SDL_Surface* FindImage(int image) {
  const auto found = images_by_number.find(image);
  return found == images_by_number.end() ? nullptr : found->second.get();
}

void FreeAllImages() {
  images_by_number.clear();
}

}  // namespace toolkit

bool DecodePngImage(int image, std::span<const std::uint8_t> png) {
  FreeImage(image);
  const auto picture = DecodeRgba(png);
  if (!picture || picture->width <= 0 || picture->height <= 0) return false;
  toolkit::SurfacePtr surface = toolkit::NewSurface(picture->width, picture->height);
  if (!surface) return false;
  bool opaque = true;
  const std::uint8_t* rgba = picture->bytes.data();
  for (int y = 0; y < picture->height; ++y) {
    auto* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) +
                                          static_cast<std::ptrdiff_t>(y) * surface->pitch);
    for (int x = 0; x < picture->width; ++x, rgba += 4) {
      row[x] = static_cast<Uint32>(rgba[3]) << 24 | static_cast<Uint32>(rgba[0]) << 16 |
               static_cast<Uint32>(rgba[1]) << 8 | rgba[2];
      opaque = opaque && rgba[3] == 255;
    }
  }
  // A picture with transparent parts is laid over what is below it; an opaque one is copied.
  if (!opaque) SDL_SetSurfaceBlendMode(surface.get(), SDL_BLENDMODE_BLEND);
  images_by_number[image] = std::move(surface);
  return true;
}

bool CopyImageRegion(int image, int source_number, Rect region) {
  SDL_Surface* source = toolkit::FindImage(source_number);
  if (!source || region.width <= 0 || region.height <= 0 || region.x < 0 || region.y < 0 ||
      region.x + region.width > source->w || region.y + region.height > source->h)
    return false;
  toolkit::SurfacePtr copy = toolkit::NewSurface(region.width, region.height);
  if (!copy) return false;
  SDL_BlendMode mode = SDL_BLENDMODE_NONE;
  SDL_GetSurfaceBlendMode(source, &mode);
  SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);  // copy alpha as it is
  SDL_Rect area{region.x, region.y, region.width, region.height};
  SDL_BlitSurface(source, &area, copy.get(), nullptr);
  SDL_SetSurfaceBlendMode(source, mode);
  SDL_SetSurfaceBlendMode(copy.get(), mode);
  images_by_number[image] = std::move(copy);  // frees the old picture, even the source itself
  return true;
}

void FreeImage(int image) {
  images_by_number.erase(image);
}

bool ImageExists(int image) {
  return toolkit::FindImage(image) != nullptr;
}

std::optional<Size> ImageSize(int image) {
  const SDL_Surface* surface = toolkit::FindImage(image);
  if (!surface) return std::nullopt;
  return Size{surface->w, surface->h};
}

std::optional<PixelGrid> ReadImagePixels(int image) {
  SDL_Surface* surface = toolkit::FindImage(image);
  if (!surface) return std::nullopt;
  return toolkit::GridOfSurface(surface);
}

bool ImageIsOpaque(int image) {
  SDL_Surface* surface = toolkit::FindImage(image);
  if (!surface) return false;
  for (int y = 0; y < surface->h; ++y) {
    const auto* row =
        reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(surface->pixels) +
                                        static_cast<std::ptrdiff_t>(y) * surface->pitch);
    for (int x = 0; x < surface->w; ++x)
      if ((row[x] >> 24) != 0xFF) return false;
  }
  return true;
}

std::optional<PixelGrid> DecodePng(std::span<const std::uint8_t> png) {
  const auto picture = DecodeRgba(png);
  if (!picture) return std::nullopt;
  PixelGrid grid{picture->width, picture->height, {}};
  grid.pixels.reserve(picture->bytes.size() / 4);
  for (std::size_t i = 0; i + 3 < picture->bytes.size(); i += 4)
    grid.pixels.push_back(
        RgbColor(picture->bytes[i], picture->bytes[i + 1], picture->bytes[i + 2]));
  return grid;
}

bool WritePngFile(std::u16string_view path, const PixelGrid& grid) {
  if (grid.width <= 0 || grid.height <= 0 ||
      grid.pixels.size() != static_cast<std::size_t>(grid.width) * grid.height)
    return false;
  std::vector<std::uint8_t> rgba;
  rgba.reserve(grid.pixels.size() * 4);
  for (const Color color : grid.pixels)
    rgba.insert(rgba.end(), {RedOf(color), GreenOf(color), BlueOf(color), 255});
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(grid.width);
  image.height = static_cast<png_uint_32>(grid.height);
  image.format = PNG_FORMAT_RGBA;
  const bool written =
      png_image_write_to_file(&image, ToUtf8(path).c_str(), 0, rgba.data(), 0, nullptr) != 0;
  png_image_free(&image);
  return written;
}

}  // namespace nf::platform
