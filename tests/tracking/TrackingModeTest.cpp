// Drives the tracking mode of the real main window on the Parabole sample clip: a circle drawn
// round the ball, a run, a run stopped by the pause button, the positions kept as marks, undone.
#include <QAction>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

#include "gui/MainWindow.h"
#include "gui/VideoView.h"
#include "gui/tracking/TrackingMode.h"
#include "logic/session/Session.h"
#include "media/samples/SampleClips.h"
#include "media/samples/SampleScenes.h"
#include "tests/support/ModalAnswers.h"

using namespace kinovia;
using kinovia::test::AnswerNextModal;
using kinovia::test::PressButton;
using kinovia::test::TypeValue;

namespace {

QAction* Named(QWidget* window, const char* name) {
  return window->findChild<QAction*>(QString::fromLatin1(name));
}

}  // namespace

class TrackingModeTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(folder_.isValid());
    qputenv("TMP", folder_.path().toLocal8Bit());
    QVERIFY(WriteSampleClips(folder_.path().toStdString()));
  }

  void DrawsRunsKeepsAndUndoes() {
    MainWindow window;
    OpenInTrackingMode(window);
    QVERIFY(window.findChild<QToolBar*>("TrackingBar")->isVisible());
    const TrackingMode& mode = *window.Tracking();
    const Tracker& tracker = mode.State();

    // A run without a contour is refused with the program's words.
    QString refusal;
    AnswerNextModal([&refusal](QWidget* box) {
      for (auto* label : box->findChildren<QLabel*>()) refusal += label->text();
      PressButton(box, "Ok");
    });
    Named(&window, "ButtonTrackSuivi")->trigger();
    QVERIFY(refusal.contains("Dibujar, previamente, el contorno del objeto a seguir."));

    // GIVEN a circle drawn round the ball on the first frame: centre, then a click on the rim.
    Named(&window, "MenuMesuresFormeCercle")->trigger();
    Named(&window, "ButtonTrackContour")->trigger();
    QCOMPARE(mode.Tool(), TrackingTool::Contour);
    QWidget* canvas = window.View()->Canvas();
    const auto& mapping = window.View()->Mapping();
    const PointD centre = SampleCentre(SampleClip::Parabole, 0);
    const PointI c = mapping.ToView({centre.x / kSampleWidth, centre.y / kSampleHeight});
    const PointI rim = mapping.ToView({(centre.x + 8) / kSampleWidth, centre.y / kSampleHeight});
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(c.x, c.y));
    QTest::mouseMove(canvas, QPoint(rim.x, rim.y));
    QTest::mouseClick(canvas, Qt::LeftButton, {}, QPoint(rim.x, rim.y));
    QVERIFY(tracker.Current().contourValid);
    QCOMPARE(tracker.Current().contourFrame, 0);

    // WHEN the sequence ends on frame 20 (counted from 1) and the run starts.
    AnswerNextModal([](QWidget* dialog) { TypeValue(dialog, "20"); });
    Named(&window, "ButtonTrackSequence")->trigger();
    QCOMPARE(tracker.LastFrame(), 19);
    Named(&window, "ButtonTrackSuivi")->trigger();

    // THEN every frame of the sequence has a position close to the truth, and the clip stands
    // on the last one.
    QCOMPARE(tracker.Results().size(), std::size_t(20));
    for (const TrackedMark& mark : tracker.Results()) {
      const PointD truth = SampleCentre(SampleClip::Parabole, double(mark.frame) / 25);
      QVERIFY(std::abs(mark.position.x * kSampleWidth - truth.x) < 2);
      QVERIFY(std::abs(mark.position.y * kSampleHeight - truth.y) < 2);
    }
    QCOMPARE(window.Video().CurrentMontageIndex(), 19);
    QVERIFY(Named(&window, "ButtonTrackContour")->isEnabled());

    // A second run stopped by the pause button keeps what it found before the stop.
    Named(&window, "ButtonTrackEffacerTrack")->trigger();
    QVERIFY(!tracker.HasResults());
    QCOMPARE(window.Video().CurrentMontageIndex(), 0);
    QTimer::singleShot(0, &window, [&window] {
      QVERIFY(!Named(&window, "ButtonTrackContour")->isEnabled());
      window.findChild<QToolButton*>("ButtonVideoPause")->click();
    });
    Named(&window, "ButtonTrackSuivi")->trigger();
    const std::size_t stopped = tracker.Results().size();
    QVERIFY(stopped >= 1 && stopped < 20);

    // Leaving the mode asks; "Guardar" writes the marks in one change, which one undo removes.
    Session& session = window.CurrentSession();
    QCOMPARE(session.FixedStore().Marks().size(), std::size_t(0));
    QString question;
    AnswerNextModal([&question](QWidget* box) {
      for (auto* label : box->findChildren<QLabel*>()) question += label->text();
      PressButton(box, "Guardar");
    });
    QVERIFY(window.SetMode(WorkingMode::FixedAxes));
    QVERIFY(question.contains("¿Desea conservar estos datos?"));
    QCOMPARE(session.FixedStore().Marks().size(), stopped);
    QVERIFY(session.Undo());
    QCOMPARE(session.FixedStore().Marks().size(), std::size_t(0));
  }

  void LeavingWithNothingTrackedAsksNothing() {
    MainWindow window;
    OpenInTrackingMode(window);
    bool asked = false;
    AnswerNextModal([&asked](QWidget* box) {
      asked = true;
      box->close();
    });
    QVERIFY(window.SetMode(WorkingMode::FixedAxes));
    QTest::qWait(50);
    QVERIFY(!asked);
    QVERIFY(!window.findChild<QToolBar*>("TrackingBar")->isVisible());
  }

 private:
  // The window shown on the Parabole clip, in the tracking mode.
  void OpenInTrackingMode(MainWindow& window) {
    window.SetCloseWithoutAsking(true);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.OpenClip(folder_.filePath("Parabole.avi")));
    QVERIFY(window.SetMode(WorkingMode::Tracking));
  }

  QTemporaryDir folder_;
};

QTEST_MAIN(TrackingModeTest)
#include "TrackingModeTest.moc"
