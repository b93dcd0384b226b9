// drawing.h — drawing into a canvas. One canvas at a time is drawn into, between StartDrawing
// and StopDrawing; what was drawn reaches the screen at StopDrawing. Positions are the
// canvas's own pixels; whatever falls outside the canvas is cut at its edges. Text is always
// drawn with a transparent background, its position being the top-left corner of its line.
#pragma once

#include <string_view>

#include "platform/toolkit_types.h"

namespace nf::platform {

// False when the element is not a canvas; drawing calls then do nothing until the next start.
bool StartDrawing(int canvas);
void StopDrawing();

void SetDrawingFont(int font);
// Limits the drawing calls that follow to `area` of the canvas, until cleared or stopped.
void SetDrawingClip(Rect area);
void ClearDrawingClip();
void FillBox(int x, int y, int width, int height, Color color);
// A line from (x, y) given by its extent: it ends at x + width - 1 for a positive width and at
// x + width + 1 for a negative one (likewise for the height; an extent of 0 stays put), and both
// end points are drawn. So a width of 12 covers twelve pixels.
void DrawLine(int x, int y, int width, int height, Color color);
void DrawText(int x, int y, std::u16string_view text, Color color);
// Text turned about (x, y) by `degrees` counter-clockwise. Half a turn puts the text to the left
// of and above the point, upside down; 0 and 180 are the angles drawn (others draw nothing).
void DrawRotatedText(int x, int y, std::u16string_view text, float degrees, Color color);
// The image with its top-left corner at (x, y); transparent parts let the canvas show through.
void DrawImage(int image, int x, int y);

}  // namespace nf::platform
