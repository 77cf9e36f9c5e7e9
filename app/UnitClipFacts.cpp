#include "app/UnitClipFacts.h"

#include "video/UnitFrameSource.h"

namespace kinovia {

int TClipFacts::CurrentSourceFrame() const {
  const TFrameSource* s = source_();
  return s && s->IsOpen() ? s->CurrentFrame() : 0;
}

int TClipFacts::FrameCount() const {
  const TFrameSource* s = source_();
  return s && s->IsOpen() ? s->FrameCount() : 0;
}

int TClipFacts::PictureWidth() const {
  const TFrameSource* s = source_();
  return s && s->IsOpen() ? s->Width() : -1;
}

int TClipFacts::PictureHeight() const {
  const TFrameSource* s = source_();
  return s && s->IsOpen() ? s->Height() : -1;
}

}  // namespace kinovia
