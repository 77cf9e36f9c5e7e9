#include "media/video/GStreamerSource.h"

#include "media/video/MediaLibraries.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <future>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "media/video/FFmpegSource.h"
#include "media/video/GStreamerDecoder.h"
#include "media/video/GStreamerLayouts.h"
#include "media/video/PictureConversion.h"
#include "media/video/PictureLimits.h"

namespace kinovia {
namespace {

// Waits are bounded so that a file the decoders choke on cannot hang the program.
constexpr GstClockTime kPrerollTimeout = 10 * GST_SECOND;
constexpr GstClockTime kPullTimeout = 10 * GST_SECOND;
// Waits are made of these slices, so that a pipeline no longer wanted is left soon.
constexpr GstClockTime kWaitSlice = 20 * GST_MSECOND;
constexpr std::int32_t kForwardSteps = 32;
constexpr int kCountChecks = 3;
constexpr std::int32_t kSeekCheckFrame = 16;
constexpr int kCheckNiceness = 10;
// Two readings of a clip agree within these: the relative difference of their frame rates, and
// the mean difference per channel of their pictures (both are converted by the same swscale
// conversion, most decoded by libavcodec too: a decoder that rounds its own way, another colour
// matrix or another frame is further).
constexpr double kSameRate = 1e-4;
constexpr double kSamePicture = 1.5;
constexpr int kComparedWidth = 480;
// A seek lands a little after the frame's start so that rounding never gives the frame before.
constexpr double kSeekLead = 1.0001;

struct ElementUnref {
  void operator()(GstElement* e) const {
    gst_element_set_state(e, GST_STATE_NULL);
    gst_object_unref(e);
  }
};
struct SampleUnref {
  void operator()(GstSample* s) const { gst_sample_unref(s); }
};
using SamplePtr = std::unique_ptr<GstSample, SampleUnref>;

// Where the pipeline's pads are linked, and what its threads found of the file's claims.
struct VideoLink {
  GstElement* convert = nullptr;
  std::uint64_t fileBytes = 0;
  std::atomic<bool> refused{false};
};

// The colours of a clip FFmpeg cannot read, as GStreamer reads its caps.
ColourSpace ColoursOf(const GstVideoInfo& info) {
  const bool full = info.colorimetry.range == GST_VIDEO_COLOR_RANGE_0_255;
  switch (info.colorimetry.matrix) {
    case GST_VIDEO_COLOR_MATRIX_BT709:
      return {AVCOL_SPC_BT709, full};
    case GST_VIDEO_COLOR_MATRIX_FCC:
      return {AVCOL_SPC_FCC, full};
    case GST_VIDEO_COLOR_MATRIX_SMPTE240M:
      return {AVCOL_SPC_SMPTE240M, full};
    case GST_VIDEO_COLOR_MATRIX_BT2020:
      return {AVCOL_SPC_BT2020_NCL, full};
    default:
      return {AVCOL_SPC_UNSPECIFIED, full};
  }
}

// True when the pad's pictures come straight out of the container: raw pictures there are the
// file's own bytes, so one must fit in the file (a decoder's may be far larger than its input).
bool FromDemuxer(GstPad* pad) {
  GstPad* own = GST_IS_GHOST_PAD(pad) ? gst_ghost_pad_get_target(GST_GHOST_PAD(pad))
                                      : GST_PAD(gst_object_ref(pad));
  GstElement* element = own ? gst_pad_get_parent_element(own) : nullptr;
  const gchar* kind =
      element ? gst_element_get_metadata(element, GST_ELEMENT_METADATA_KLASS) : nullptr;
  const bool demuxer = kind && std::strstr(kind, "Demux");
  if (element) gst_object_unref(element);
  if (own) gst_object_unref(own);
  return demuxer;
}

// A stream whose caps claim a picture beyond the caps, or raw pictures larger than `rawBytes`,
// is not decoded: the chain would allocate buffers of the claimed size first.
bool ClaimsAllowed(const GstCaps* caps, std::uint64_t rawBytes) {
  const GstStructure* s =
      caps && gst_caps_get_size(caps) > 0 ? gst_caps_get_structure(caps, 0) : nullptr;
  gint width = 0;
  gint height = 0;
  if (!s || !gst_structure_get_int(s, "width", &width) ||
      !gst_structure_get_int(s, "height", &height))
    return true;
  if (!PictureSizeAllowed(width, height)) return false;
  GstVideoInfo info;
  return !gst_structure_has_name(s, "video/x-raw") || !gst_caps_is_fixed(caps) ||
         !gst_video_info_from_caps(&info, caps) || RawFrameFits(info.size, rawBytes);
}

bool IsSound(const GstCaps* caps) {
  const GstStructure* s =
      caps && gst_caps_get_size(caps) > 0 ? gst_caps_get_structure(caps, 0) : nullptr;
  return s && g_str_has_prefix(gst_structure_get_name(s), "audio/");
}

// Decodebin asks before plugging elements behind each pad, the container's first. The sound is
// left undecoded: no picture needs it, and its decoder would load the libav plugin for nothing.
gboolean ContinuePlugging(GstElement*, GstPad* pad, GstCaps* caps, gpointer link) {
  auto& video = *static_cast<VideoLink*>(link);
  const std::uint64_t rawBytes = FromDemuxer(pad) ? video.fileBytes : UINT64_MAX;
  if (!ClaimsAllowed(caps, rawBytes)) video.refused = true;
  return !video.refused && !IsSound(caps);
}

// Decodebin's answers to "autoplug-select" (its header is private).
constexpr int kTryFactory = 0;
constexpr int kSkipFactory = 2;

// A decoder that copies each picture gives way to the one that lends them.
int SelectFactory(GstElement*, GstPad*, GstCaps*, GstElementFactory* factory, gpointer) {
  return CopiesWhatIsLent(factory) ? kSkipFactory : kTryFactory;
}

void LinkVideoPad(GstElement*, GstPad* pad, gpointer link) {
  const auto& video = *static_cast<const VideoLink*>(link);
  GstPad* sink = gst_element_get_static_pad(video.convert, "sink");
  GstCaps* caps = gst_pad_get_current_caps(pad);
  if (!caps) caps = gst_pad_query_caps(pad, nullptr);
  const GstStructure* s =
      caps && gst_caps_get_size(caps) > 0 ? gst_caps_get_structure(caps, 0) : nullptr;
  if (s && gst_structure_has_name(s, "video/x-raw") && !video.refused &&
      ClaimsAllowed(caps, UINT64_MAX) && !gst_pad_is_linked(sink))
    gst_pad_link(pad, sink);
  if (caps) gst_caps_unref(caps);
  gst_object_unref(sink);
}

// A file without a video stream would leave the sink waiting for a picture that never comes.
void RefuseWithoutVideo(GstElement* source, gpointer link) {
  GstPad* sink = gst_element_get_static_pad(static_cast<const VideoLink*>(link)->convert, "sink");
  if (!gst_pad_is_linked(sink)) {
    GError* error = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_WRONG_TYPE, "");
    gst_element_post_message(source, gst_message_new_error(GST_OBJECT(source), error, nullptr));
    g_error_free(error);
  }
  gst_object_unref(sink);
}

// Clockwise degrees from an image-orientation tag ("rotate-90"); mirrored orientations and
// lists without one give 0.
int OrientationOf(const GstTagList* tags) {
  gchar* orientation = nullptr;
  if (!gst_tag_list_get_string(tags, GST_TAG_IMAGE_ORIENTATION, &orientation)) return -1;
  int degrees = 0;
  for (const int quarter : {90, 180, 270})
    if (g_strcmp0(orientation, ("rotate-" + std::to_string(quarter)).c_str()) == 0)
      degrees = quarter;
  g_free(orientation);
  return degrees;
}

// Waits for the pipeline to settle in its state, or for the error that stops it, or for someone
// to abandon it; meanwhile notes the display rotation the demuxer found in the file.
bool Settled(GstElement* pipeline, int& rotation, const std::atomic<bool>& abandoned) {
  GstBus* bus = gst_element_get_bus(pipeline);
  const auto wanted =
      static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR | GST_MESSAGE_TAG);
  bool done = false;
  GstClockTime waited = 0;
  for (;;) {
    GstMessage* message = gst_bus_timed_pop_filtered(bus, kWaitSlice, wanted);
    if (!message) {
      waited += kWaitSlice;
      if (abandoned || waited >= kPrerollTimeout) break;
      continue;
    }
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if (type == GST_MESSAGE_TAG) {
      GstTagList* tags = nullptr;
      gst_message_parse_tag(message, &tags);
      if (const int degrees = OrientationOf(tags); degrees >= 0) rotation = degrees;
      gst_tag_list_unref(tags);
    }
    done = type == GST_MESSAGE_ASYNC_DONE;
    gst_message_unref(message);
    if (type != GST_MESSAGE_TAG) break;
  }
  gst_object_unref(bus);
  return done;
}

