// The main window: its elements' places, the colours of its parts at rest, hovering and the
// lit words, the picture it lies on, the two small displays.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/log.h"
#include "tests/ui/main_window_fixture.h"

namespace nf::test {
namespace {

using platform::Color;
using platform::Rect;

constexpr int kButtons[] = {ui::StopButton, ui::PlayButton, ui::PauseButton,
                            ui::NextButton, ui::OpenButton, ui::ClearButton};

bool SameOutside(const platform::PixelGrid& a, const platform::PixelGrid& b, Rect inside) {
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      if (!inside.Contains({x, y}) && a.At(x, y) != b.At(x, y)) return false;
  return true;
}

using MainWindow = MainWindowTest;

TEST_F(MainWindow, ElementsLieWhereTheLayoutPutsThem) {
  struct Case {
    int element;
    Rect rect;
  };
  const Case cases[] = {
      {ui::BackgroundCanvas, {0, 26, 999, 544}}, {ui::CaptionStrip, {0, 0, 903, 26}},
      {ui::MinimizeButton, {903, 0, 46, 26}},    {ui::CloseButton, {949, 0, 50, 26}},
      {ui::RateIndicator, {24, 36, 88, 26}},     {ui::PageUpArrow, {124, 32, 32, 32}},
      {ui::LeftPanel, {20, 80, 310, 416}},       {ui::RightPanel, {669, 80, 310, 416}},
      {ui::PageDownArrow, {124, 508, 32, 32}},   {ui::TotalTimeDisplay, {16, 512, 70, 22}},
      {ui::StopButton, {20, 570, 64, 29}},       {ui::PlayButton, {84, 570, 64, 29}},
      {ui::PauseButton, {148, 570, 64, 29}},     {ui::NextButton, {212, 570, 64, 29}},
      {ui::OpenButton, {274, 570, 64, 29}},      {ui::ClearButton, {338, 570, 64, 29}},
  };
  for (const auto& [element, rect] : cases) EXPECT_EQ(RectOf(element), rect) << element;
  // The window is the list's painter once it is built: an appended entry shows at once.
  AddEntries(1);
  EXPECT_TRUE(HasInk(Screen(), LeftRow(0), Backdrop()));
}

TEST_F(MainWindow, OpensCentredAndInvisibleUntilFadedIn) {
  const platform::Size screen = platform::ScreenSize();
  EXPECT_EQ(platform::WindowScreenRect(ui::MainWindow),
            (Rect{(screen.width - 999) / 2, (screen.height - 599) / 2, 999, 599}));
  EXPECT_EQ(platform::WindowOpacity(ui::MainWindow), 0);
  for (int alpha = 5; alpha <= 255; alpha += 5) ui::SetWindowAlpha(ui::MainWindow, alpha);
  EXPECT_EQ(platform::WindowOpacity(ui::MainWindow), 255);
  ui::SetWindowAlpha(77, 100);  // no such window: nothing happens
  EXPECT_FALSE(platform::WindowExists(77));
}

TEST(Palette, IsTheDesignedOne) {
  ui::InitPalette();
  struct Case {
    const char* name;
    Color set, meant;
  };
  const Case cases[] = {
      {"window", ui::WindowColor, kWindowColor},
      {"button hover", ui::ButtonHoverColor, kButtonHoverColor},
      {"button text", ui::ButtonTextColor, kButtonTextColor},
      {"play lit", ui::PlayLitColor, kPlayLitColor},
      {"paused", ui::PausedColor, kPausedColor},
      {"caption back", ui::CaptionBackColor, kCaptionBackColor},
      {"caption text", ui::CaptionTextColor, kCaptionTextColor},
      {"close back", ui::CloseBackColor, kCloseBackColor},
      {"minimise back", ui::MinimizeBackColor, kMinimizeBackColor},
      {"minimise hover", ui::MinimizeHoverColor, kMinimizeHoverColor},
      {"row", ui::RowColor, kRowColor},
      {"current row", ui::CurrentRowColor, kCurrentRowColor},
      {"progress", ui::ProgressColor, kProgressColor},
      {"mirror row", ui::MirrorRowColor, kMirrorRowColor},
      {"mirror current row", ui::MirrorCurrentRowColor, kMirrorCurrentRowColor},
      {"dialog back", ui::DialogBackColor, kDialogBackColor},
      {"dialog text", ui::DialogTextColor, kDialogTextColor},
      {"dialog hover", ui::DialogHoverColor, kDialogHoverColor},
      {"dialog grey", ui::DialogGreyColor, kDialogGreyColor},
  };
  for (const auto& [name, set, meant] : cases) EXPECT_EQ(set, meant) << name;
  // Stored as 0xBBGGRR: the window's colour is red 4, green 2, blue 2.
  EXPECT_EQ(platform::RedOf(kWindowColor), 4);
  EXPECT_EQ(platform::BlueOf(kWindowColor), 2);
}

TEST_F(MainWindow, PartsShowTheirPaletteColoursAtRest) {
  struct Case {
    int x, y;
    Color color;
  };
  const Case cases[] = {
      {700, 13, kCaptionBackColor},  {902, 25, kCaptionBackColor},
      {951, 2, kCloseBackColor},     {968, 8, kButtonTextColor},  // the cross's ends
      {979, 19, kButtonTextColor},   {968, 19, kButtonTextColor},
      {979, 8, kButtonTextColor},    {973, 13, kButtonTextColor},
      {905, 2, kMinimizeBackColor},  {920, 17, kButtonTextColor},  // the bar: 920..931
      {931, 17, kButtonTextColor},   {932, 17, kMinimizeBackColor},
      {919, 17, kMinimizeBackColor}, {920, 18, kMinimizeBackColor},
      {100, 50, kWindowColor},       {80, 530, kWindowColor},  // rate, total time
  };
  const auto grid = Screen();
  for (const auto& [x, y, color] : cases) EXPECT_EQ(grid.At(x, y), color) << x << "," << y;
  for (const int arrow : {ui::PageUpArrow, ui::PageDownArrow})
    EXPECT_FALSE(HasInk(grid, RectOf(arrow), kWindowColor)) << arrow;  // hidden
  EXPECT_TRUE(TextIn(grid, {0, 0, 200, 26}, kCaptionBackColor, kCaptionTextColor));
  for (const int button : kButtons) {
    const Rect rect = RectOf(button);
    EXPECT_EQ(grid.At(rect.x + 1, rect.y + 1), kWindowColor) << button;
    EXPECT_TRUE(TextIn(grid, rect, kWindowColor, kButtonTextColor)) << button;
  }
}

TEST_F(MainWindow, LiesOnThePictureWhoseBottomRowsNeverShow) {
  const auto grid = Screen();
  const auto picture = *platform::ReadImagePixels(ui::BackgroundImage);
  ASSERT_EQ(picture.width, 999);
  ASSERT_EQ(picture.height, 547);
  EXPECT_TRUE(platform::ImageIsOpaque(ui::BackgroundImage));
  // The panels show their backdrops, the very part of the picture they cover.
  for (const int panel : {ui::LeftPanel, ui::RightPanel}) {
    const Rect rect = RectOf(panel);
    for (int y = rect.y; y < rect.y + rect.height; ++y)
      for (int x = rect.x; x < rect.x + rect.width; ++x)
        ASSERT_EQ(grid.At(x, y), picture.At(x, y - 26)) << x << "," << y;
  }
  EXPECT_EQ(grid.At(500, 200), picture.At(500, 174));
  for (int x = 0; x < 999; ++x) ASSERT_EQ(grid.At(x, 569), picture.At(x, 543)) << x;
  // Below the picture's last shown row lies the window's colour, and the buttons.
  for (int y = 570; y < 599; ++y)
    for (const int x : {0, 19, 402, 500, 998}) EXPECT_EQ(grid.At(x, y), kWindowColor);
}

TEST_F(MainWindow, PictureIsDarkAndFlatWhereThePanelsLie) {
  const auto picture = *platform::ReadImagePixels(ui::BackgroundImage);
  for (const int left : {20, 669})
    for (int y = 54; y < 470; ++y)
      for (int x = left; x < left + 310; ++x) {
        const Color c = picture.At(x, y);
        ASSERT_LE(std::max({platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c)}), 12)
            << x << "," << y;
      }
  // and something to look at in the middle
  int bright = 0;
  for (int y = 0; y < 547; ++y)
    for (int x = 333; x < 666; ++x) bright += platform::RedOf(picture.At(x, y)) > 100;
  EXPECT_GT(bright, 1000);
}

TEST_F(MainWindow, AHoverRepaintsOneButtonAndLeavingRestoresIt) {
  struct Case {
    int button;
    void (*paint)(std::uint8_t);
    Color hover;
  };
  const Case cases[] = {
      {ui::StopButton, ui::PaintStopButton, kButtonHoverColor},
      {ui::PlayButton, ui::PaintPlayButton, kButtonHoverColor},
      {ui::PauseButton, ui::PaintPauseButton, kButtonHoverColor},
      {ui::NextButton, ui::PaintNextButton, kButtonHoverColor},
      {ui::OpenButton, ui::PaintOpenButton, kButtonHoverColor},
      {ui::ClearButton, ui::PaintClearButton, kButtonHoverColor},
      {ui::CloseButton, ui::PaintCloseButton, kCaptionTextColor},
      {ui::MinimizeButton, ui::PaintMinimizeButton, kMinimizeHoverColor},
  };
  const auto rest = Screen();
  for (const auto& [button, paint, hover] : cases) {
    const Rect rect = RectOf(button);
    paint(1);
    const auto hovered = Screen();
    EXPECT_EQ(hovered.At(rect.x + 1, rect.y + 1), hover) << button;
    EXPECT_TRUE(SameOutside(rest, hovered, rect)) << button;
    paint(0);
    EXPECT_EQ(Screen().pixels, rest.pixels) << button;
  }
}

TEST_F(MainWindow, PlayAndPauseWordsKeepTheirLitColoursWhateverTheHover) {
  struct Case {
    int button;
    void (*paint)(std::uint8_t);
    std::atomic<std::uint8_t>* flag;  // the playback side's flag, stood in for
    Color lit;
  };
  const Case cases[] = {
      {ui::PlayButton, ui::PaintPlayButton, &playing::PlayLit, kPlayLitColor},
      {ui::PauseButton, ui::PaintPauseButton, &playing::Paused, kPausedColor},
  };
  for (const auto& [button, paint, flag, lit] : cases) {
    for (const std::uint8_t on : {1, 0}) {
      flag->store(on);
      for (const std::uint8_t hovered : {0, 1}) {
        paint(hovered);
        const Color back = hovered ? kButtonHoverColor : kWindowColor;
        const Color word = on ? lit : kButtonTextColor;
        const Color other = on ? kButtonTextColor : lit;
        const auto grid = Screen();
        EXPECT_EQ(grid.At(RectOf(button).x + 1, 571), back);
        EXPECT_TRUE(TextIn(grid, RectOf(button), back, word)) << button << " " << int(on);
        EXPECT_FALSE(TextIn(grid, RectOf(button), back, other)) << button << " " << int(on);
      }
    }
  }
}

TEST_F(MainWindow, TotalTimeIsCentredAndBlankForAnEmptyList) {
  const Rect display = RectOf(ui::TotalTimeDisplay);
  EXPECT_FALSE(HasInk(Screen(), display, kWindowColor));
  AddEntries(1, 187);
  const auto grid = Screen();
  ASSERT_TRUE(TextIn(grid, display, kWindowColor, kRowColor));
  int left = 999, right = -1;
  for (int y = display.y; y < display.y + display.height; ++y)
    for (int x = display.x; x < display.x + display.width; ++x)
      if (grid.At(x, y) != kWindowColor) left = std::min(left, x), right = std::max(right, x);
  // "  3:07": two leading blanks, so the digits sit right of the middle.
  const int blanks = platform::TextWidth(ui::RowFont, u"  ");
  const int text_left = display.x + (70 - platform::TextWidth(ui::RowFont, u"  3:07")) / 2;
  EXPECT_GE(left, text_left + blanks - 1);
  EXPECT_LE(right, text_left + platform::TextWidth(ui::RowFont, u"  3:07"));
  playlist::EmptyPlaylist();
  EXPECT_FALSE(HasInk(Screen(), display, kWindowColor));
}

TEST_F(MainWindow, RateIndicatorShowsARateOrNothing) {
  const Rect indicator = RectOf(ui::RateIndicator);
  struct Case {
    std::u16string text;
    bool shown;
  };
  for (const auto& [text, shown] :
       {Case{u"44.1", true}, {u"", false}, {u"48", false}, {u"352.8", true}}) {
    ui::PaintRateIndicator(text);
    const auto grid = Screen();
    EXPECT_EQ(HasInk(grid, indicator, kWindowColor), shown) << platform::ToUtf8(text);
    if (shown) {
      EXPECT_TRUE(TextIn(grid, indicator, kWindowColor, kRowColor));
    }
  }
}

TEST(Skin, WithoutAnyFontTheWindowStillOpensAndSaysWhyOnce) {
  // A font configuration that knows one empty folder.
  const std::filesystem::path folder = ::testing::TempDir() + "/nf-no-fonts";
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "fonts.conf")
      << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << folder.string() << "</dir><cachedir>"
      << folder.string() << "</cachedir></fontconfig>\n";
  setenv("FONTCONFIG_FILE", (folder / "fonts.conf").c_str(), 1);
  platform::RecordMessageBoxes(true);
  StartOffscreenToolkit();
  ui::InitPalette();
  ui::LoadFonts();
  EXPECT_EQ(platform::TakeMessageBoxes().size(), 1u);
  ui::BuildMainWindow();
  ASSERT_TRUE(platform::WindowExists(ui::MainWindow));
  EXPECT_FALSE(HasInk(Screen(), RectOf(ui::PlayButton), kWindowColor));  // no words, no harm
  platform::StopToolkit();
}

// Without a window system nothing can be made: the user's messages stay as they are, and the
// log names the part that failed.
TEST(MainWindowFailure, NamesThePartThatCouldNotBeMade) {
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  const std::string log = platform::LogFilePath();
  std::filesystem::remove(log);
  testing::internal::CaptureStderr();
  ui::BuildMainWindow();
  testing::internal::GetCapturedStderr();
  EXPECT_FALSE(platform::WindowExists(ui::MainWindow));
  std::ifstream file(log);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("ui: BuildMainWindow: main window (20) could not be made"), std::string::npos)
      << text;
}

}  // namespace
}  // namespace nf::test
