#pragma once
// The program's own tool-bar pictures, drawn as SVG in resources/icons and rendered sharp at
// every scale factor.
#include <QIcon>
#include <QString>

namespace kinovia {

// The icon of resources/icons/<name>.svg.
QIcon KinoviaIcon(const QString& name);

}  // namespace kinovia
