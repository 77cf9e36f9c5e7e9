#pragma once
// Keeping a capture: the temporary file is copied under the name the user chooses, and deleted
// whatever happens.
#include <optional>
#include <string>

#include "core/Message.h"

namespace kinovia {

// What saving asks of the window.
class CaptureSaveUi {
 public:
  virtual ~CaptureSaveUi() = default;
  // The save dialog, opened in `folder` with the proposed name; nothing when cancelled.
  virtual std::optional<std::string> AskSaveName(const std::string& folder) = 0;
  virtual void ShowMessage(const Message& message) = 0;
  virtual void RememberFolder(const std::string& folder) = 0;
};

enum class CaptureSaveOutcome { Saved, Cancelled };

struct CaptureSaveResult {
  CaptureSaveOutcome outcome = CaptureSaveOutcome::Cancelled;
  std::string fileName;  // when saved
};

// ".avi" appended unless the name already ends so, case ignored.
std::string WithAviExtension(std::string name);

CaptureSaveResult SaveCapture(const std::string& temporary, const std::string& lastFolder,
                              CaptureSaveUi& ui);

}  // namespace kinovia
