#pragma once
// The frames the user names in the hide/show dialog, and applying the chosen action to them.
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "resources/UnitMessage.h"
#include "workshop/UnitMontage.h"

namespace kinovia {

enum class TMontageAction { Hide = 0, Show = 1 };

// What the dialog's combo box holds: typed text, or one of the two list items.
enum class TSelectionSource { Typed, EvenFrames, OddFrames };

// Per source frame, whether it is selected.
using TFrameSelection = std::vector<bool>;

// Builds the selection from user numbers (from 1) such as "1-55 ; 58 ; 73-165", or the warning
// about the first bad group.
std::variant<TFrameSelection, TMessage> ParseFrameSelection(TSelectionSource source,
                                                            std::string_view typed,
                                                            std::int32_t frameCount,
                                                            TMontageAction action);

// Applies the action to every selected frame in source order; stops at the first refusal, whose
// warning is returned.
std::optional<TMessage> ApplyFrameSelection(TMontage& montage, const TFrameSelection& selection,
                                            TMontageAction action);

// What the user answered to the information shown before a frame is toggled.
struct TToggleAnswer {
  int button = 0;  // 0: Ok, 1: Cancelar
  bool dontShowAgain = false;
};

// The information shown before the frame is hidden or shown; "Cancelar" is offered when hiding it
// would delete marks. Its check box is captioned txt::MontageDontShowAgain.
TMessage ToggleFrameMessage(bool frameVisible, bool frameHasMarks);

// Toggles the current frame as the montage's toggle button does: asks first when the option and
// the montage's show-information flag want it (the flag then follows the check box), and stops
// on "Cancelar". True when the frame changed.
bool ToggleFrameCommand(TMontage& montage, std::int32_t current, bool optionShowBox,
                        bool frameHasMarks,
                        const std::function<TToggleAnswer(const TMessage&)>& ask,
                        TMessage* refusal = nullptr);

}  // namespace kinovia
