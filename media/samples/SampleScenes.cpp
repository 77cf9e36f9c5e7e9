#include "media/samples/SampleScenes.h"

#include <array>
#include <cmath>
#include <numbers>

namespace kinovia {
namespace {

// A gentle slope keeps the roll on the picture for the whole clip at a readable scale.
const double kSlope = 5.0 * std::numbers::pi / 180.0;
// A solid cylinder rolling without slipping: a = g sin(slope) / (1 + I / (m r^2)), I = m r^2 / 2.
const double kRollingAcceleration = kSampleGravity * std::sin(kSlope) / 1.5;
constexpr PointD kCylindreStart{60, 170};
constexpr double kPlankThickness = 14;  // pixels
constexpr double kTableTop = 400;

constexpr PointD kParaboleStart{50, 430};
constexpr double kThrowSpeedX = 3.4;   // m/s
constexpr double kThrowSpeedY = 9.81;  // m/s: lands after about two seconds
constexpr double kGroundTop = 445;

constexpr SampleRgb kCylinderRed{205, 40, 32};
constexpr SampleRgb kSpokeWhite{242, 240, 232};
constexpr SampleRgb kHubDark{40, 38, 36};
constexpr SampleRgb kBallBlue{36, 70, 200};
constexpr SampleRgb kBallLight{70, 110, 225};
constexpr SampleRgb kRulerYellow{228, 204, 92};
constexpr SampleRgb kInk{25, 25, 25};

const SampleGeometry kCylindre{60, 320, 0.07, {100, 330}, 1.0};
const SampleGeometry kParabole{50, 80, 0.1, {220, 455}, 2.0};

PointD Along(PointD p, double along, double across) {
  return {p.x + along * std::cos(kSlope) - across * std::sin(kSlope),
          p.y + along * std::sin(kSlope) + across * std::cos(kSlope)};
}

// A textured band: plaster, wood or soil by its colours and the stretch of its grain.
void FillTexture(SampleRaster& raster, double top, double bottom, SampleRgb base, double contrast,
                 double stretch, std::uint32_t seed) {
  for (int y = static_cast<int>(top); y < static_cast<int>(bottom) && y < raster.Height(); ++y) {
    for (int x = 0; x < raster.Width(); ++x) {
      const double n = FractalNoise(x / stretch, y, 48, 5, seed) - 0.5;
      const double fine =
          HashUnit(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), seed + 1) - 0.5;
      const auto shade = static_cast<float>(contrast * n + 6 * fine);
      raster.Set(x, y, {base.r + shade, base.g + shade, base.b + shade});
    }
  }
}

// Graduations every centimetre when they stay apart, every 5 cm otherwise; longer at 5 and 10.
void DrawRuler(SampleRaster& raster, const SampleGeometry& g) {
  const double ppm = g.pixelsPerMetre;
  const PointD s = g.rulerStart;
  const double end = s.x + g.rulerLength * ppm;
  raster.FillRectangle(s.x - 8, s.y, end + 8, s.y + 16, kRulerYellow);
  const int stepCm = ppm / 100 >= 3 ? 1 : 5;
  const int lastCm = static_cast<int>(std::lround(g.rulerLength * 100));
  for (int cm = 0; cm <= lastCm; cm += stepCm) {
    const double x = s.x + cm / 100.0 * ppm;
    const double length = cm % 10 == 0 ? 11 : cm % 5 == 0 ? 7 : 4;
    const double width = cm % 10 == 0 ? 1.2 : 0.8;
    raster.FillRectangle(x - width / 2, s.y, x + width / 2, s.y + length, kInk);
  }
}

void DrawCylindreBackground(SampleRaster& raster) {
  FillTexture(raster, 0, kTableTop, {196, 188, 170}, 34, 1, 11);
  FillTexture(raster, kTableTop, raster.Height(), {122, 104, 88}, 40, 6, 23);
  const double r = kCylindre.objectRadius * kCylindre.pixelsPerMetre;
  const PointD surface = Along(kCylindreStart, 0, r);
  const auto bottomAt = [&](double x) {
    return surface.y + (x - surface.x) * std::tan(kSlope) + kPlankThickness / std::cos(kSlope);
  };
  constexpr SampleRgb kBlock{112, 104, 96};
  raster.FillRectangle(20, bottomAt(20) - 2, 110, kTableTop, kBlock);
  raster.FillRectangle(530, bottomAt(530) - 2, 600, kTableTop, kBlock);
  const std::array<PointD, 4> plank = {Along(surface, -55, 0), Along(surface, 575, 0),
                                       Along(surface, 575, kPlankThickness),
                                       Along(surface, -55, kPlankThickness)};
  raster.FillConvex(plank, {150, 132, 108});
  DrawRuler(raster, kCylindre);
}

void DrawParaboleBackground(SampleRaster& raster) {
  FillTexture(raster, 0, kGroundTop, {178, 186, 190}, 30, 1, 37);
  FillTexture(raster, kGroundTop, raster.Height(), {118, 124, 100}, 44, 3, 41);
  DrawRuler(raster, kParabole);
}

void DrawCylinder(SampleRaster& raster, PointD c, double radius, double turn) {
  raster.FillDisc(c, radius, kCylinderRed);
  const PointD spoke{0.85 * radius * std::cos(turn), 0.85 * radius * std::sin(turn)};
  raster.FillBar({c.x - spoke.x, c.y - spoke.y}, {c.x + spoke.x, c.y + spoke.y}, 0.18 * radius,
                 kSpokeWhite);
  raster.FillDisc(c, 0.15 * radius, kHubDark);
}

void DrawBall(SampleRaster& raster, PointD c, double radius) {
  raster.FillDisc(c, radius, kBallBlue);
  raster.FillDisc(c, 0.5 * radius, kBallLight);
}

}  // namespace

const SampleGeometry& GeometryOf(SampleClip clip) {
  return clip == SampleClip::Cylindre ? kCylindre : kParabole;
}

PointD SampleCentre(SampleClip clip, double t) {
  const double ppm = GeometryOf(clip).pixelsPerMetre;
  if (clip == SampleClip::Cylindre)
    return Along(kCylindreStart, ppm * kRollingAcceleration * t * t / 2, 0);
  const double rise = kThrowSpeedY * t - kSampleGravity * t * t / 2;
  return {kParaboleStart.x + ppm * kThrowSpeedX * t, kParaboleStart.y - ppm * rise};
}

double SampleTurn(SampleClip clip, double t) {
  if (clip != SampleClip::Cylindre) return 0;
  // Rolling without slipping: the turn is the distance rolled over the radius.
  return kRollingAcceleration * t * t / 2 / kCylindre.objectRadius;
}

SampleRaster SampleBackground(SampleClip clip) {
  SampleRaster raster(kSampleWidth, kSampleHeight);
  if (clip == SampleClip::Cylindre)
    DrawCylindreBackground(raster);
  else
    DrawParaboleBackground(raster);
  return raster;
}

SampleRaster SampleFrame(SampleClip clip, const SampleRaster& background, int frame) {
  SampleRaster raster = background;
  const double t = static_cast<double>(frame) / kSampleFramesPerSecond;
  const SampleGeometry& g = GeometryOf(clip);
  const PointD centre = SampleCentre(clip, t);
  const double radius = g.objectRadius * g.pixelsPerMetre;
  if (clip == SampleClip::Cylindre)
    DrawCylinder(raster, centre, radius, SampleTurn(clip, t));
  else
    DrawBall(raster, centre, radius);
  return raster;
}

}  // namespace kinovia
