// The measures and the undo history of the construction elements, the vector scale and the model
// modifier.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "logic/graphs/Construction.h"
#include "logic/graphs/GraphScales.h"
#include "logic/graphs/ModelModifier.h"

using namespace kinovia;

namespace {

// 100 pixels a data unit on both axes, y upwards, the data origin at pixel (0, 400).
const PlotMapping kMapping{{0, 0, 400, 400}, {0, 4, 0, 4}};

Element Make(ElementKind kind, std::vector<DataPoint> points) { return {kind, std::move(points)}; }

}  // namespace

TEST(Construction, MeasuresWhatEachElementShows) {
  struct Case {
    const char* what;
    Element element;
    std::optional<double> expected;
  };
  const Case cases[] = {
      {"segment 3-4-5", Make(ElementKind::Segment, {{0, 0}, {3, 4}}), 5.0},
      {"vector", Make(ElementKind::Vector, {{1, 1}, {1, -1}}), 2.0},
      {"right angle", Make(ElementKind::Angle, {{1, 0}, {0, 0}, {0, 2}}), 90.0},
      {"obtuse angle, either side", Make(ElementKind::Angle, {{1, 0}, {0, 0}, {-1, -1}}), 135.0},
      {"flat angle", Make(ElementKind::Angle, {{1, 0}, {0, 0}, {-3, 0}}), 180.0},
      {"angle with an arm of no length", Make(ElementKind::Angle, {{0, 0}, {0, 0}, {1, 0}}), {}},
      {"circle through three points", Make(ElementKind::Circle, {{2, 0}, {0, 2}, {-2, 0}}), 2.0},
      {"circle far from the origin",
       Make(ElementKind::Circle, {{1e3 + 1, 5}, {1e3, 6}, {1e3 - 1, 5}}), 1.0},
      {"circle through aligned points", Make(ElementKind::Circle, {{0, 0}, {1, 1}, {2, 2}}), {}},
      {"circle through one point twice", Make(ElementKind::Circle, {{0, 0}, {0, 0}, {2, 2}}), {}},
      {"segment half drawn", Make(ElementKind::Segment, {{0, 0}}), {}},
      {"arc: its radius", Make(ElementKind::Arc, {{2, 0}, {0, 2}, {-2, 0}}), 2.0},
      {"arc through aligned points", Make(ElementKind::Arc, {{0, 0}, {1, 1}, {2, 2}}), {}},
  };
  for (const Case& c : cases) {
    const auto measure = ElementMeasure(c.element);
    ASSERT_EQ(measure.has_value(), c.expected.has_value()) << c.what;
    if (measure) {
      EXPECT_NEAR(*measure, *c.expected, 1e-9) << c.what;
    }
  }
}

TEST(Construction, ArcTurnsTheWayOfItsMiddlePoint) {
  struct Case {
    const char* what;
    DataPoint start, on, end;
    std::optional<double> start_degrees, sweep;
  };
  const Case cases[] = {
      {"upper half, counterclockwise", {2, 0}, {0, 2}, {-2, 0}, 0.0, 180.0},
      {"lower half, clockwise", {2, 0}, {0, -2}, {-2, 0}, 0.0, -180.0},
      {"three quarters", {1, 0}, {-1, 0}, {0, -1}, 0.0, 270.0},
      {"small arc, clockwise", {0, 1}, {std::sqrt(0.5), std::sqrt(0.5)}, {1, 0}, 90.0, -90.0},
      {"aligned points", {0, 0}, {1, 1}, {2, 2}, {}, {}},
      {"start and end one point", {1, 0}, {0, 1}, {1, 0}, {}, {}},
  };
  for (const Case& c : cases) {
    const auto arc = ArcThrough(c.start, c.on, c.end);
    ASSERT_EQ(arc.has_value(), c.sweep.has_value()) << c.what;
    if (!arc) continue;
    EXPECT_NEAR(arc->startDegrees, *c.start_degrees, 1e-9) << c.what;
    EXPECT_NEAR(arc->sweepDegrees, *c.sweep, 1e-9) << c.what;
  }
}

