#pragma once
// The status bar's news while a long clip opens: a bar of the part read and a button that cancels.
// It shows only once the opening has lasted half a second, and keeps the window painted meanwhile;
// other input waits, so nothing else starts while the clip is half open.
#include <QElapsedTimer>
#include <QWidget>

class QMainWindow;
class QProgressBar;
class QPushButton;

namespace kinovia {

class OpeningProgress : public QWidget {
 public:
  explicit OpeningProgress(QMainWindow& window);

  void Start();
  // The part read so far (0 to 1); false once the user cancelled.
  bool Progress(double fraction);
  void Finish();
  bool Cancelled() const { return cancelled_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QMainWindow& window_;
  QProgressBar* bar_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QElapsedTimer clock_;
  bool running_ = false;
  bool cancelled_ = false;
};

}  // namespace kinovia
