// Windows, canvases, composition and drawing, read back from the composed window.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "platform/platform.h"
#include "tests/support/window_capture.h"

namespace nf::platform {
namespace {

constexpr int kWindow = 5;
constexpr int kCanvas = 60;
constexpr int kFont = 1;
constexpr Color kBack = 0x102030;
constexpr Color kInk = 0x40E0F0;

class Drawing : public ::testing::Test {
 protected:
  void SetUp() override {
    test::StartOffscreenToolkit();
    ASSERT_TRUE(OpenWindow(kWindow, {40, 30, 200, 120}, u"test", WindowBorderless));
    SetWindowColor(kWindow, kBack);
    ASSERT_TRUE(LoadFont(kFont, u"Segoe UI Light", 14));
  }
  void TearDown() override { StopToolkit(); }
};

std::set<std::pair<int, int>> PixelsOf(const PixelGrid& grid, Rect area, Color color) {
  std::set<std::pair<int, int>> found;
  for (int y = area.y; y < area.y + area.height; ++y)
    for (int x = area.x; x < area.x + area.width; ++x)
      if (grid.At(x, y) == color) found.insert({x - area.x, y - area.y});
  return found;
}

TEST_F(Drawing, LinesEndOneShortOfTheirExtentWithBothEndsDrawn) {
  struct Case {
    int x, y, width, height;
    std::set<std::pair<int, int>> pixels;
  };
  auto run = [](int x0, int y0, int dx, int dy, int n) {
    std::set<std::pair<int, int>> s;
    for (int i = 0; i < n; ++i) s.insert({x0 + i * dx, y0 + i * dy});
    return s;
  };
  const Case cases[] = {
      {19, 8, 12, 12, run(19, 8, 1, 1, 12)},      // the close cross: (19, 8) to (30, 19)
      {19, 19, 12, -12, run(19, 19, 1, -1, 12)},  // and (19, 19) to (30, 8)
      {17, 17, 12, 1, run(17, 17, 1, 0, 12)},     // the minimise bar: twelve pixels
      {17, 9, -7, 7, run(17, 9, -1, 1, 7)},       // a chevron arm: (17, 9) to (11, 15)
      {17, 24, 7, -7, run(17, 24, 1, -1, 7)},     // (17, 24) to (23, 18)
      {5, 5, 1, 1, {{5, 5}}},
      {3, 30, -10, 1, run(3, 30, -1, 0, 4)},  // cut at the canvas edge
  };
  ASSERT_TRUE(CreateCanvas(kCanvas, kWindow, {10, 10, 40, 40}));
  for (const auto& [x, y, width, height, pixels] : cases) {
    ASSERT_TRUE(StartDrawing(kCanvas));
    FillBox(0, 0, 40, 40, 0x000000);
    DrawLine(x, y, width, height, kInk);
    StopDrawing();
    EXPECT_EQ(PixelsOf(test::WindowPixels(kWindow), {10, 10, 40, 40}, kInk), pixels)
        << x << "," << y << " " << width << "x" << height;
  }
}

TEST_F(Drawing, ElementsStackInCreationOrderOverTheWindowColour) {
  ASSERT_TRUE(CreateCanvas(60, kWindow, {10, 10, 50, 30}));
  ASSERT_TRUE(CreateCanvas(61, kWindow, {40, 20, 50, 30}));
  for (const auto& [canvas, color] : {std::pair{60, Color{0x0000FF}}, {61, Color{0x00FF00}}}) {
    ASSERT_TRUE(StartDrawing(canvas));
    FillBox(0, 0, 100, 100, color);  // the canvas cuts the box at its edges
    StopDrawing();
  }
  PixelGrid grid = test::WindowPixels(kWindow);
  EXPECT_EQ(grid.At(5, 5), kBack);
  EXPECT_EQ(grid.At(15, 15), 0x0000FFu);
  EXPECT_EQ(grid.At(45, 25), 0x00FF00u);  // the later canvas lies over the earlier one
  EXPECT_EQ(grid.At(95, 25), kBack);

  FreeElement(61);
  grid = test::WindowPixels(kWindow);
  EXPECT_EQ(grid.At(45, 25), 0x0000FFu);
  EXPECT_EQ(grid.At(70, 45), kBack);
  ResizeElement(60, {10, 10, 20, 10});  // keeps what still fits
  grid = test::WindowPixels(kWindow);
  EXPECT_EQ(grid.At(25, 15), 0x0000FFu);
  EXPECT_EQ(grid.At(35, 15), kBack);
}

TEST_F(Drawing, ACanvasKeepsItsPictureUntilDrawnAgain) {
  ASSERT_TRUE(CreateCanvas(60, kWindow, {0, 0, 20, 20}));
  EXPECT_EQ(test::WindowPixels(kWindow).At(3, 3), kBack);  // a new canvas shows the window colour
  ASSERT_TRUE(StartDrawing(60));
  FillBox(0, 0, 20, 20, 0x112233);
  StopDrawing();
  SetWindowColor(kWindow, 0x445566);  // recomposes the window; the canvas stays as it was
  const PixelGrid grid = test::WindowPixels(kWindow);
  EXPECT_EQ(grid.At(3, 3), 0x112233u);
  EXPECT_EQ(grid.At(30, 30), 0x445566u);
  EXPECT_FALSE(StartDrawing(99));  // no such canvas: nothing to draw into
}

TEST_F(Drawing, TextLeavesItsBackgroundAndFitsItsMeasuredWidth) {
  ASSERT_TRUE(CreateCanvas(kCanvas, kWindow, {0, 0, 200, 60}));
  ASSERT_TRUE(StartDrawing(kCanvas));
  FillBox(0, 0, 200, 60, 0x000000);
  FillBox(0, 30, 200, 30, 0x202020);
  SetDrawingFont(kFont);
  DrawText(10, 20, u"stop pause", kInk);
  StopDrawing();
  const PixelGrid grid = test::WindowPixels(kWindow);
  const int width = TextWidth(kFont, u"stop pause");
  ASSERT_GT(width, 40);
  int first_ink = 1000, last_ink = -1;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x) {
      const Color back = y < 30 ? 0x000000 : 0x202020;
      if (grid.At(x, y) == back) continue;
      ASSERT_TRUE(test::IsInkToward(grid.At(x, y), back, kInk, 0.0)) << x << "," << y;
      first_ink = std::min(first_ink, x);
      last_ink = std::max(last_ink, x);
    }
  // Drawn with the very font that measured it: the ink lies inside the measured width.
  EXPECT_GE(first_ink, 10);
  EXPECT_LT(last_ink, 10 + width);
  EXPECT_GE(last_ink, 10 + width - 4);
  EXPECT_TRUE(test::IsInkToward(*test::StrongestInk(grid, {0, 0, 200, 30}, 0), 0, kInk, 0.4));
}

TEST_F(Drawing, HalfTurnedTextIsTheUprightLineTurnedAboutItsPoint) {
  // Two canvases of one size: upright text at (2, 2) in one, turned at (w - 2, h - 2) in the
  // other. Turning the first canvas by half a turn must give the second exactly.
  constexpr int kW = 150, kH = 40;
  ASSERT_TRUE(CreateCanvas(60, kWindow, {0, 0, kW, kH}));
  ASSERT_TRUE(CreateCanvas(61, kWindow, {0, 50, kW, kH}));
  for (const int canvas : {60, 61}) {
    ASSERT_TRUE(StartDrawing(canvas));
    FillBox(0, 0, kW, kH, 0x000000);
    SetDrawingFont(kFont);
    if (canvas == 60)
      DrawText(2, 2, u"Gloria — 1:02", kInk);
    else
      DrawRotatedText(kW - 2, kH - 2, u"Gloria — 1:02", 180.0f, kInk);
    StopDrawing();
  }
  const PixelGrid grid = test::WindowPixels(kWindow);
  int inked = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      ASSERT_EQ(grid.At(kW - 1 - x, 50 + kH - 1 - y), grid.At(x, y)) << x << "," << y;
      inked += grid.At(x, y) != 0;
    }
  EXPECT_GT(inked, 50);
}

