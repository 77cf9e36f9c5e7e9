#pragma once
// A work file opened from kinovia-cli as the desktop program opens it: its clip, its montage and
// its session, the picture's own pixels standing in for the window's view.
#include <memory>
#include <string>

#include "cli/CommandRegistry.h"
#include "logic/montage/Montage.h"
#include "logic/session/Session.h"
#include "logic/settings/Options.h"
#include "logic/settings/OptionsViews.h"
#include "media/export/TableExport.h"
#include "media/video/VideoControl.h"

namespace kinovia::cli {

// Without a window, view pixels are the picture's own pixels.
class PictureMapping : public IViewMapping {
 public:
  explicit PictureMapping(const IVideoFacts& video) : video_(video) {}
  PointD ToFraction(PointI p) const override;
  PointI ToView(PointD f) const override;
  int ViewWidth() const override { return static_cast<int>(Width()); }
  int ViewHeight() const override { return static_cast<int>(Height()); }

 private:
  double Width() const;
  double Height() const;
  const IVideoFacts& video_;
};

struct LoadedWork {
  explicit LoadedWork(const Options& options)
      : video(montage), mapping(video), session(video, mapping, SessionOptionsOf(options)) {}
  Montage montage;
  VideoControl video;
  PictureMapping mapping;
  Session session;
  std::string clipName;  // the clip's file name, the title of exports
  bool transparentMode = false;
};

// The work and its clip; nullptr, with the program's message on the error stream, when either
// cannot be opened.
std::unique_ptr<LoadedWork> LoadWork(const std::string& path, const Options& options,
                                     CliStreams streams);

// The table of the work as the results window exports it: the text lines, titled with the clip's
// name, and the cell matrix unless `forms` leaves it out. Refused, with the message that asks for
// it, without a scale.
Result<ExportedTable> WorkTable(const LoadedWork& work, const Options& options,
                                TableForms forms = TableForms::LinesAndMatrix);

// Prints the message's lines and answers the failure status.
ExitStatus Fail(const Message& message, CliStreams streams);

}  // namespace kinovia::cli
