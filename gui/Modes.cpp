#include "gui/Modes.h"

namespace kinovia {

bool ModeOffered(WorkingMode mode, const ModePermissions& p) {
  switch (mode) {
    case WorkingMode::Montage:
      return p.montage;
    case WorkingMode::Tracking:
      return p.tracking;
    case WorkingMode::Capture:
      return p.capture;
    case WorkingMode::Studio:
      return p.studio;
    case WorkingMode::None:
    case WorkingMode::FixedAxes:
    case WorkingMode::Transparent:
      break;
  }
  return true;
}

ToolButtons ToolButtonsFor(WorkingMode mode, bool twoScales) {
  const bool pointing = IsPointingMode(mode);
  const bool fixed = mode == WorkingMode::FixedAxes;
  ToolButtons b;
  b.zoom = mode != WorkingMode::None;
  b.pan = b.zoom && mode != WorkingMode::Capture;
  b.deplacer = b.effacer = b.nom = pointing;
  b.mark = b.origine = fixed;
  b.sheet = mode == WorkingMode::Transparent;
  b.scale = pointing && !twoScales;
  b.scaleHorizontal = b.scaleVertical = pointing && twoScales;
  return b;
}

MenuState MenuStateFor(const MenuFacts& f) {
  const auto mode = f.mode;
  const bool pointing = IsPointingMode(mode);
  const bool fixed = mode == WorkingMode::FixedAxes;
  const bool tracking = mode == WorkingMode::Tracking;
  MenuState s;
  s.guardarVisible = mode != WorkingMode::Capture && mode != WorkingMode::Studio;
  s.propertiesVisible = mode != WorkingMode::Capture;
  s.propertiesEnabled = f.clipOpen;
  s.presentationEnabled = s.measuresEnabled = mode != WorkingMode::Capture;
  s.pointingItems = pointing;
  s.hideImage = pointing || tracking;
  s.objectMarks = fixed;
  s.angleVisible = fixed;
  s.angleEnabled = f.clipOpen && f.originPlaced;
  s.contourVisible = tracking || mode == WorkingMode::Studio;
  s.zoneVisible = tracking;
  s.marksPerFrame = pointing || tracking;
  s.autoAdvance = s.marksPerFrame || mode == WorkingMode::Studio;
  s.scaleLength = pointing && !f.twoScales;
  s.scaleLengthsHV = pointing && f.twoScales;
  s.magnifier = pointing;
  return s;
}

}  // namespace kinovia
