#pragma once
// Drags a mark on the main window's picture with the move tool, as the user does. Kept apart from
// the sample clips' headers: the picture's and the recorder's headers do not go together.
#include "core/Geometry.h"

namespace kinovia {

class MainWindow;

// Shows `frame`, then drags the mark at `fraction` by `dy` view pixels (negative: up).
void DragMarkOnPicture(MainWindow& window, int frame, PointD fraction, int dy);

}  // namespace kinovia
