#include <QApplication>

#include "app/UnitMainForm.h"
#include "results/UnitMathUtils.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // Read after Qt has applied the user's locale, and only once.
  kinovia::ReadDecimalSeparatorFromEnvironment();
  kinovia::TMainForm mainForm;
  mainForm.show();
  return application.exec();
}
