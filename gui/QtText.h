#pragma once
// The string table as Qt wants it.
#include <QColor>
#include <QString>
#include <cstdint>

#include "core/StringTable.h"

namespace kinovia {

inline QString QTxt(TxtId id) { return QString::fromStdString(Txt(id)); }

// The logic keeps colours as 0x00BBGGRR, red in the low byte.
inline QColor QColourOf(std::uint32_t bgr) {
  return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

}  // namespace kinovia
