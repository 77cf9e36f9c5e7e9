#include "app/UnitModes.h"

namespace kinovia {

bool ModeOffered(TWorkMode mode, const TModePermissions& p) {
  switch (mode) {
    case TWorkMode::Montage:
      return p.montage;
    case TWorkMode::Tracking:
      return p.tracking;
    case TWorkMode::Capture:
      return p.capture;
    case TWorkMode::Studio:
      return p.studio;
    case TWorkMode::None:
    case TWorkMode::RepereFixe:
    case TWorkMode::Transparent:
      break;
  }
  return true;
}

TToolButtons ToolButtonsFor(TWorkMode mode, bool twoScales) {
  const bool pointing = IsPointingMode(mode);
  const bool fixed = mode == TWorkMode::RepereFixe;
  TToolButtons b;
  b.zoom = mode != TWorkMode::None;
  b.pan = b.zoom && mode != TWorkMode::Capture;
  b.deplacer = b.effacer = b.nom = pointing;
  b.marque = b.origine = fixed;
  b.tsp = mode == TWorkMode::Transparent;
  b.echelle = pointing && !twoScales;
  b.echelleHoriz = b.echelleVert = pointing && twoScales;
  return b;
}

TMenuState MenuStateFor(const TMenuFacts& f) {
  const auto mode = f.mode;
  const bool pointing = IsPointingMode(mode);
  const bool fixed = mode == TWorkMode::RepereFixe;
  const bool tracking = mode == TWorkMode::Tracking;
  TMenuState s;
  s.guardarVisible = mode != TWorkMode::Capture && mode != TWorkMode::Studio;
  s.propertiesVisible = mode != TWorkMode::Capture;
  s.propertiesEnabled = f.clipOpen;
  s.presentationEnabled = s.measuresEnabled = mode != TWorkMode::Capture;
  s.pointingItems = pointing;
  s.hideImage = pointing || tracking;
  s.objectMarks = fixed;
  s.angleVisible = fixed;
  s.angleEnabled = f.clipOpen && f.originPlaced;
  s.contourVisible = tracking || mode == TWorkMode::Studio;
  s.zoneVisible = tracking;
  s.marksPerFrame = pointing || tracking;
  s.autoAdvance = s.marksPerFrame || mode == TWorkMode::Studio;
  s.scaleLength = pointing && !f.twoScales;
  s.scaleLengthsHV = pointing && f.twoScales;
  s.magnifier = pointing;
  return s;
}

}  // namespace kinovia