double MeanDifference(const Bitmap& a, const Bitmap& b) {
  if (a.width != b.width || a.height != b.height || a.pixels.empty()) return 255;
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i)
    sum += static_cast<std::uint64_t>(std::abs(a.pixels[i] - b.pixels[i]));
  return static_cast<double>(sum) / static_cast<double>(a.pixels.size());
}

}  // namespace

struct GStreamerSource::State {
  VideoLink link;  // read by the pipeline's threads: it outlives the pipeline, declared before it
  std::unique_ptr<GstElement, ElementUnref> pipeline{gst_pipeline_new(nullptr)};
  std::atomic<bool> abandoned{false};  // set from another thread: its waits end early
  GstAppSink* sink = nullptr;          // owned by the pipeline
  double interval = 0;
  GstClockTime origin = 0;  // stream time of the first picture
  GstClockTime length = 0;
  int rotation = 0;             // clockwise degrees the file asks for
  std::int32_t delivered = -1;  // frame of the last picture pulled, -1 when unknown
  SamplePtr last;               // that picture, for drawing it again
  GstClockTime deliveredTime = GST_CLOCK_TIME_NONE;  // its buffer's timestamp
  bool playing = false;  // streaming forward, so the decoder works ahead of the stepping
  std::optional<ColourSpace> colours;  // as FFmpeg converts the clip, when it reads it
  RgbConverter converter;

