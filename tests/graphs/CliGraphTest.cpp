// kinovia-cli graph on the Parabole clip pointed at the truth: the picture carries the page's
// colours and the curve, and the printed lines give the framing, the titles and the model.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "tests/support/CliRun.h"
#include "tests/support/PointedSample.h"

namespace kinovia {
namespace {

class CliGraph : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string clip = KINOVIA_BINARY_DIR "/generated/samples/Parabole.avi";
    ASSERT_TRUE(std::filesystem::exists(clip));
    // One work file a test: ctest runs the tests of this file as processes side by side.
    work_ = ::testing::TempDir() + "graph_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".knv";
    std::filesystem::remove(work_);
    IniFile ini;
    WriteWorkFile(ini, PointedAtTheTruth(clip, SampleTruth(SampleClip::Parabole)));
    ASSERT_TRUE(ini.Save(work_));
  }

  test::CliResult Graph(const std::string& options, const std::string& picture) {
    return test::RunKinoviaCli("graph " + options + " " + work_ + " " + picture,
                               "LC_ALL=C TMP=" + ::testing::TempDir());
  }

  std::string work_;
};

// Pixels of the object's colour (pure red) inside the rectangle.
int RedPixels(const QImage& image, QRect rect) {
  int count = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() > 180 && c.green() < 120 && c.blue() < 120) ++count;
    }
  return count;
}

// Twice the quadratic coefficient of the parabola in the printed "params" line.
double ParabolaCurvature(const std::string& out) {
  const auto at = out.find("params\t");
  double r = 0, b = 0, c = 0;
  if (at == std::string::npos ||
      std::sscanf(out.c_str() + at, "params\t%lf\t%lf\t%lf", &r, &b, &c) != 3)
    return std::nan("");
  return 2 * c;
}

void ExpectColour(const QImage& image, QPoint at, QColor expected, int tolerance) {
  const QColor c = image.pixelColor(at);
  EXPECT_NEAR(c.red(), expected.red(), tolerance) << at.x() << "," << at.y();
  EXPECT_NEAR(c.green(), expected.green(), tolerance) << at.x() << "," << at.y();
  EXPECT_NEAR(c.blue(), expected.blue(), tolerance) << at.x() << "," << at.y();
}

TEST_F(CliGraph, TimePageWithAParabolaOnTheHeight) {
  const std::string picture = ::testing::TempDir() + "graph_time.png";
  const auto run = Graph("--quantity Y --model parabola --width 800 --height 500", picture);
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string window, xtitle, ytitle;
  std::getline(lines, window);
  std::getline(lines, xtitle);
  std::getline(lines, ytitle);
  EXPECT_EQ(window.rfind("window\t0\t", 0), 0u) << window;  // time starts at exactly zero
  EXPECT_EQ(xtitle, "xtitle\tt tiempo (s)");
  EXPECT_EQ(ytitle, "ytitle\tY Ordenada bola (m)");
  EXPECT_NE(run.out.find("Modelo: Y = r + b.t + c.t²"), std::string::npos) << run.out;
  EXPECT_NEAR(ParabolaCurvature(run.out), -9.81, 0.0981);

  const QImage image(QString::fromStdString(picture));
  ASSERT_EQ(image.size(), QSize(800, 500));
  // The plot lies right of a 140-pixel band and above a 100-pixel band: its gradient runs from
  // the time page's first colour at the top to its second at the bottom.
  const QRect plot(140, 15, 800 - 140 - 30, 500 - 15 - 100);
  ExpectColour(image, plot.topLeft() + QPoint(3, 3), QColor(228, 229, 214), 6);
  ExpectColour(image, plot.bottomLeft() + QPoint(3, -3), QColor(209, 255, 198), 6);
  EXPECT_NE(image.pixelColor(20, 480), image.pixelColor(plot.center()));
  EXPECT_GT(RedPixels(image, plot), 100);
  EXPECT_EQ(RedPixels(image, QRect(0, 0, 130, 500)), 0);
}

