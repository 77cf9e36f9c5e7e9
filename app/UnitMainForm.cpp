#include "app/UnitMainForm.h"

#include "app/UnitQtText.h"
#include "resources/TxtCommon.h"

namespace kinovia {

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QTxt(txt::AppTitle));
  resize(1024, 720);
}

}  // namespace kinovia
