// The built-in background picture: whole, decodable, opaque, and the one its tool makes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "resources/resources.h"

namespace nf::resources {
namespace {

TEST(BackgroundPicture, IsEmbeddedWholeAsAnOpaque999By547Png) {
  const auto png = BackgroundPng();
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png[1], 'P');
  const auto committed = platform::ReadWholeFile(platform::FromUtf8(NF_BACKGROUND_PNG));
  ASSERT_TRUE(committed.has_value());
  EXPECT_TRUE(std::equal(png.begin(), png.end(), committed->begin(), committed->end()));
  ASSERT_TRUE(platform::DecodePngImage(1, png));
  EXPECT_EQ(platform::ImageSize(1), (platform::Size{999, 547}));
  EXPECT_TRUE(platform::ImageIsOpaque(1));
}

TEST(BackgroundPicture, ItsToolMakesItAgain) {
  const std::string made = ::testing::TempDir() + "/nf-background.png";
  ASSERT_EQ(std::system((std::string(NF_MAKE_BACKGROUND) + " " + made).c_str()), 0);
  const auto bytes = platform::ReadWholeFile(platform::FromUtf8(made));
  ASSERT_TRUE(bytes.has_value());
  const auto again = platform::DecodePng(*bytes);
  const auto built_in = platform::DecodePng(BackgroundPng());
  ASSERT_TRUE(again && built_in);
  ASSERT_EQ(again->width, built_in->width);
  ASSERT_EQ(again->height, built_in->height);
  // Another compiler may round a channel the other way now and then; nothing more.
  for (std::size_t i = 0; i < again->pixels.size(); ++i)
    for (const int shift : {0, 8, 16})
      ASSERT_LE(std::abs(int(again->pixels[i] >> shift & 0xFF) -
                         int(built_in->pixels[i] >> shift & 0xFF)),
                1)
          << "pixel " << i;
}

}  // namespace
}  // namespace nf::resources
