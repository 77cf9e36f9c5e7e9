#pragma once
// What closing the options dialog with Ok does, in its order: the file association, the results
// made stale by the options that change them, the edited options copied in, saved and announced.
#include <functional>
#include <optional>
#include <string>

#include "core/Message.h"
#include "logic/settings/FileAssociation.h"
#include "logic/settings/Options.h"

namespace kinovia {

struct OptionsClosing {
  // Shown to the user when the association could not be changed; the options are kept anyway.
  std::optional<Message> associationWarning;
  bool resultsStale = false;
  bool saved = false;
};

// `edited` is the dialog's copy of `options`; the association is left alone when `association`
// is empty (no user data folder). `markResultsStale` runs before the options change, so that the
// windows that read them on the notification find the results already out of date.
OptionsClosing CloseOptions(Options& options, const Options& edited, bool associationWanted,
                            const std::optional<FileAssociation>& association,
                            const std::string& executable,
                            const std::function<void()>& markResultsStale = {});

}  // namespace kinovia
