#include "media/video/GStreamerSource.h"

#include "media/video/MediaLibraries.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "media/video/FFmpegSource.h"
#include "media/video/PictureConversion.h"
#include "media/video/PictureLimits.h"

namespace kinovia {
namespace {

// Waits are bounded so that a file the decoders choke on cannot hang the program.
constexpr GstClockTime kPrerollTimeout = 10 * GST_SECOND;
constexpr GstClockTime kPullTimeout = 10 * GST_SECOND;
constexpr std::int32_t kForwardSteps = 32;
constexpr int kCountChecks = 3;
constexpr std::int32_t kSeekCheckFrame = 16;
// Two readings of a clip agree within these: the relative difference of their frame rates, and
// the mean difference per channel of their pictures (GStreamer's integer colour conversion rounds
// up to about 3 levels away from swscale's; another colour matrix or another frame is further).
constexpr double kSameRate = 1e-4;
constexpr double kSamePicture = 4;
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

// The pictures reach the sink as the decoder gives them, wherever swscale reads that layout, and
// are turned into RGB by the same conversion as FFmpeg's pictures: the same colours as the ffmpeg
// tool, and no conversion by GStreamer of its own. Other layouts are converted by GStreamer into
// the nearest of these.
struct PixelLayout {
  GstVideoFormat gstreamer;
  AVPixelFormat ffmpeg;
};
constexpr PixelLayout kPixelLayouts[] = {
    {GST_VIDEO_FORMAT_I420, AV_PIX_FMT_YUV420P},
    {GST_VIDEO_FORMAT_NV12, AV_PIX_FMT_NV12},
    {GST_VIDEO_FORMAT_NV21, AV_PIX_FMT_NV21},
    {GST_VIDEO_FORMAT_Y42B, AV_PIX_FMT_YUV422P},
    {GST_VIDEO_FORMAT_Y444, AV_PIX_FMT_YUV444P},
    {GST_VIDEO_FORMAT_Y41B, AV_PIX_FMT_YUV411P},
    {GST_VIDEO_FORMAT_I420_10LE, AV_PIX_FMT_YUV420P10LE},
    {GST_VIDEO_FORMAT_I422_10LE, AV_PIX_FMT_YUV422P10LE},
    {GST_VIDEO_FORMAT_Y444_10LE, AV_PIX_FMT_YUV444P10LE},
    {GST_VIDEO_FORMAT_P010_10LE, AV_PIX_FMT_P010LE},
    {GST_VIDEO_FORMAT_YUY2, AV_PIX_FMT_YUYV422},
    {GST_VIDEO_FORMAT_UYVY, AV_PIX_FMT_UYVY422},
    {GST_VIDEO_FORMAT_GRAY8, AV_PIX_FMT_GRAY8},
    {GST_VIDEO_FORMAT_RGB, AV_PIX_FMT_RGB24},
    {GST_VIDEO_FORMAT_BGR, AV_PIX_FMT_BGR24},
    {GST_VIDEO_FORMAT_RGBx, AV_PIX_FMT_RGB0},
    {GST_VIDEO_FORMAT_BGRx, AV_PIX_FMT_BGR0},
    {GST_VIDEO_FORMAT_xRGB, AV_PIX_FMT_0RGB},
    {GST_VIDEO_FORMAT_xBGR, AV_PIX_FMT_0BGR},
    {GST_VIDEO_FORMAT_RGBA, AV_PIX_FMT_RGBA},
    {GST_VIDEO_FORMAT_BGRA, AV_PIX_FMT_BGRA},
    {GST_VIDEO_FORMAT_ARGB, AV_PIX_FMT_ARGB},
    {GST_VIDEO_FORMAT_ABGR, AV_PIX_FMT_ABGR},
};

AVPixelFormat FFmpegLayout(GstVideoFormat format) {
  for (const auto& layout : kPixelLayouts)
    if (layout.gstreamer == format) return layout.ffmpeg;
  return AV_PIX_FMT_NONE;
}

GstCaps* ReadableLayouts() {
  GValue list = G_VALUE_INIT;
  gst_value_list_init(&list, std::size(kPixelLayouts));
  for (const auto& layout : kPixelLayouts) {
    GValue name = G_VALUE_INIT;
    g_value_init(&name, G_TYPE_STRING);
    g_value_set_string(&name, gst_video_format_to_string(layout.gstreamer));
    gst_value_list_append_and_take_value(&list, &name);
  }
  GstCaps* caps = gst_caps_new_empty_simple("video/x-raw");
  gst_caps_set_value(caps, "format", &list);
  g_value_unset(&list);
  return caps;
}

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

// Decodebin asks before plugging elements behind each pad, the container's first.
gboolean ContinuePlugging(GstElement*, GstPad* pad, GstCaps* caps, gpointer link) {
  auto& video = *static_cast<VideoLink*>(link);
  const std::uint64_t rawBytes = FromDemuxer(pad) ? video.fileBytes : UINT64_MAX;
  if (!ClaimsAllowed(caps, rawBytes)) video.refused = true;
  return !video.refused;
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

// Waits for the pipeline to settle in its state, or for the error that stops it; meanwhile
// notes the display rotation the demuxer found in the file.
bool Settled(GstElement* pipeline, int& rotation) {
  GstBus* bus = gst_element_get_bus(pipeline);
  const auto wanted =
      static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR | GST_MESSAGE_TAG);
  bool done = false;
  for (;;) {
    GstMessage* message = gst_bus_timed_pop_filtered(bus, kPrerollTimeout, wanted);
    if (!message) break;
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
  std::unique_ptr<GstElement, ElementUnref> pipeline;
  GstAppSink* sink = nullptr;  // owned by the pipeline
  double interval = 0;
  GstClockTime origin = 0;  // stream time of the first picture
  GstClockTime length = 0;
  int rotation = 0;             // clockwise degrees the file asks for
  std::int32_t delivered = -1;  // frame of the last picture pulled, -1 when unknown
  SamplePtr last;               // that picture, for drawing it again
  // While the clip opens: its last frame, found by the count's check, for the comparison with
  // FFmpeg that follows other seeks.
  SamplePtr end;
  std::int32_t endFrame = -1;
  GstClockTime deliveredTime = GST_CLOCK_TIME_NONE;  // its buffer's timestamp
  bool playing = false;  // streaming forward, so the decoder works ahead of the stepping
  std::optional<ColourSpace> colours;  // as FFmpeg converts the clip, when it reads it
  RgbConverter converter;

  bool Build(const std::string& fileName);
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
  pipeline.reset(gst_pipeline_new(nullptr));
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
  g_object_set(appsink, "caps", layouts, "sync", FALSE, "max-buffers", 2u, "drop", FALSE, nullptr);
  gst_caps_unref(layouts);
  gst_bin_add_many(GST_BIN(pipeline.get()), source, convert, appsink, nullptr);
  if (!gst_element_link(convert, appsink)) return false;
  std::error_code error;
  link.convert = convert;
  link.fileBytes = std::filesystem::file_size(fileName, error);
  if (error) return false;
  g_signal_connect(source, "autoplug-continue", G_CALLBACK(ContinuePlugging), &link);
  g_signal_connect(source, "pad-added", G_CALLBACK(LinkVideoPad), &link);
  g_signal_connect(source, "no-more-pads", G_CALLBACK(RefuseWithoutVideo), &link);
  sink = GST_APP_SINK(appsink);
  // Paused, the sink holds exactly the picture at the position; seeks and steps move it.
  if (gst_element_set_state(pipeline.get(), GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
    return false;
  return Settled(pipeline.get(), rotation);
}

SamplePtr GStreamerSource::State::Pull() {
  if (gst_element_get_state(pipeline.get(), nullptr, nullptr, kPrerollTimeout) !=
      GST_STATE_CHANGE_SUCCESS)
    return nullptr;
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

SamplePtr GStreamerSource::State::SampleAt(std::int32_t n) {
  if (n == delivered && last) return SamplePtr(gst_sample_ref(last.get()));
  if (n == endFrame && end) return SamplePtr(gst_sample_ref(end.get()));
  if (delivered < 0 || n <= delivered || n - delivered > kForwardSteps) return SeekTo(n);
  SamplePtr sample = PullForward(n);
  return sample ? std::move(sample) : SeekTo(n);
}

GStreamerSource::GStreamerSource() = default;
GStreamerSource::~GStreamerSource() { Close(); }

std::optional<FrameSource::StreamFacts> GStreamerSource::OpenFile(const std::string& fileName) {
  if (!GStreamerReady()) return std::nullopt;
  // FFmpeg's reading of the clip, where it has one, is what GStreamer's must agree with.
  FFmpegSource reference;
  reference.onOpeningProgress = [this](double fraction) { return OpeningGoesOn(fraction); };
  const bool referenced = reference.Open(fileName);
  if (OpeningCancelled()) return std::nullopt;
  auto state = std::make_unique<State>();
  if (referenced) state->colours = reference.Colours();
  if (!state->Build(fileName)) return std::nullopt;
  SamplePtr first = state->Pull();
  GstCaps* caps = first ? gst_sample_get_caps(first.get()) : nullptr;
  GstVideoInfo info;
  gint64 length = 0;
  if (!caps || !gst_video_info_from_caps(&info, caps) || info.fps_n <= 0 || info.fps_d <= 0 ||
      !gst_element_query_duration(state->pipeline.get(), GST_FORMAT_TIME, &length) || length <= 0)
    return std::nullopt;
  const double rate = static_cast<double>(info.fps_n) / info.fps_d;
  state->interval = 1.0 / rate;
  state->length = static_cast<GstClockTime>(length);
  const GstBuffer* buffer = gst_sample_get_buffer(first.get());
  const GstSegment* segment = gst_sample_get_segment(first.get());
  if (buffer && segment && GST_BUFFER_PTS_IS_VALID(buffer)) {
    const GstClockTime t =
        gst_segment_to_stream_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
    if (GST_CLOCK_TIME_IS_VALID(t)) state->origin = t;
  }
  state->delivered = 0;
  // The count comes from the duration; a container that overstates it loses its phantom frames,
  // and a count the file could not even hold is refused before any seek goes looking for it.
  const double claimed = std::max(1.0, std::round(static_cast<double>(length) / GST_SECOND * rate));
  if (!FrameCountAllowed(static_cast<std::int64_t>(std::min(claimed, 1e18)),
                         state->link.fileBytes) ||
      claimed > INT32_MAX)
    return std::nullopt;
  auto count = static_cast<std::int32_t>(claimed);
  for (int tries = 0; tries < kCountChecks && count > 1 && !state->SeekTo(count - 1); ++tries)
    --count;
  if (state->delivered == count - 1 && state->last) {
    state->end.reset(gst_sample_ref(state->last.get()));
    state->endFrame = count - 1;
  }
  if (!state->SeeksLandExactly(std::min(count - 1, kSeekCheckFrame))) return std::nullopt;
  const StreamFacts facts{count, info.width, info.height, rate, state->rotation};
  state_ = std::move(state);
  if (referenced && !AgreesWith(reference, facts)) {
    state_.reset();
    return std::nullopt;
  }
  state_->end.reset();
  return facts;
}

// GStreamer's demuxers count edit lists, program streams' first times and hidden VP9 pictures
// their own way, and its seeks can miss in long groups of pictures: where FFmpeg reads the clip,
// the count, the interval and the pictures at both ends and before a keyframe must be the same,
// or the clip is refused and the next framework takes it. Clips FFmpeg cannot read are taken on
// GStreamer's word.
bool GStreamerSource::AgreesWith(
    FFmpegSource& reference,
    const StreamFacts& facts) {  // GStreamer finds frame n at n x T: a variable frame rate puts
                                 // other frames there.
  const bool sameTimeline =
      reference.EvenlySpaced() && reference.FrameCount() == facts.frameCount &&
      reference.Rotation() == facts.rotation &&
      std::abs(reference.FramesPerSecond() / facts.framesPerSecond - 1) < kSameRate;
  if (!sameTimeline) return false;
  // The last frame, then one just before a keyframe (where seeks in HEVC land one late), then
  // the first: each is reached by a seek.
  const std::vector<std::int32_t> keys = reference.KeyFrames();
  const std::int32_t beforeKey = keys.size() > 1 ? keys.back() - 1 : facts.frameCount / 2;
  Bitmap ours;
  Bitmap turned;
  Bitmap theirs;
  for (const std::int32_t n : {facts.frameCount - 1, beforeKey, 0}) {
    ours.Resize(facts.width, facts.height);
    reference.SetPosition(n);
    if (!DecodeFrame(n, ours) || !reference.DrawWhole(theirs)) return false;
    if (facts.rotation != 0) TurnClockwise(ours, facts.rotation, turned);
    if (MeanDifference(facts.rotation != 0 ? turned : ours, theirs) > kSamePicture) return false;
  }
  return true;
}

void GStreamerSource::CloseFile() { state_.reset(); }

bool GStreamerSource::DecodeFrame(std::int32_t n, Bitmap& frame) {
  SamplePtr sample = state_->SampleAt(n);
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
  const ColourSpace colours = state_->colours.value_or(ColoursOf(info));
  const bool converted =
      state_->converter.Convert({planes, lines, layout, info.width, info.height}, colours, frame);
  gst_video_frame_unmap(&video);
  return converted;
}

}  // namespace kinovia
