#pragma once
// "Propiedades vídeo": what the open clip is, as the information box shows it.
#include "core/Message.h"

namespace kinovia {

class VideoControl;

Message VideoPropertiesMessage(const VideoControl& video);

}  // namespace kinovia