  bool Build(const std::string& fileName);
  // Builds the pipeline and reads what it makes of the clip before any seek.
  std::optional<StreamFacts> Start(const std::string& fileName);
  bool CountReachable(StreamFacts& facts);
  bool Draw(std::int32_t n, int turn, Bitmap& frame);
  bool NeedsSeek(std::int32_t n) const;
  SamplePtr Pull();
  SamplePtr SeekTo(std::int32_t n);
  SamplePtr SampleAt(std::int32_t n);
  SamplePtr PullForward(std::int32_t n);
  bool SeeksLandExactly(std::int32_t k);
  void Deliver(std::int32_t n, GstSample* sample);
};

namespace {
std::vector<std::uint8_t> SampleBytes(GstSample* sample) {
  GstBuffer* buffer = sample ? gst_sample_get_buffer(sample) : nullptr;
  GstMapInfo map;
  if (!buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ)) return {};
  std::vector<std::uint8_t> bytes(map.data, map.data + map.size);
  gst_buffer_unmap(buffer, &map);
  return bytes;
}
}  // namespace

// Some demuxer and decoder pairs (B-frames in AVI) land a few pictures off after a seek, though
// stepping counts right: frame k reached both ways must be the same picture, or the clip is left
// to another framework.
bool GStreamerSource::State::SeeksLandExactly(std::int32_t k) {
  if (k <= 0 || !SeekTo(0)) return k <= 0;
  const auto stepped = SampleBytes(SampleAt(k).get());
  const auto sought = SampleBytes(SeekTo(k).get());
  if (stepped.empty() || stepped.size() != sought.size()) return false;
  std::uint64_t difference = 0;
  for (std::size_t i = 0; i < stepped.size(); ++i)
    difference += static_cast<std::uint64_t>(std::abs(stepped[i] - sought[i]));
  return difference <= stepped.size();  // within one level a byte on average
}

