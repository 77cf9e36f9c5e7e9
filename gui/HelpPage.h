#pragma once
// The help page, in the language of the window's texts, opened by the desktop's browser at the
// section that tells about what the user is doing.
#include <QString>

#include <array>
#include <functional>

#include "core/Message.h"

namespace kinovia {

// Section names of the help page (the anchors of Help_es.html and Help_en.html).
namespace help {
inline constexpr const char* kPointing = "puntear";
inline constexpr const char* kResults = "resultados";
inline constexpr const char* kFormulas = "formulas";
inline constexpr const char* kTracking = "seguimiento";
inline constexpr const char* kMontage = "montaje";
inline constexpr const char* kCapture = "captura";
inline constexpr const char* kStudio = "estudio";
// Every section the program opens the page at: each page must hold them all.
inline constexpr std::array kAll{kPointing, kResults, kFormulas, kTracking,
                                 kMontage,  kCapture, kStudio};
}  // namespace help

// The help page beside the program, or in its installed data folder; empty when neither holds it.
QString HelpPagePath();

// Opens the help page at the section (none: its top); when there is no page or no browser to show
// it, says so through `show`, the caller's message box.
void OpenHelpPage(const QString& section, const std::function<int(const Message&)>& show);

}  // namespace kinovia
