// main_window.cpp — the main window: a borderless surface over the background picture, its
// elements with their fixed numbers and places, the fade's opacity, and the button painters.
#include <algorithm>
#include <string>

#include "platform/log.h"
#include "platform/platform.h"
#include "playback/playback_state.h"
#include "playlist/playlist.h"
#include "resources/resources.h"
#include "ui/ui.h"

namespace nf::ui {
namespace {

using platform::Rect;

constexpr int CaptionHeight = 26;

// A part of the window that could not be made is named in the failure log (the toolkit's own
// line gives the reason); the window goes on without it.
bool Made(bool made, const char* part, int number) {
  if (!made)
    platform::LogFailure("ui", std::string("BuildMainWindow: ") + part + " (" +
                                   std::to_string(number) + ") could not be made");
  return made;
}
constexpr Rect ButtonRect(int x) {
  return {x, 570, 64, 29};
}

// Fills the button (one row more than it has; the canvas cuts it) and writes its word at a
// fixed offset: the words are not centred by measuring.
void PaintTextButton(int button, std::uint8_t hovered, const char16_t* word, int text_x,
                     std::uint32_t text_color) {
  if (!platform::StartDrawing(button)) return;
  platform::FillBox(0, 0, 64, 30, hovered == 1 ? ButtonHoverColor : WindowColor);
  platform::SetDrawingFont(ButtonFont);
  platform::DrawText(text_x, 0, word, text_color);
  platform::StopDrawing();
}

void CreatePanel(int panel, int backdrop, int x) {
  Made(platform::CreateCanvas(panel, MainWindow, {x, 80, PanelWidth, PanelHeight}), "panel", panel);
  // The panel's backdrop is the very part of the picture it covers (the picture starts at y 26).
  Made(platform::CopyImageRegion(backdrop, BackgroundImage,
                                 {x, 80 - CaptionHeight, PanelWidth, PanelHeight}),
       "panel backdrop", backdrop);
  if (!platform::StartDrawing(panel)) return;
  platform::DrawImage(backdrop, 0, 0);
  platform::StopDrawing();
}

void InstallListPainters() {
  playlist::InstallNotifications({DrawNewRow, RedrawPanels, ResetPanels, PaintTotalTime,
                                  PaintRateIndicator, FollowMovedEntry});
}

}  // namespace

void BuildMainWindow() {
  const platform::Size screen = platform::ScreenSize();
  const int x = (screen.width - std::min(screen.width, MainWindowWidth)) / 2;
  const int y = (screen.height - std::min(screen.height, MainWindowHeight)) / 2;
  if (!Made(platform::OpenWindow(MainWindow, {x, y, MainWindowWidth, MainWindowHeight},
                                 u"Nightfold", platform::WindowBorderless),
            "main window", MainWindow))
    return;
  platform::SetWindowColor(MainWindow, WindowColor);
  SetWindowAlpha(MainWindow, 0);
  Made(platform::DecodePngImage(BackgroundImage, resources::BackgroundPng()), "background picture",
       BackgroundImage);

  Made(platform::CreateCanvas(BackgroundCanvas, MainWindow, {0, CaptionHeight, 999, 544}),
       "background canvas", BackgroundCanvas);
  if (platform::StartDrawing(BackgroundCanvas)) {
    platform::DrawImage(BackgroundImage, 0, 0);
    platform::StopDrawing();
  }

  platform::SetDefaultElementFont(CaptionFont);
  Made(platform::CreateTextElement(CaptionStrip, MainWindow, {0, 0, 0, 0}, u"      Nightfold"),
       "caption strip", CaptionStrip);
  platform::SetTextElementColors(CaptionStrip, CaptionTextColor, CaptionBackColor);

  Made(platform::CreateCanvas(CloseButton, MainWindow, {949, 0, 50, 26}), "close button",
       CloseButton);
  PaintCloseButton(0);
  Made(platform::CreateCanvas(MinimizeButton, MainWindow, {903, 0, 46, 26}), "minimise button",
       MinimizeButton);
  PaintMinimizeButton(0);

  Made(platform::CreateCanvas(RateIndicator, MainWindow, {24, 36, 88, 26}), "rate indicator",
       RateIndicator);
  if (platform::StartDrawing(RateIndicator)) {
    platform::FillBox(0, 0, 88, 26, WindowColor);
    platform::StopDrawing();
  }

  CreatePanel(LeftPanel, LeftPanelImage, 20);
  CreatePanel(RightPanel, RightPanelImage, 669);

  Made(platform::CreateCanvas(TotalTimeDisplay, MainWindow, {16, 512, 70, 22}), "total time",
       TotalTimeDisplay);
  PaintTotalTime();

  Made(platform::CreateCanvas(PageUpArrow, MainWindow, {124, 32, 32, 32}), "page-up arrow",
       PageUpArrow);
  Made(platform::CreateCanvas(PageDownArrow, MainWindow, {124, 508, 32, 32}), "page-down arrow",
       PageDownArrow);
  PaintPageArrows(0);

  struct Button {
    int id;
    int x;
    void (*paint)(std::uint8_t);
  };
  // The open button starts two pixels inside the next button: that is its place.
  for (const auto& [id, button_x, paint] : {Button{StopButton, 20, PaintStopButton},
                                            {PlayButton, 84, PaintPlayButton},
                                            {PauseButton, 148, PaintPauseButton},
                                            {NextButton, 212, PaintNextButton},
                                            {OpenButton, 274, PaintOpenButton},
                                            {ClearButton, 338, PaintClearButton}}) {
    Made(platform::CreateCanvas(id, MainWindow, ButtonRect(button_x)), "button", id);
    paint(0);
  }

  // The strip ends where the minimise button begins.
  platform::ResizeElement(CaptionStrip, {0, 0, 903, CaptionHeight});
  InstallListPainters();
}

void SetWindowAlpha(int window, std::uint8_t alpha) {
  if (!platform::WindowExists(window)) return;
  platform::SetWindowOpacity(window, alpha);
}

void PaintStopButton(std::uint8_t hovered) {
  PaintTextButton(StopButton, hovered, u"stop", 14, ButtonTextColor);
}

void PaintPlayButton(std::uint8_t hovered) {
  const bool lit = playback::PlayLit.load(std::memory_order_acquire) == 1;
  PaintTextButton(PlayButton, hovered, u"play", 14, lit ? PlayLitColor : ButtonTextColor);
}

void PaintPauseButton(std::uint8_t hovered) {
  const bool paused = playback::Paused.load(std::memory_order_acquire) == 1;
  PaintTextButton(PauseButton, hovered, u"pause", 8, paused ? PausedColor : ButtonTextColor);
}

void PaintNextButton(std::uint8_t hovered) {
  PaintTextButton(NextButton, hovered, u"next", 14, ButtonTextColor);
}

void PaintOpenButton(std::uint8_t hovered) {
  PaintTextButton(OpenButton, hovered, u"open", 10, ButtonTextColor);
}

void PaintClearButton(std::uint8_t hovered) {
  PaintTextButton(ClearButton, hovered, u"clear", 14, ButtonTextColor);
}

void PaintCloseButton(std::uint8_t hovered) {
  if (!platform::StartDrawing(CloseButton)) return;
  platform::FillBox(0, 0, 50, 26, hovered == 1 ? CaptionTextColor : CloseBackColor);
  platform::DrawLine(19, 8, 12, 12, ButtonTextColor);    // (19, 8) to (30, 19)
  platform::DrawLine(19, 19, 12, -12, ButtonTextColor);  // (19, 19) to (30, 8)
  platform::StopDrawing();
}

void PaintMinimizeButton(std::uint8_t hovered) {
  if (!platform::StartDrawing(MinimizeButton)) return;
  platform::FillBox(0, 0, 46, 26, hovered == 1 ? MinimizeHoverColor : MinimizeBackColor);
  platform::DrawLine(17, 17, 12, 1, ButtonTextColor);  // (17, 17) to (28, 17)
  platform::StopDrawing();
}

}  // namespace nf::ui
