#pragma once
// The main window: it wires the central objects together and dispatches the user's commands.
#include <QMainWindow>

namespace kinovia {

class TMainForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(QWidget* parent = nullptr);
};

}  // namespace kinovia
