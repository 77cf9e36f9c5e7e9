#pragma once
// The model modifier: the user grabs the drawn model curve and drags it; the pixel parameter under
// the mouse changes so that the curve follows the mouse.
#include "logic/graphs/GraphFraming.h"
#include "logic/models/Models.h"

namespace kinovia {

// The pixel parameter a grab changes, by where on the plot the curve was grabbed: the left part
// moves the curve as a whole, the right part changes its shape (slope, curvature, rate, damping);
// on a sinusoid, near its middle line the phase, near a crest the amplitude.
int GrabbedParameter(Model& model, const PlotMapping& mapping, double px, double py);

// Changes pixel parameter `index` so that the curve passes through the data point (x, y) as nearly
// as the parameter allows. False when the model does not respond to it (a degenerate plot).
bool DragModelThrough(Model& model, int index, double x, double y, const PlotMapping& mapping);

// The data ordinate the curve is dragged to: the mouse's, or with `slow` (Ctrl or Alt) a tenth of
// the way from where it was grabbed.
double DragTarget(double grabbed, double mouse, bool slow);

}  // namespace kinovia