bool GStreamerSource::State::Build(const std::string& fileName) {
  gchar* uri = gst_filename_to_uri(fileName.c_str(), nullptr);
  if (!uri) return false;
  GstElement* source = gst_element_factory_make("uridecodebin", nullptr);
  GstElement* convert = gst_element_factory_make("videoconvert", nullptr);
  GstElement* appsink = gst_element_factory_make("appsink", nullptr);
  if (!pipeline || !source || !convert || !appsink) {
    for (GstElement* e : {source, convert, appsink})
      if (e) gst_object_unref(e);
    g_free(uri);
    return false;
  }
  g_object_set(source, "uri", uri, nullptr);
  // Layouts swscale cannot read are converted by GStreamer: one thread a processor.
  g_object_set(convert, "n-threads", 0u, nullptr);
  g_free(uri);
  GstCaps* layouts = ReadableLayouts();
  // Every picture waiting in the sink is one the decoder cannot reuse (at 4K, 12 MB of memory
  // touched for the first time): the decoder works one picture ahead of the stepping, no more.
  g_object_set(appsink, "caps", layouts, "sync", FALSE, "max-buffers", 1u, "drop", FALSE,
               "enable-last-sample", FALSE, nullptr);
  gst_caps_unref(layouts);
  gst_bin_add_many(GST_BIN(pipeline.get()), source, convert, appsink, nullptr);
  if (!gst_element_link(convert, appsink)) return false;
  std::error_code error;
  link.convert = convert;
  link.fileBytes = std::filesystem::file_size(fileName, error);
  if (error) return false;
  g_signal_connect(source, "autoplug-continue", G_CALLBACK(ContinuePlugging), &link);
  g_signal_connect(source, "autoplug-select", G_CALLBACK(SelectFactory), nullptr);
  g_signal_connect(source, "pad-added", G_CALLBACK(LinkVideoPad), &link);
  g_signal_connect(source, "no-more-pads", G_CALLBACK(RefuseWithoutVideo), &link);
  sink = GST_APP_SINK(appsink);
  // Paused, the sink holds exactly the picture at the position; seeks and steps move it.
  if (gst_element_set_state(pipeline.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
    return false;
  return Settled(pipeline.get(), rotation, abandoned);
}

SamplePtr GStreamerSource::State::Pull() {
  GstStateChangeReturn state = GST_STATE_CHANGE_ASYNC;
  for (GstClockTime waited = 0;
       state == GST_STATE_CHANGE_ASYNC && !abandoned && waited < kPrerollTimeout;
       waited += kWaitSlice)
    state = gst_element_get_state(pipeline.get(), nullptr, nullptr, kWaitSlice);
  if (state != GST_STATE_CHANGE_SUCCESS) return nullptr;
  return SamplePtr(gst_app_sink_try_pull_preroll(sink, kPullTimeout));
}

void GStreamerSource::State::Deliver(std::int32_t n, GstSample* sample) {
  delivered = n;
  last.reset(gst_sample_ref(sample));
  const GstBuffer* buffer = gst_sample_get_buffer(sample);
  deliveredTime = buffer ? GST_BUFFER_PTS(buffer) : GST_CLOCK_TIME_NONE;
}

SamplePtr GStreamerSource::State::SeekTo(std::int32_t n) {
  if (playing) {
    gst_element_set_state(pipeline.get(), GST_STATE_PAUSED);
    playing = false;
  }
  const double wanted = origin + n * kSeekLead * interval * GST_SECOND;
  const auto time = static_cast<GstClockTime>(std::clamp(wanted, 0.0, static_cast<double>(length)));
  delivered = -1;
  last.reset();
  if (!gst_element_seek_simple(
          pipeline.get(), GST_FORMAT_TIME,
          static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
          static_cast<gint64>(time)))
    return nullptr;
  // An accurate seek clips everything before the wanted time, so this is frame n.
  SamplePtr sample = Pull();
  if (sample) Deliver(n, sample.get());
  return sample;
}

// Playing without clock, the sink takes each picture as the decoder gives it; they come in
// presentation order, so counting them stays exact where some containers' timestamps are not
// (B-frames in AVI). The picture already shown may come again first: it is recognised by its
// timestamp and skipped.
SamplePtr GStreamerSource::State::PullForward(std::int32_t n) {
  if (!playing) {
    if (gst_element_set_state(pipeline.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
      return nullptr;
    playing = true;
  }
  SamplePtr sample;
  while (delivered < n) {
    sample.reset(gst_app_sink_try_pull_sample(sink, kPullTimeout));
    if (!sample) return nullptr;
    const GstBuffer* buffer = gst_sample_get_buffer(sample.get());
    if (buffer && GST_BUFFER_PTS(buffer) == deliveredTime && deliveredTime != GST_CLOCK_TIME_NONE)
      continue;
    Deliver(delivered + 1, sample.get());
  }
  return sample;
}

namespace {
// Frames a little ahead of the one a decoder delivered last are reached by decoding on.
bool ReachedByStepping(std::int32_t delivered, std::int32_t n) {
  return delivered >= 0 && n > delivered && n - delivered <= kForwardSteps;
}
}  // namespace

bool GStreamerSource::State::NeedsSeek(std::int32_t n) const {
  if (n == delivered && last) return false;
  return !ReachedByStepping(delivered, n);
}

SamplePtr GStreamerSource::State::SampleAt(std::int32_t n) {
  if (n == delivered && last) return SamplePtr(gst_sample_ref(last.get()));
  if (NeedsSeek(n)) return SeekTo(n);
  SamplePtr sample = PullForward(n);
  return sample ? std::move(sample) : SeekTo(n);
}

GStreamerSource::GStreamerSource() = default;
GStreamerSource::~GStreamerSource() { Close(); }

std::optional<FrameSource::StreamFacts> GStreamerSource::State::Start(const std::string& fileName) {
  if (!Build(fileName)) return std::nullopt;
  SamplePtr first = Pull();
  GstCaps* caps = first ? gst_sample_get_caps(first.get()) : nullptr;
  GstVideoInfo info;
  gint64 duration = 0;
  if (!caps || !gst_video_info_from_caps(&info, caps) || info.fps_n <= 0 || info.fps_d <= 0 ||
      !gst_element_query_duration(pipeline.get(), GST_FORMAT_TIME, &duration) || duration <= 0)
    return std::nullopt;
  const double rate = static_cast<double>(info.fps_n) / info.fps_d;
  interval = 1.0 / rate;
  length = static_cast<GstClockTime>(duration);
  const GstBuffer* buffer = gst_sample_get_buffer(first.get());
  const GstSegment* segment = gst_sample_get_segment(first.get());
  if (buffer && segment && GST_BUFFER_PTS_IS_VALID(buffer)) {
    const GstClockTime t =
        gst_segment_to_stream_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
    if (GST_CLOCK_TIME_IS_VALID(t)) origin = t;
  }
  Deliver(0, first.get());
  // The count comes from the duration; a count the file could not even hold is refused before
  // any seek goes looking for it.
  const double claimed =
      std::max(1.0, std::round(static_cast<double>(duration) / GST_SECOND * rate));
  if (!FrameCountAllowed(static_cast<std::int64_t>(std::min(claimed, 1e18)), link.fileBytes) ||
      claimed > INT32_MAX)
    return std::nullopt;
  return StreamFacts{static_cast<std::int32_t>(claimed), info.width, info.height, rate, rotation};
}

// A container that overstates its duration loses its phantom frames: the count is lowered until
// its last frame is found.
bool GStreamerSource::State::CountReachable(StreamFacts& facts) {
  for (int tries = 0; tries < kCountChecks && facts.frameCount > 1; ++tries) {
    if (SeekTo(facts.frameCount - 1)) return true;
    --facts.frameCount;
  }
  return facts.frameCount == 1 || SeekTo(facts.frameCount - 1);
}

std::optional<FrameSource::StreamFacts> GStreamerSource::OpenFile(const std::string& fileName) {
  // GStreamer starts (and its first start loads it) on a thread of its own while FFmpeg reads
  // the clip on this one, where the progress of a long listing reaches the window.
  auto starting = std::async(std::launch::async, [fileName] {
    if (!GStreamerReady())
      return std::make_pair(std::unique_ptr<State>(), std::optional<StreamFacts>());
    auto state = std::make_unique<State>();
    auto facts = state->Start(fileName);
    return std::make_pair(facts ? std::move(state) : nullptr, facts);
  });
  // FFmpeg's reading of the clip, where it has one, is what GStreamer's must agree with.
  refusedReading_.reset();
  auto reference = std::make_unique<FFmpegSource>();
  // One thread for its frames: it decodes beside GStreamer now, and behind the window in the
  // check that follows.
  reference->decoderThreads = 1;
  reference->onOpeningProgress = [this](double fraction) { return OpeningGoesOn(fraction); };
  const bool referenced = reference->OpenUndrawn(fileName);
  // FFmpeg's first frame is decoded while GStreamer is still starting.
  const Bitmap firstFrame = referenced ? ComparedPicture(*reference, 0) : Bitmap{};
  auto [state, facts] = starting.get();
  if (OpeningCancelled()) return std::nullopt;
  if (!state) {
    if (referenced) refusedReading_ = std::move(reference);
    return std::nullopt;
  }
  if (!referenced) {
    // Clips FFmpeg cannot read are taken on GStreamer's word, once its seeks land where its
    // stepping does.
    if (!state->CountReachable(*facts) ||
        !state->SeeksLandExactly(std::min(facts->frameCount - 1, kSeekCheckFrame)))
      return std::nullopt;
    state_ = std::move(state);
    return facts;
  }
  // A duration overstated by a frame or two counts phantom frames at the end: the count is
  // FFmpeg's, and the check that follows seeks GStreamer's last frame.
  const std::int32_t phantoms = facts->frameCount - reference->FrameCount();
  if (phantoms > 0 && phantoms <= kCountChecks) facts->frameCount = reference->FrameCount();
  // From this comparison on, GStreamer's pictures take the colours FFmpeg read in the clip.
  state->colours = reference->Colours();
  if (!SameTimeline(*reference, *facts) || !SamePicture(*state, firstFrame, 0)) {
    refusedReading_ = std::move(reference);
    return std::nullopt;
  }
  state_ = std::move(state);
  // The pictures FFmpeg decoded for the comparison are given back (at 4K, three of 12 MB): the
  // first frame drawn reuses that memory instead of touching fresh memory.
  reference->DecodeWithThreads(1);
  CheckInBackground(fileName, *facts, std::move(reference));
  return facts;
}

// GStreamer's demuxers count edit lists, program streams' first times and hidden VP9 pictures
// their own way: where FFmpeg reads the clip, the count, the interval and the rotation must be
// the same (GStreamer finds frame n at n x T: a variable frame rate puts other frames there).
bool GStreamerSource::SameTimeline(const FFmpegSource& reference, const StreamFacts& facts) {
  return reference.EvenlySpaced() && reference.FrameCount() == facts.frameCount &&
         reference.StoredWidth() == facts.width && reference.StoredHeight() == facts.height &&
         reference.Rotation() == facts.rotation &&
         std::abs(reference.FramesPerSecond() / facts.framesPerSecond - 1) < kSameRate;
}

// Both pictures are brought down to the same small size by the same scaler: another frame or
// other colours still show, and a 4K clip's comparison no longer holds two full pictures.
// FFmpeg's frame n so reduced; empty when FFmpeg cannot decode it.
Bitmap GStreamerSource::ComparedPicture(FFmpegSource& reference, std::int32_t n) {
  const int width = std::min(reference.StoredWidth(), kComparedWidth);
  const int height =
      std::max(1, static_cast<int>(std::lround(static_cast<double>(reference.StoredHeight()) *
                                               width / reference.StoredWidth())));
  Bitmap theirs;
  theirs.Resize(width, height);
  if (!reference.DecodeStoredAlone(n, theirs)) return {};
  return theirs;
}

bool GStreamerSource::SamePicture(State& state, const Bitmap& theirs, std::int32_t n) {
  if (theirs.pixels.empty()) return false;
  Bitmap ours;
  ours.Resize(theirs.width, theirs.height);
  return state.Draw(n, 0, ours) && MeanDifference(ours, theirs) <= kSamePicture;
}

bool GStreamerSource::FramesAgree(State& state, FFmpegSource& reference, std::int32_t n) {
  return SamePicture(state, ComparedPicture(reference, n), n);
}

namespace {
std::int64_t SteadyNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
}  // namespace

// Seeks can miss: in long groups of pictures, in HEVC just before a keyframe, with B-frames in
// AVI. Once the first frame shows, a second pipeline seeks to the last frame, to one just before
// a keyframe and to one early in the clip, each compared with FFmpeg's. Until the verdict,
// GStreamer serves only frames reached by stepping forward from the first, FFmpeg the others; a
// clip that fails is served from FFmpeg's frames from then on, the same frames the window expects.
void GStreamerSource::CheckInBackground(const std::string& fileName, const StreamFacts& facts,
                                        std::unique_ptr<FFmpegSource> reference) {
  check_ = std::make_unique<Check>();
  // The opening counts as a step: the first frame is drawn next, and the check, a second
  // pipeline and its decoding, must not start beside the stepping that may follow at once.
  check_->lastStep = SteadyNanoseconds();
  check_->reference = std::move(reference);
  const std::vector<std::int32_t> keys = check_->reference->KeyFrames();
  const std::int32_t last = facts.frameCount - 1;
  const std::vector<std::int32_t> frames = {last, keys.size() > 1 ? keys.back() - 1 : last / 2,
                                            std::min(last, kSeekCheckFrame)};
  check_->probe = std::make_unique<State>();
  check_->probe->colours = state_->colours;
  Check* check = check_.get();
  check->verdict =
      std::async(std::launch::async, [check, fileName, frames] {
        // Behind the window's own work: stepping keeps its pace meanwhile.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kCheckNiceness);
        State& probe = *check->probe;
        check->WaitForIdleSource();
        // A clip closed meanwhile is not worth a second pipeline.
        if (probe.abandoned || !probe.Start(fileName)) return false;
        for (const std::int32_t n : frames) {
          check->WaitForIdleSource();
          if (probe.abandoned || !probe.SeekTo(n) || !FramesAgree(probe, *check->reference, n))
            return false;
        }
        return true;
      }).share();
}

// Stepping through the clip has the processors to itself: the check waits for a pause in it.
void GStreamerSource::Check::WaitForIdleSource() const {
  constexpr std::int64_t kPause = 200'000'000;
  while (!awaited && !probe->abandoned && (drawing || SteadyNanoseconds() - lastStep < kPause))
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void GStreamerSource::SettleCheck() {
  if (!check_) return;
  check_->awaited = true;
  if (!check_->verdict.get()) {
    // The check decoded on one thread; the frames are served on all of them.
    if (!meanwhile_) check_->reference->DecodeWithThreads(0);
    fallback_ = meanwhile_ ? std::move(meanwhile_) : std::move(check_->reference);
    state_.reset();
  }
  check_.reset();
}

bool GStreamerSource::ServedMeanwhile(std::int32_t n) const {
  if (check_) return meanwhile_ || state_->NeedsSeek(n);
  return meanwhile_ && (n == meanwhileFrame_ || ReachedByStepping(meanwhileFrame_, n));
}

// A seek waits for no verdict: FFmpeg, whose frames are those the check compares with, serves it
// and the frames stepped on from it, until GStreamer is trusted and the user seeks again.
bool GStreamerSource::DrawMeanwhile(std::int32_t n, int turn, Bitmap& frame) {
  if (!meanwhile_) {
    meanwhile_ = std::make_unique<FFmpegSource>();
    if (!meanwhile_->OpenUndrawn(FileName())) {
      meanwhile_.reset();
      SettleCheck();
      return fallback_ ? fallback_->DecodeServed(n, turn, frame) : state_->Draw(n, turn, frame);
    }
  }
  meanwhileFrame_ = n;
  return meanwhile_->DecodeServed(n, turn, frame);
}

bool GStreamerSource::ServesItsOwnFrames() const {
  if (!check_) return !fallback_;
  check_->awaited = true;
  return check_->verdict.get();
}

void GStreamerSource::CloseFile() {
  if (check_) {
    // The check's waits and reads are cut short rather than waited for.
    check_->probe->abandoned = true;
    check_->reference->Interrupt();
    gst_element_set_state(check_->probe->pipeline.get(), GST_STATE_NULL);
    check_->verdict.wait();
    check_.reset();
  }
  state_.reset();
  fallback_.reset();
  meanwhile_.reset();
  meanwhileFrame_ = -1;
}

bool GStreamerSource::DecodeFrame(std::int32_t n, int turn, Bitmap& frame) {
  if (check_ && check_->verdict.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
    SettleCheck();
  if (!check_) return Serve(n, turn, frame);
  // The check waits while a frame is drawn (the first ones after the opening take long) and for a
  // pause after it.
  check_->drawing = true;
  const bool drawn = Serve(n, turn, frame);
  if (check_) {
    check_->lastStep = SteadyNanoseconds();
    check_->drawing = false;
  }
  return drawn;
}

bool GStreamerSource::Serve(std::int32_t n, int turn, Bitmap& frame) {
  if (fallback_) return fallback_->DecodeServed(n, turn, frame);
  if (ServedMeanwhile(n)) return DrawMeanwhile(n, turn, frame);
  meanwhile_.reset();
  return state_->Draw(n, turn, frame);
}

bool GStreamerSource::State::Draw(std::int32_t n, int turn, Bitmap& frame) {
  SamplePtr sample = SampleAt(n);
  GstCaps* caps = sample ? gst_sample_get_caps(sample.get()) : nullptr;
  GstBuffer* buffer = sample ? gst_sample_get_buffer(sample.get()) : nullptr;
  GstVideoInfo info;
  if (!caps || !buffer || !gst_video_info_from_caps(&info, caps)) return false;
  const AVPixelFormat layout = FFmpegLayout(GST_VIDEO_INFO_FORMAT(&info));
  GstVideoFrame video;
  if (layout == AV_PIX_FMT_NONE || !gst_video_frame_map(&video, &info, buffer, GST_MAP_READ))
    return false;
  const std::uint8_t* planes[4] = {};
  int lines[4] = {};
  for (guint i = 0; i < GST_VIDEO_FRAME_N_PLANES(&video) && i < 4; ++i) {
    planes[i] = static_cast<const std::uint8_t*>(GST_VIDEO_FRAME_PLANE_DATA(&video, i));
    lines[i] = GST_VIDEO_FRAME_PLANE_STRIDE(&video, i);
  }
  const ColourSpace picture = colours.value_or(ColoursOf(info));
  const bool converted =
      converter.Convert({planes, lines, layout, info.width, info.height}, picture, frame, turn);
  gst_video_frame_unmap(&video);
  return converted;
}

}  // namespace kinovia
