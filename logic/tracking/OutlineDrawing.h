#pragma once
// An outline being drawn with the mouse on a frame: a free line, a polygon or a circle. The
// tracking mode draws contours and ban zones with it, the studio its cut-outs. Points are frame
// fractions, so the outline keeps its place on the picture whatever the zoom.
#include <vector>

#include "core/Geometry.h"

namespace kinovia {

// The order of the menu items; the options file keeps the reverse order (0 circle, 1 polygon,
// 2 free line), see ShapeFromOption.
enum class OutlineShape { FreeLine = 0, Polygon = 1, Circle = 2 };

OutlineShape ShapeFromOption(int value);

class OutlineDrawing {
 public:
  explicit OutlineDrawing(OutlineShape shape = OutlineShape::Polygon) : shape_(shape) {}

  OutlineShape Shape() const { return shape_; }
  // Another shape abandons the outline being drawn.
  void SetShape(OutlineShape shape);
  bool Drawing() const { return drawing_; }

  // A left click (doubleClick: the second press of a double click, which comes after its own
  // press). True when it finished the outline: a free line and a circle end on their second
  // click, a polygon on a double click; they ignore the double click itself.
  bool Press(PointD at, bool doubleClick);
  // The pointer moved: a free line takes the point, a polygon moves its rubber band, a circle its
  // rim.
  void Move(PointD at);
  void Cancel();

  // The finished outline in frame fractions for a picture of that size, and the drawing emptied:
  // a circle becomes the pixels of its rim, in order around it.
  std::vector<PointD> Take(int pictureWidth, int pictureHeight);

  // For painting.
  const std::vector<PointD>& Points() const { return points_; }
  PointD RubberEnd() const { return rubber_; }
  PointD CircleCentre() const { return centre_; }

 private:
  void Add(PointD at);

  OutlineShape shape_;
  bool drawing_ = false;
  std::vector<PointD> points_;
  PointD rubber_;
  PointD centre_;
};

}  // namespace kinovia
