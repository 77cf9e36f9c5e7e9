#pragma once
// The construction elements a teacher draws over a graph to measure on it: segments with their
// length, vectors, angles with their value, circles through three points with their radius. They
// live in data units, so zooming and panning carry them along, and every change can be undone.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "logic/graphs/GraphFraming.h"

namespace kinovia {

// The kinds of the graph's elements, by the codes the undo caption names them with.
enum class ElementKind : std::uint8_t {
  Angle = 1,
  Arc = 2,
  Circle = 3,
  Ellipse = 4,
  Model = 5,
  Point = 6,
  Segment = 7,
  Spline = 8,
  Vector = 9,
};

// What a change did to an element, by the codes of the undo caption.
enum class ElementAction : std::uint8_t {
  Colour = 1,
  Bend = 2,
  Create = 3,
  Deform = 4,
  Move = 5,
  Duplicate = 6,
  Reverse = 7,
  Modify = 8,
  Rotate = 9,
  Delete = 10,
};

struct DataPoint {
  double x = 0, y = 0;
};

// Segment and vector: from, to. Angle: the end of one arm, the vertex, the end of the other arm.
// Circle: three points it passes through. Ellipse: two opposite corners of its bounding box. Arc:
// its start, a point on it, its end. Spline: its control points, at least two, in order.
struct Element {
  ElementKind kind = ElementKind::Segment;
  std::vector<DataPoint> points;
};

// How many clicks make an element of this kind (0 for the kinds no tool draws); a spline takes
// as many as the user gives, ended by a double click, and needs at least kSplineMinPoints.
int PointsNeeded(ElementKind kind);
constexpr int kSplineMinPoints = 2;

double Distance(DataPoint a, DataPoint b);
// The angle at `vertex` between the arms towards a and b, in degrees from 0 to 180; undefined when
// an arm has no length.
double AngleDegrees(DataPoint a, DataPoint vertex, DataPoint b);

struct CircleShape {
  DataPoint centre;
  double radius = 0;
};
// The circle through three points; none when they are on one line (or two are one point).
std::optional<CircleShape> CircleThrough(DataPoint a, DataPoint b, DataPoint c);

// The arc from `start` through `on` to `end`: its circle, where it starts and how far it turns
// (degrees counterclockwise, negative clockwise, in data axes); none for aligned points.
struct ArcShape {
  CircleShape circle;
  double startDegrees = 0, sweepDegrees = 0;
};
std::optional<ArcShape> ArcThrough(DataPoint start, DataPoint on, DataPoint end);

// The half-widths of the ellipse inscribed in the box with these opposite corners (x, then y).
std::pair<double, double> EllipseSemiAxes(DataPoint corner, DataPoint opposite);

// The line drawn for an ellipse, an arc or a spline, as enough points to join with segments;
// an arc through aligned points is its polyline. Other kinds: their points.
std::vector<DataPoint> ElementOutline(const Element& element);

// What the element measures: the length of a segment or vector, the angle in degrees, the radius
// of a circle or an arc; none for an element not complete or a circle through aligned points.
std::optional<double> ElementMeasure(const Element& element);

// The distance in pixels from (px, py) to the element as drawn with this mapping.
double PixelDistance(const Element& element, const PlotMapping& mapping, double px, double py);
// The element nearest (px, py) within `tolerance` pixels, the latest drawn first on a tie; -1.
int HitElement(const std::vector<Element>& elements, const PlotMapping& mapping, double px,
               double py, double tolerance);

// The elements of one graph and the history of their changes.
class Construction {
 public:
  const std::vector<Element>& Elements() const { return elements_; }
  void Add(Element element);
  void Delete(int index);
  // A move is recorded once when it starts, then follows the mouse without recording.
  void BeginMove(int index);
  void MoveBy(int index, double dx, double dy);
  // Copies of these elements, shifted by (dx, dy), added after the others as one change.
  void Duplicate(const std::vector<int>& indices, double dx, double dy);
  // Puts back the elements as they were before the latest change; false when there is none.
  bool Undo();
  bool CanUndo() const { return !history_.empty(); }
  std::optional<std::pair<ElementAction, ElementKind>> LatestChange() const;
  // Empties the elements and the history: the data they were drawn on is gone.
  void Clear();

 private:
  struct Change {
    ElementAction action;
    ElementKind kind;
    std::vector<Element> before;
  };
  bool Valid(int index) const { return index >= 0 && index < int(elements_.size()); }
  void Record(ElementAction action, ElementKind kind);

  std::vector<Element> elements_;
  std::vector<Change> history_;
};

// The undo command's caption: "Cancelar", then the action and the element of the latest change.
std::string ConstructionUndoCaption(const Construction& construction);

}  // namespace kinovia
