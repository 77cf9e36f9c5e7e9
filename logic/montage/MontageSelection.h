#pragma once
// The frames the user names in the hide/show dialog, and applying the chosen action to them.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "core/Result.h"
#include "logic/montage/Montage.h"

namespace kinovia {

enum class MontageAction { Hide = 0, Show = 1 };

// What the dialog's combo box holds: typed text, or one of the two list items.
enum class SelectionSource { Typed, EvenFrames, OddFrames };

// Per source frame, whether it is selected.
using FrameSelection = std::vector<bool>;

// Builds the selection from user numbers (from 1) such as "1-55 ; 58 ; 73-165", or the warning
// about the first bad group.
Result<FrameSelection> ParseFrameSelection(SelectionSource source, std::string_view typed,
                                           std::int32_t frameCount, MontageAction action);

// Applies the action to every selected frame in source order; stops at the first refusal, whose
// warning is returned.
Result<void> ApplyFrameSelection(Montage& montage, const FrameSelection& selection,
                                 MontageAction action);

// What the user answered to the information shown before a frame is toggled.
struct ToggleAnswer {
  int button = 0;  // 0: Ok, 1: Cancelar
  bool dontShowAgain = false;
};

// The information shown before the frame is hidden or shown; "Cancelar" is offered when hiding it
// would delete marks. Its check box is captioned txt::MontageDontShowAgain.
Message ToggleFrameMessage(bool frameVisible, bool frameHasMarks);

// Toggles the current frame as the montage's toggle button does: asks first when the option and
// the montage's show-information flag want it (the flag then follows the check box), and stops
// on "Cancelar". True when the frame changed.
bool ToggleFrameCommand(Montage& montage, std::int32_t current, bool optionShowBox,
                        bool frameHasMarks, const std::function<ToggleAnswer(const Message&)>& ask,
                        Message* refusal = nullptr);

}  // namespace kinovia