TEST(Construction, OutlinesOfTheCurvedKinds) {
  // An ellipse in the box (0,0)-(4,2): semi-axes 2 and 1, its outline on x²/4 + y² = 1 round (2,1).
  const auto [a, b] = EllipseSemiAxes({4, 2}, {0, 0});
  EXPECT_EQ(a, 2.0);
  EXPECT_EQ(b, 1.0);
  for (const DataPoint& p : ElementOutline(Make(ElementKind::Ellipse, {{4, 2}, {0, 0}})))
    EXPECT_NEAR((p.x - 2) * (p.x - 2) / 4 + (p.y - 1) * (p.y - 1), 1, 1e-9);
  // A zero-size ellipse is one point, found where it is and nowhere else.
  const Element dot = Make(ElementKind::Ellipse, {{1, 1}, {1, 1}});
  EXPECT_NEAR(PixelDistance(dot, kMapping, 100, 300), 0, 1e-9);
  EXPECT_NEAR(PixelDistance(dot, kMapping, 103, 304), 5, 1e-9);

  // A spline passes through its control points; with two it is their segment.
  const std::vector<DataPoint> controls{{0, 0}, {1, 2}, {3, 1}, {4, 3}};
  const auto curve = ElementOutline(Make(ElementKind::Spline, controls));
  for (const DataPoint& c : controls)
    EXPECT_TRUE(std::any_of(curve.begin(), curve.end(), [&](DataPoint p) {
      return std::hypot(p.x - c.x, p.y - c.y) < 1e-12;
    })) << c.x;
  for (const DataPoint& p : ElementOutline(Make(ElementKind::Spline, {{0, 0}, {2, 1}})))
    EXPECT_NEAR(p.y, p.x / 2, 1e-12);
  // A lower half-arc is hit at its bottom, not where the upper half would be.
  const Element arc = Make(ElementKind::Arc, {{3, 2}, {2, 1}, {1, 2}});
  EXPECT_LT(PixelDistance(arc, kMapping, 200, 300), 1);
  EXPECT_GT(PixelDistance(arc, kMapping, 200, 100), 90);
}

TEST(Construction, HitTestsTheDrawnShapeInPixels) {
  const std::vector<Element> elements = {
      Make(ElementKind::Segment, {{0, 0}, {2, 0}}),         // pixels (0,400)-(200,400)
      Make(ElementKind::Circle, {{3, 2}, {2, 3}, {1, 2}}),  // centre (2,2), radius 1: 100 pixels
  };
  EXPECT_EQ(HitElement(elements, kMapping, 100, 397, 4), 0);
  EXPECT_EQ(HitElement(elements, kMapping, 250, 400, 4), -1);  // beyond the segment's end
  EXPECT_EQ(HitElement(elements, kMapping, 200, 103, 4), 1);   // on the circle's top
  EXPECT_EQ(HitElement(elements, kMapping, 200, 200, 4), -1);  // its centre is not on it
}

TEST(Construction, UndoPutsBackEachChangeWithItsCaption) {
  Construction construction;
  EXPECT_EQ(ConstructionUndoCaption(construction), "Cancelar");
  construction.Add(Make(ElementKind::Segment, {{0, 0}, {1, 0}}));
  construction.Add(Make(ElementKind::Angle, {{1, 0}, {0, 0}, {0, 1}}));
  EXPECT_EQ(ConstructionUndoCaption(construction), "Cancelar Crear Ángulo");
  construction.BeginMove(0);
  construction.MoveBy(0, 1, 1);
  construction.MoveBy(0, 1, 1);
  EXPECT_EQ(ConstructionUndoCaption(construction), "Cancelar Desplazar Segmento");
  construction.Delete(1);
  EXPECT_EQ(ConstructionUndoCaption(construction), "Cancelar Suprimir Ángulo");
  ASSERT_EQ(construction.Elements().size(), 1u);

  ASSERT_TRUE(construction.Undo());  // the angle is back
  ASSERT_EQ(construction.Elements().size(), 2u);
  EXPECT_EQ(construction.Elements()[1].kind, ElementKind::Angle);
  ASSERT_TRUE(construction.Undo());  // the whole move goes back in one step
  EXPECT_EQ(construction.Elements()[0].points[1].x, 1.0);
  EXPECT_EQ(construction.Elements()[0].points[1].y, 0.0);
  ASSERT_TRUE(construction.Undo());
  ASSERT_TRUE(construction.Undo());
  EXPECT_TRUE(construction.Elements().empty());
  EXPECT_FALSE(construction.Undo());
  construction.Delete(3);  // no such element: nothing recorded
  EXPECT_FALSE(construction.CanUndo());
}