TEST_F(CliGraph, TrajectoryPageAndRefusals) {
  const std::string picture = ::testing::TempDir() + "graph_trajectory.png";
  const auto run = Graph("--page trajectory --width 600 --height 400", picture);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("xtitle\tX Abscisa (m)"), std::string::npos);
  const QImage image(QString::fromStdString(picture));
  ASSERT_EQ(image.size(), QSize(600, 400));
  ExpectColour(image, QPoint(143, 18), QColor(255, 243, 220), 6);
  EXPECT_GT(RedPixels(image, QRect(140, 15, 430, 285)), 100);

  EXPECT_EQ(Graph("--quantity nothing", picture).status, 2);
  EXPECT_EQ(Graph("--page elsewhere", picture).status, 2);
  EXPECT_EQ(Graph("--objects 0", picture).status, 2);
  EXPECT_EQ(Graph("", "/nonexistent/folder/out.png").status, 1);
}

// The vectors page gives the whole picture to the plot: no axis bands, its own gradient, the
// trajectory with the vectors, and the two scales near the top corners.
TEST_F(CliGraph, VectorsPageFillsThePictureWithTheScales) {
  const std::string speeds = ::testing::TempDir() + "graph_vectors.png";
  const auto run = Graph("--page vectors --width 600 --height 400", speeds);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("window\t", 0), 0u) << run.out;
  const QImage image(QString::fromStdString(speeds));
  ASSERT_EQ(image.size(), QSize(600, 400));
  ExpectColour(image, QPoint(300, 2), QColor(235, 241, 243), 6);
  ExpectColour(image, QPoint(300, 397), QColor(202, 229, 245), 6);
  const int speedPixels = RedPixels(image, image.rect());
  EXPECT_GT(speedPixels, 200);
  // The scale arrow and the distance bar are drawn in black at 20 pixels from the top.
  auto dark = [&](QRect rect) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      for (int x = rect.left(); x <= rect.right(); ++x)
        count += image.pixelColor(x, y).lightness() < 80;
    return count;
  };
  EXPECT_GT(dark(QRect(20, 18, 63, 5)), 40);
  EXPECT_GT(dark(QRect(600 - 20 - 63, 18, 63, 5)), 40);

  // The acceleration of a thrown ball points down, longer than the arrows along the path.
  const std::string accelerations = ::testing::TempDir() + "graph_accelerations.png";
  ASSERT_EQ(Graph("--page vectors --quantity a --width 600 --height 400", accelerations).status, 0);
  EXPECT_NE(QImage(QString::fromStdString(accelerations)), image);
}

// The formula page plots a user variable against a column of the table, with the page's own
// colours, and fits a model to it.
TEST_F(CliGraph, FormulaPagePlotsAUserVariable) {
  WorkFileContent work = PointedAtTheTruth(KINOVIA_BINARY_DIR "/generated/samples/Parabole.avi",
                                           SampleTruth(SampleClip::Parabole));
  work.formulas.formulas = {{"h", "y", "Altura", "m"}, {"dos", "2*x", "", ""}};
  IniFile ini;
  WriteWorkFile(ini, work);
  ASSERT_TRUE(ini.Save(work_));
  const std::string picture = ::testing::TempDir() + "graph_formula.png";
  const auto run =
      Graph("--page formula --quantity H --abscissa t --model parabola --width 600 --height 400",
            picture);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("window\t0\t", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("xtitle\tt tiempo (s)\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("ytitle\th Altura (m)\n"), std::string::npos) << run.out;
  EXPECT_NEAR(ParabolaCurvature(run.out), -9.81, 0.0981);
  const QImage image(QString::fromStdString(picture));
  // The model's block takes the plot's top left corner: the colours are read on the right.
  ExpectColour(image, QPoint(560, 18), QColor(255, 255, 225), 6);
  ExpectColour(image, QPoint(560, 282), QColor(245, 245, 198), 6);

  // Without --page a variable's name asks for the formula page; every variable by default.
  const auto both = Graph("--quantity dos --abscissa x", picture);
  ASSERT_EQ(both.status, 0) << both.err;
  EXPECT_NE(both.out.find("ytitle\tdos (ninguna unidad escrita)\n"), std::string::npos) << both.out;
  const auto all = Graph("--page formula", picture);
  ASSERT_EQ(all.status, 0) << all.err;
  EXPECT_NE(all.out.find("ytitle\tRepresentación de varias curvas (¡ Problema de unidad !)"),
            std::string::npos)
      << all.out;

  EXPECT_EQ(Graph("--page time --quantity h", picture).status, 2);
  EXPECT_EQ(Graph("--page formula --quantity nothing", picture).status, 2);
  EXPECT_EQ(Graph("--abscissa x", picture).status, 2);
}

}  // namespace
}  // namespace kinovia
