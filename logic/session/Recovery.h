#pragma once
// Never losing a pupil's pointing: while the work has unsaved changes it is written, every 30 s
// and after every 20 changes, to a recovery work file beside the options file. A normal save or
// close removes it; after a crash or a kill the next start finds it and offers it back.
#include <optional>
#include <string>
#include <vector>

#include "logic/session/WorkFile.h"

namespace kinovia {

inline constexpr int kRecoveryIntervalMs = 30'000;
inline constexpr int kRecoveryChangeCount = 20;

// Each running program keeps its own file, named after its process, so that two windows open at
// once never write over each other's work.
std::string RecoveryFilePath(const std::string& folder, long processId);

// The recovery files left by programs that are no longer running, newest first.
std::vector<std::string> OrphanRecoveryFiles(const std::string& folder);

class RecoveryKeeper {
 public:
  explicit RecoveryKeeper(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }
  // A change of the work. True when enough changes piled up since the last write to write now.
  bool NoteChange();
  // Whether `work` differs from what was last saved, opened or written; the frame on show is no
  // change of the work.
  bool Differs(const WorkFileContent& work) const;
  // Writes the work atomically; the old file stays whole when this fails.
  bool Write(const WorkFileContent& work);
  // The work was saved, opened or deliberately left as `work`: the recovery file goes.
  void Discard(const WorkFileContent& work);

 private:
  std::string path_;
  int changes_ = 0;
  WorkFileContent baseline_;
};

// Removes a recovery file once its work was recovered or refused.
void RemoveRecoveryFile(const std::string& path);

}  // namespace kinovia
