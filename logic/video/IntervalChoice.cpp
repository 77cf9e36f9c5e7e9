#include "logic/video/IntervalChoice.h"

#include <string>

#include "core/Numbers.h"
#include "resources/TxtCommon.h"
#include "resources/TxtNumbers.h"
#include "resources/TxtVideo.h"

namespace kinovia {

Result<double> ParseIntervalText(std::string_view text) {
  const auto value = TextToReal(NormalizeDecimalSeparator(text));
  if (!value) return NumberRejectedMessage(text, NumberField::Real);
  if (*value > kMinInterval && *value < kMaxInterval) return *value;
  Message message;
  message.icon = MessageIcon::Information;
  message.buttons = {txt::ButtonOk};
  message.lines.push_back(
      {Txt(txt::NumberRejectedValue) + " " + std::string(text) + " " + Txt(txt::VideoIntervalUnit),
       true, true, kColourBlue});
  message.Blank().Line(txt::VideoIntervalRangeAsk).Blank().Line(txt::VideoIntervalRange);
  return message;
}

}  // namespace kinovia