TEST_F(Drawing, StaticTextShowsItsColoursOnceItHasASize) {
  SetDefaultElementFont(kFont);
  ASSERT_TRUE(CreateTextElement(70, kWindow, {0, 0, 0, 0}, u"      Nightfold"));
  SetTextElementColors(70, kInk, 0x000000);
  EXPECT_EQ(test::WindowPixels(kWindow).At(5, 5), kBack);  // no size yet: nothing shows
  ResizeElement(70, {0, 0, 150, 26});
  const PixelGrid grid = test::WindowPixels(kWindow);
  EXPECT_EQ(grid.At(2, 2), 0x000000u);
  EXPECT_EQ(grid.At(149, 25), 0x000000u);
  EXPECT_EQ(grid.At(150, 25), kBack);
  EXPECT_TRUE(test::IsInkToward(*test::StrongestInk(grid, {0, 0, 150, 26}, 0), 0, kInk, 0.4));
  EXPECT_FALSE(test::HasInk(grid, {0, 0, 20, 26}, 0));  // the six blanks before the name
}

TEST_F(Drawing, ImagesAreDrawnAndCopiedByRegion) {
  PixelGrid picture{30, 20, {}};
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) picture.pixels.push_back(RgbColor(x * 8, y * 12, 77));
  const std::string path = ::testing::TempDir() + "/nf-picture.png";
  ASSERT_TRUE(WritePngFile(FromUtf8(path), picture));
  const auto bytes = ReadWholeFile(FromUtf8(path));
  ASSERT_TRUE(bytes.has_value());
  ASSERT_TRUE(DecodePngImage(1, *bytes));
  EXPECT_EQ(ImageSize(1), (Size{30, 20}));
  EXPECT_TRUE(ImageIsOpaque(1));
  ASSERT_TRUE(CopyImageRegion(2, 1, {5, 4, 10, 6}));
  EXPECT_FALSE(CopyImageRegion(3, 1, {25, 4, 10, 6}));  // reaches past the picture
  EXPECT_FALSE(ImageExists(3));

  ASSERT_TRUE(CreateCanvas(kCanvas, kWindow, {0, 0, 100, 100}));
  ASSERT_TRUE(StartDrawing(kCanvas));
  DrawImage(1, 0, 0);
  DrawImage(2, 50, 50);
  DrawImage(1, -5, 80 - 4);  // the part left of the canvas is cut
  StopDrawing();
  const PixelGrid grid = test::WindowPixels(kWindow);
  EXPECT_EQ(grid.At(0, 80), picture.At(5, 4));
  EXPECT_EQ(grid.At(29, 19), picture.At(29, 19));
  EXPECT_EQ(grid.At(50, 50), picture.At(5, 4));
  EXPECT_EQ(grid.At(59, 55), picture.At(14, 9));
  EXPECT_EQ(grid.At(60, 50), kBack);
}

