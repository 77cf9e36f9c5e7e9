#include "tests/graphs/DragMark.h"

#include "gui/MainWindow.h"
#include "gui/VideoView.h"
#include "logic/session/Session.h"
#include "media/video/VideoControl.h"

namespace kinovia {

void DragMarkOnPicture(MainWindow& window, int frame, PointD fraction, int dy) {
  window.Video().Seek(frame);
  Session& session = window.CurrentSession();
  session.SetTool(PointingTool::Move);
  const PointI at = window.View()->MappingPort().ToView(fraction);
  session.MouseMove(at);
  session.MousePress(MouseButton::Left, at);
  session.MouseMove({at.x, at.y + dy});
  session.MouseRelease(MouseButton::Left, {at.x, at.y + dy});
}

}  // namespace kinovia
