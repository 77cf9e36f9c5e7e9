#include <gtest/gtest.h>

#include <set>

#include "core/IniFile.h"
#include "logic/capture/CaptureChoices.h"
#include "logic/capture/CaptureSchedule.h"

namespace kinovia {
namespace {

// Runs the clock as the window does: the driver starts when asked and stops when asked.
struct ClockRun {
  std::vector<std::string> statuses;
  int startTick = 0;
  int stopTick = 0;
  bool beeped = false;
};

ClockRun RunClock(const CaptureTiming& timing, int ticks) {
  CaptureSchedule schedule;
  ClockRun run;
  bool capturing = schedule.Begin(timing);
  for (int tick = 1; tick <= ticks && run.stopTick == 0; ++tick) {
    const TickAction action = schedule.Tick(capturing);
    run.statuses.push_back(CaptureStatusText(schedule, capturing, {tick, 0}));
    if (action == TickAction::Start) {
      capturing = true;
      run.startTick = tick;
      run.beeped = schedule.BeepOnStart();
    } else if (action == TickAction::Stop) {
      run.stopTick = tick;
    }
  }
  return run;
}

TEST(CaptureSchedule, FiveSecondDelayThenTenSecondDuration) {
  const ClockRun run = RunClock({true, 5, true, true, 10}, 40);
  ASSERT_GE(run.statuses.size(), 5u);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(run.statuses[static_cast<std::size_t>(i)],
              "La captura comenzará en " + std::to_string(4 - i) + " segundo(s)");
  EXPECT_EQ(run.startTick, 5);
  EXPECT_TRUE(run.beeped);
  EXPECT_EQ(run.stopTick, 15);
  EXPECT_EQ(run.statuses.back(),
            "Número de imágenes capturadas : 15    Número de imágenes perdidas : 0");
}

TEST(CaptureSchedule, StartsAndStopsByTheTimingAlone) {
  struct Case {
    CaptureTiming timing;
    bool startsAtOnce;
    int startTick;
    int stopTick;
  };
  const Case cases[] = {
      {{false, 5, true, false, 10}, true, 0, 0},  // only the button ends it
      {{false, 5, true, true, 3}, true, 0, 3},
      {{true, 2, false, false, 10}, false, 2, 0},
  };
  for (const auto& c : cases) {
    CaptureSchedule probe;
    EXPECT_EQ(probe.Begin(c.timing), c.startsAtOnce);
    const ClockRun run = RunClock(c.timing, 700);
    EXPECT_EQ(run.startTick, c.startTick);
    EXPECT_EQ(run.stopTick, c.stopTick);
    EXPECT_FALSE(run.beeped);
  }
}

TEST(CaptureDevices, OneListMapsOntoTheTwoFrameworks) {
  // Two devices of the first framework and one of the second.
  EXPECT_EQ(SlotOfDevice(0, 2), (DeviceSlot{CaptureFramework::Libav, 0}));
  EXPECT_EQ(SlotOfDevice(1, 2), (DeviceSlot{CaptureFramework::Libav, 1}));
  EXPECT_EQ(SlotOfDevice(2, 2), (DeviceSlot{CaptureFramework::GStreamer, 0}));
  EXPECT_EQ(SlotOfDevice(0, 0), (DeviceSlot{CaptureFramework::GStreamer, 0}));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ListIndexOf(SlotOfDevice(i, 2), 2), i);
}

TEST(CaptureSettings, RememberedNamesAreMatchedWithoutCase) {
  const std::vector<std::string> codecs = {"sin", "Motion-JPEG"};
  EXPECT_EQ(FindByName(codecs, "motion-jpeg", 1), 1);
  EXPECT_EQ(FindByName(codecs, "SIN", 1), std::nullopt);  // no compression is never matched
  EXPECT_EQ(FindByName({"Cam A", "Cam B"}, "cam b"), 1);
  EXPECT_EQ(FindByName({"Cam A"}, "Cam gone"), std::nullopt);
  EXPECT_EQ(FindByName({""}, ""), std::nullopt);
}

TEST(CaptureDevices, PluggedNodesTellRemovalFirst) {
  const struct {
    std::vector<std::string> before, after;
    DeviceNodesChange change;
  } cases[] = {
      {{"video0", "video1"}, {"video0", "video1"}, DeviceNodesChange::None},
      {{"video0"}, {"video0", "video1"}, DeviceNodesChange::Connected},
      {{}, {"video0"}, DeviceNodesChange::Connected},
      {{"video0", "video1"}, {"video1"}, DeviceNodesChange::Removed},
      {{"video0"}, {"video2", "video3"}, DeviceNodesChange::Removed},  // one gone, another come
  };
  for (const auto& c : cases)
    EXPECT_EQ(CompareDeviceNodes(c.before, c.after), c.change) << c.after.size();
}

TEST(CaptureSettings, SectionRoundTripAndDefaults) {
  IniFile empty;
  EXPECT_EQ(CaptureSettings::Read(empty).framework, CaptureFramework::GStreamer);

  IniFile ini;
  CaptureSettings written{CaptureFramework::Libav, "Cámara", "640 x 480 YUYV 30 fps", "sin"};
  written.Write(ini);
  const auto read = CaptureSettings::Read(ini);
  EXPECT_EQ(read.framework, CaptureFramework::Libav);
  EXPECT_EQ(read.device, "Cámara");
  EXPECT_EQ(read.format, "640 x 480 YUYV 30 fps");
  EXPECT_EQ(read.codec, "sin");

  ini.Write("Capture", "Framework", "7");
  EXPECT_EQ(CaptureSettings::Read(ini).framework, CaptureFramework::GStreamer);
}

TEST(CaptureFile, TemporaryNameTakesTheFirstFreeNumber) {
  const std::set<std::string> present = {"/t/Capture0.avi", "/t/Capture1.avi", "/t/Capture3.avi"};
  EXPECT_EQ(TemporaryCaptureName("/t/", [&](const std::string& n) { return present.count(n) > 0; }),
            "/t/Capture2.avi");
}

}  // namespace
}  // namespace kinovia
