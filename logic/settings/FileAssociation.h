#pragma once
// The association of work files (".knv") with Kinovia on a freedesktop desktop: a MIME type of
// their own and a desktop entry that opens them, both in the user's data folder.
#include <optional>
#include <string>

#include "core/Result.h"

namespace kinovia {

inline constexpr const char* kWorkFileMimeType = "application/x-kinovia";

class FileAssociation {
 public:
  // `dataHome` is the user's data folder, normally $HOME/.local/share.
  explicit FileAssociation(std::string dataHome) : dataHome_(std::move(dataHome)) {}
  // $HOME/.local/share, or nullopt when HOME is not set.
  static std::optional<std::string> UserDataHome();

  std::string DesktopEntryPath() const;
  std::string MimeTypePath() const;

  bool Installed() const;
  // Declares the type and the entry that runs `executable` on a work file. False when the
  // executable does not exist or a file could not be written.
  bool Install(const std::string& executable) const;
  // Removes both; false when one of them stays.
  bool Remove() const;

 private:
  // The desktop's caches are rebuilt by their own tools when they are installed.
  void RefreshDesktopCaches() const;

  std::string dataHome_;
};

// What the options dialog does on closing with the association box checked or not: installs or
// removes as needed, and gives the warning to show when that failed.
Result<void> ApplyFileAssociation(const FileAssociation& association, bool wanted,
                                  const std::string& executable);

}  // namespace kinovia
