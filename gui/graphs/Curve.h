#pragma once
// One data series of a graph with its layers: points, the polyline joining them, the point
// numbers, the vectors attached to the points, and the model laid over it.
#include <QColor>
#include <QString>
#include <memory>
#include <vector>

#include "logic/models/Models.h"

namespace kinovia {

struct Curve {
  std::vector<double> x, y;
  std::vector<int> numbers;  // the point numbers, as the table numbers rows
  QColor colour = Qt::blue;
  int symbol = 0;  // the object's index picks the drawing symbol
  bool showPoints = true;
  bool showPolyline = true;
  bool showNumbers = false;
  bool showSpline = false;  // a smooth curve through the points
  // One vector a point (empty: none), in units of the graph's vector scale.
  std::vector<double> vx, vy;
  // The model and the names its equation uses (already shortened).
  std::unique_ptr<Model> model;
  QString ordinateName, abscissaName;
};

}  // namespace kinovia
