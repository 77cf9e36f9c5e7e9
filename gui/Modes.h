#pragma once
// What each working mode offers: the tool buttons, the modes the options permit and the menu items
// visible or enabled when a menu opens. Kept as plain answers so the window only applies them.
#include "logic/session/SessionPorts.h"

namespace kinovia {

// The permission options of the four optional modes.
struct ModePermissions {
  bool montage = true;
  bool tracking = true;
  bool capture = true;
  bool studio = true;
};

bool ModeOffered(WorkingMode mode, const ModePermissions& permissions);

// Modes whose tools point marks by hand.
inline bool IsPointingMode(WorkingMode mode) {
  return mode == WorkingMode::FixedAxes || mode == WorkingMode::Transparent;
}

struct ToolButtons {
  bool zoom = false;
  bool pan = false;
  bool scale = false;
  bool scaleHorizontal = false;
  bool scaleVertical = false;
  bool mark = false;
  bool deplacer = false;
  bool effacer = false;
  bool origine = false;
  bool sheet = false;
  bool nom = false;
  bool operator==(const ToolButtons&) const = default;
};

ToolButtons ToolButtonsFor(WorkingMode mode, bool twoScales);

// Visibility (and where it matters, enabling) of the menu items, evaluated when a menu opens.
struct MenuState {
  bool guardarVisible = false;
  bool propertiesVisible = false;
  bool propertiesEnabled = false;
  bool presentationEnabled = false;
  bool pointingItems = false;  // undo, "Ir a", "Dibujar", object colours, interval, inversions
  bool hideImage = false;      // "Ocultar la imagen" and "Colores"
  bool objectMarks = false;    // "las marcas del objeto ..."
  bool measuresEnabled = false;
  bool angleVisible = false;
  bool angleEnabled = false;
  bool contourVisible = false;
  bool zoneVisible = false;
  bool marksPerFrame = false;
  bool autoAdvance = false;
  bool scaleLength = false;
  bool scaleLengthsHV = false;
  bool magnifier = false;
};

struct MenuFacts {
  WorkingMode mode = WorkingMode::None;
  bool clipOpen = false;
  bool originPlaced = false;
  bool twoScales = false;
};

MenuState MenuStateFor(const MenuFacts& facts);

}  // namespace kinovia