TEST_F(Drawing, BrokenPngDataMakesNoImage) {
  const std::uint8_t not_png[] = {0x89, 'P', 'N', 'G', 1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_FALSE(DecodePngImage(1, not_png));
  EXPECT_FALSE(DecodePngImage(1, {}));
  EXPECT_FALSE(ImageExists(1));
  EXPECT_FALSE(DecodePng(not_png).has_value());
}

TEST_F(Drawing, WindowsCarryTheirPlaceOpacityAndState) {
  EXPECT_EQ(WindowScreenRect(kWindow), (Rect{40, 30, 200, 120}));
  ASSERT_TRUE(CreateCanvas(kCanvas, kWindow, {10, 20, 30, 40}));
  EXPECT_EQ(ElementScreenRect(kCanvas), (Rect{50, 50, 30, 40}));
  EXPECT_EQ(WindowOpacity(kWindow), std::nullopt);
  SetWindowOpacity(kWindow, 0);
  EXPECT_EQ(WindowOpacity(kWindow), 0);
  SetWindowOpacity(kWindow, 255);
  EXPECT_EQ(WindowOpacity(kWindow), 255);
  SetWindowOpacity(77, 10);  // no such window: nothing happens
  EXPECT_FALSE(WindowExists(77));
  EXPECT_TRUE(WindowEnabled(kWindow));
  CloseWindow(kWindow);
  EXPECT_FALSE(ElementExists(kCanvas));
  EXPECT_FALSE(ReadWindowPixels(kWindow).has_value());
}

TEST(Fonts, FacesResolveToTheirOwnFileOrTheNearestSans) {
  struct Case {
    const char16_t* face;
    const char* file_part;
  };
  const Case cases[] = {
      {u"DejaVu Sans", "DejaVuSans.ttf"},     // installed: itself
      {u"Segoe UI Light", "OpenSans-Light"},  // the light sans bootstrap installs
      {u"Tahoma", "DejaVuSans.ttf"},          // a plain sans
  };
  for (const auto& [face, file_part] : cases)
    EXPECT_NE(FontFileForFace(face).find(file_part), std::string::npos)
        << platform::ToUtf8(face) << " -> " << FontFileForFace(face);
  EXPECT_FALSE(FontFileForFace(u"No Such Face Bold").empty());  // some sans is always found
}

TEST(Fonts, PointsBecomePixelsAtNinetySixDotsPerInch) {
  struct Case {
    int points, pixels;
  };
  for (const auto [points, pixels] : {Case{10, 13}, {11, 15}, {12, 16}, {14, 19}, {72, 96}})
    EXPECT_EQ(FontPixelSize(points), pixels) << points;
}

TEST(Fonts, MeasuringNeedsAFont) {
  EXPECT_EQ(TextWidth(9, u"text"), 0);
  ASSERT_TRUE(LoadFont(9, u"Segoe UI Light", 11));
  EXPECT_EQ(TextWidth(9, u""), 0);
  EXPECT_GT(TextWidth(9, u"text"), 0);
  EXPECT_LT(TextWidth(9, u"ii"), TextWidth(9, u"WW"));
  EXPECT_GT(TextHeight(9), FontPixelSize(11));  // a line is taller than the em square
  StopToolkit();
}

}  // namespace
}  // namespace nf::platform
