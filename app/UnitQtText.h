#pragma once
// The string table as Qt wants it.
#include <QString>

#include "resources/UnitStrings.h"

namespace kinovia {

inline QString QTxt(TxtId id) { return QString::fromStdString(Txt(id)); }

}  // namespace kinovia
