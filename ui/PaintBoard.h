#pragma once

#include "PixelRect.h"
#include "ViewState.h"

class PictureCache;
class QPainter;

// Draws the board view on the main window: the picture fitted into its frame over black, the
// marker box, and the magnified square under the box in the magnifier pane. Records the
// picture's size and scale in view for the pointer's conversions.
void PaintBoard(QPainter& painter, kavelto::ViewState& view, const kavelto::PixelRect& frame,
                const kavelto::PixelRect& magnifier, PictureCache& pictures);
