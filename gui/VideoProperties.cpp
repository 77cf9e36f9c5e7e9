#include "gui/VideoProperties.h"

#include <initializer_list>
#include <string>

#include "core/Numbers.h"
#include "media/video/VideoControl.h"
#include "resources/TxtApp.h"
#include "resources/TxtCommon.h"

namespace kinovia {

namespace {

// The text with its "%s" replaced, in order, by the values.
std::string Filled(TxtId pattern, std::initializer_list<std::string> values) {
  std::string text = Txt(pattern);
  std::size_t from = 0;
  for (const std::string& value : values) {
    const auto at = text.find("%s", from);
    if (at == std::string::npos) break;
    text.replace(at, 2, value);
    from = at + value.size();
  }
  return text;
}

const char* FrameworkName(VideoFramework framework) {
  switch (framework) {
    case VideoFramework::Avi:
      return "AVI";
    case VideoFramework::GStreamer:
      return "GStreamer";
    case VideoFramework::FFmpeg:
      return "FFmpeg";
  }
  return "";
}

}  // namespace

Message VideoPropertiesMessage(const VideoControl& video) {
  Message m;
  m.icon = MessageIcon::Information;
  m.buttons = {txt::ButtonOk};
  m.FileName(video.FileName()).Blank();
  m.Line(Filled(txt::PropertiesFramework, {FrameworkName(video.Framework())}));
  m.Line(Filled(txt::PropertiesFrames, {std::to_string(video.FrameCount())}));
  m.Line(Filled(txt::PropertiesSize,
                {std::to_string(video.PictureWidth()), std::to_string(video.PictureHeight())}));
  m.Line(Filled(txt::PropertiesRate, {FormatValue(2, video.FramesPerSecond())}));
  m.Line(Filled(txt::PropertiesInterval, {FormatValue(2, video.Interval())}));
  return m;
}

}  // namespace kinovia