TEST(Construction, DuplicateCopiesShiftedAsOneChange) {
  Construction construction;
  construction.Add(Make(ElementKind::Segment, {{0, 0}, {1, 0}}));
  construction.Add(Make(ElementKind::Ellipse, {{0, 0}, {2, 1}}));
  construction.Duplicate({0, 1, 7}, 0.5, -0.5);
  ASSERT_EQ(construction.Elements().size(), 4u);
  EXPECT_EQ(construction.Elements()[3].kind, ElementKind::Ellipse);
  EXPECT_EQ(construction.Elements()[3].points[1].x, 2.5);
  EXPECT_EQ(construction.Elements()[2].points[0].y, -0.5);
  EXPECT_EQ(construction.Elements()[0].points[0].y, 0.0);  // the original stays
  EXPECT_EQ(ConstructionUndoCaption(construction), "Cancelar Duplicar Segmento");
  ASSERT_TRUE(construction.Undo());
  EXPECT_EQ(construction.Elements().size(), 2u);
  construction.Duplicate({}, 1, 1);  // nothing selected: nothing recorded
  EXPECT_EQ(ConstructionUndoCaption(construction), "Cancelar Crear Elipse");
}

TEST(VectorScale, StepsAndRoundValues) {
  VectorScale scale;
  for (int i = 0; i < 3; ++i) scale.Step(true);
  EXPECT_NEAR(scale.value, 1.331, 1e-12);
  scale.Step(false);
  EXPECT_NEAR(scale.value, 1.331 * 0.9, 1e-12);
  EXPECT_NEAR((VectorScale{2, 63}.PixelLength(4)), 126, 1e-12);
  EXPECT_EQ((VectorScale{2, 63}.PixelLength(std::nan(""))), 0);

  struct Case {
    double largest, expected;
  };
  for (const Case c : {Case{3.7, 5}, Case{0.011, 0.02}, Case{2, 2}, Case{7, 10}, Case{0, 1},
                       Case{std::nan(""), 1}})
    EXPECT_NEAR(RoundScaleValue(c.largest), c.expected, 1e-12) << c.largest;
}

TEST(ModelModifier, DragsTheCurveThroughTheMouse) {
  const PlotMapping mapping{{10, 10, 400, 300}, {0, 10, 0, 30}};
  struct Case {
    ModelKind kind;
    double (*law)(double);
    double grabX;
    int parameter;  // the pixel parameter a grab there changes
  };
  const Case cases[] = {
      {ModelKind::Affine, [](double x) { return 1 + 2 * x; }, 1, 0},
      {ModelKind::Affine, [](double x) { return 1 + 2 * x; }, 8, 1},
      {ModelKind::Parabola, [](double x) { return 5 + x + 0.2 * x * x; }, 9, 0},
      {ModelKind::Exponential, [](double x) { return 2 + 20 * std::exp(-0.3 * x); }, 5, 1},
      {ModelKind::Sinus, [](double x) { return 15 + 5 * std::sin(2 * x + 1); }, 4.5, -1},
  };
  for (const Case& c : cases) {
    std::vector<double> x, y;
    for (int i = 0; i <= 40; ++i) {
      x.push_back(i * 0.25);
      y.push_back(c.law(i * 0.25));
    }
    auto model = MakeModel(c.kind);
    model->SetActive(true);
    model->SetPlotArea(mapping.area);
    model->SetPlotWindow(mapping.window);
    model->Fit(x, y);
    const double before = model->Value(c.grabX);
    const int index =
        GrabbedParameter(*model, mapping, mapping.XToPixel(c.grabX), mapping.YToPixel(before));
    if (c.parameter >= 0) {
      EXPECT_EQ(index, c.parameter) << int(c.kind);
    }
    ASSERT_TRUE(DragModelThrough(*model, index, c.grabX, before + 2, mapping)) << int(c.kind);
    // Within a tenth of a pixel: 0.1 pixel is 0.01 data units here.
    EXPECT_NEAR(model->Value(c.grabX), before + 2, 0.01) << int(c.kind);
  }
}
