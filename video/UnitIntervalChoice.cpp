#include "video/UnitIntervalChoice.h"

#include <string>

#include "resources/TxtCommon.h"
#include "resources/TxtNumbers.h"
#include "resources/TxtVideo.h"
#include "results/UnitMathUtils.h"

namespace kinovia {

std::variant<double, TMessage> ParseIntervalText(std::string_view text) {
  const auto value = TextToReal(NormalizeDecimalSeparator(text));
  if (!value) return NumberRejectedMessage(text, TNumberField::Real);
  if (*value > kMinInterval && *value < kMaxInterval) return *value;
  TMessage message;
  message.icon = TMessageIcon::Information;
  message.buttons = {txt::ButtonOk};
  message.lines.push_back(
      {Txt(txt::NumberRejectedValue) + " " + std::string(text) + " " + Txt(txt::VideoIntervalUnit),
       true, true, kColourBlue});
  message.Blank().Line(txt::VideoIntervalRangeAsk).Blank().Line(txt::VideoIntervalRange);
  return message;
}

}  // namespace kinovia
