#include "media/video/FFmpegSource.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "media/video/AvHandles.h"
#include "media/video/MediaLibraries.h"
#include "resources/TxtCommon.h"
#include "resources/TxtVideo.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace kinovia {
namespace {

struct ScaleFree {
  void operator()(SwsContext* s) const { sws_freeContext(s); }
};

AvFormatPtr OpenInput(const std::string& fileName) {
  AVFormatContext* raw = nullptr;
  if (avformat_open_input(&raw, fileName.c_str(), nullptr, nullptr) < 0) return nullptr;
  return AvFormatPtr(raw);
}

constexpr std::int32_t kForwardSteps = 32;
constexpr int kEarlierKeyTries = 3;

// A keyframe in decoding order: where a seek can start.
struct KeyFrame {
  std::int64_t seekTime = 0;    // where a seek to the keyframe aims
  std::int32_t firstShown = 0;  // index of the keyframe's own picture among the shown frames
};

}  // namespace

struct FFmpegSource::State {
  AvFormatPtr format;
  AvCodecPtr codec;
  AvPacketPtr packet{av_packet_alloc()};
  AvFramePtr frame{av_frame_alloc()};
  std::unique_ptr<SwsContext, ScaleFree> scale;
  AVStream* stream = nullptr;
  std::vector<std::int64_t> shownTimes;  // presentation time of each frame, ascending
  std::vector<KeyFrame> keyFrames;
  std::int32_t decoded = -1;  // frame the decoder gave last
  bool draining = false;
  bool countFromStart = false;  // pictures are known by their rank from the start, not their time

  bool OpenDecoder();
  bool ListByPackets();
  bool ListByDecoding();
  void ListKeyFrames(const std::vector<std::pair<std::int64_t, std::int64_t>>& keys);
  bool SeekToKey(std::size_t k);
  std::optional<std::int32_t> NextFrame();
  std::int32_t FrameOfTime(std::int64_t t) const;
  double FramesPerSecond() const;
  std::int64_t StartTime() const {
    return stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
  }
  bool Convert(Bitmap& out);
  bool DecodeAt(std::int32_t n, Bitmap& out);
};

bool FFmpegSource::State::OpenDecoder() {
  const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!decoder) return false;
  codec.reset(avcodec_alloc_context3(decoder));
  if (!codec || avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0) return false;
  codec->thread_count = 0;
  return avcodec_open2(codec.get(), decoder, nullptr) >= 0;
}

// Presentation and decoding times of every packet of the stream, read without decoding.
bool FFmpegSource::State::ListByPackets() {
  std::vector<std::pair<std::int64_t, std::int64_t>> keys;  // (shown, seek) times of keyframes
  shownTimes.clear();
  while (av_read_frame(format.get(), packet.get()) >= 0) {
    if (packet->stream_index == stream->index) {
      if (packet->pts == AV_NOPTS_VALUE) {
        av_packet_unref(packet.get());
        return false;
      }
      shownTimes.push_back(packet->pts);
      if (packet->flags & AV_PKT_FLAG_KEY) keys.emplace_back(packet->pts, packet->pts);
    }
    av_packet_unref(packet.get());
  }
  std::sort(shownTimes.begin(), shownTimes.end());
  const bool distinct =
      std::adjacent_find(shownTimes.begin(), shownTimes.end()) == shownTimes.end();
  if (!distinct || keys.empty() || shownTimes.size() > INT32_MAX) return false;
  ListKeyFrames(keys);
  return true;
}

// For streams whose packets do not tell the pictures apart: decode everything once.
bool FFmpegSource::State::ListByDecoding() {
  shownTimes.clear();
  keyFrames.clear();
  if (av_seek_frame(format.get(), stream->index, StartTime(), AVSEEK_FLAG_BACKWARD) < 0 &&
      av_seek_frame(format.get(), -1, 0, AVSEEK_FLAG_BYTE) < 0)
    return false;
  avcodec_flush_buffers(codec.get());
  draining = false;
  countFromStart = true;
  decoded = -1;
  while (NextFrame()) {
    std::int64_t t = frame->best_effort_timestamp;
    if (t == AV_NOPTS_VALUE || (!shownTimes.empty() && t <= shownTimes.back()))
      t = shownTimes.empty() ? 0 : shownTimes.back() + 1;
    shownTimes.push_back(t);
  }
  if (shownTimes.empty() || shownTimes.size() > INT32_MAX) return false;
  std::vector<std::pair<std::int64_t, std::int64_t>> keys;
  // Without trustworthy times every seek restarts from the beginning and counts pictures.
  keys.assign(1, {shownTimes.front(), StartTime()});
  ListKeyFrames(keys);
  return true;
}

void FFmpegSource::State::ListKeyFrames(
    const std::vector<std::pair<std::int64_t, std::int64_t>>& keys) {
  keyFrames.clear();
  for (const auto& [shown, seek] : keys) keyFrames.push_back({seek, FrameOfTime(shown)});
  std::sort(keyFrames.begin(), keyFrames.end(),
            [](const KeyFrame& a, const KeyFrame& b) { return a.firstShown < b.firstShown; });
  keyFrames.front().firstShown = 0;
}

std::int32_t FFmpegSource::State::FrameOfTime(std::int64_t t) const {
  const auto it = std::lower_bound(shownTimes.begin(), shownTimes.end(), t);
  if (it == shownTimes.end()) return static_cast<std::int32_t>(shownTimes.size());
  return static_cast<std::int32_t>(it - shownTimes.begin());
}

double FFmpegSource::State::FramesPerSecond() const {
  for (const AVRational rate : {stream->avg_frame_rate, stream->r_frame_rate})
    if (rate.num > 0 && rate.den > 0) return av_q2d(rate);
  // No declared rate: the mean spacing of the presentation times.
  if (shownTimes.size() > 1 && shownTimes.back() > shownTimes.front()) {
    const double span = static_cast<double>(shownTimes.back() - shownTimes.front());
    return (shownTimes.size() - 1) / (span * av_q2d(stream->time_base));
  }
  return 25.0;
}

bool FFmpegSource::State::SeekToKey(std::size_t k) {
  const std::int64_t t = keyFrames[k].seekTime;
  int result = av_seek_frame(format.get(), stream->index, t, AVSEEK_FLAG_BACKWARD);
  if (result < 0 && k == 0) result = av_seek_frame(format.get(), -1, 0, AVSEEK_FLAG_BYTE);
  avcodec_flush_buffers(codec.get());
  draining = false;
  decoded = -1;
  return result >= 0;
}

// The index of the next picture out of the decoder, nullopt at the end or on an error.
std::optional<std::int32_t> FFmpegSource::State::NextFrame() {
  for (;;) {
    const int got = avcodec_receive_frame(codec.get(), frame.get());
    if (got >= 0) {
      const std::int64_t t = frame->best_effort_timestamp;
      decoded = countFromStart || t == AV_NOPTS_VALUE ? decoded + 1 : FrameOfTime(t);
      return decoded;
    }
    if (got != AVERROR(EAGAIN) || draining) return std::nullopt;
    if (av_read_frame(format.get(), packet.get()) < 0) {
      draining = true;
      avcodec_send_packet(codec.get(), nullptr);
      continue;
    }
    if (packet->stream_index == stream->index) avcodec_send_packet(codec.get(), packet.get());
    av_packet_unref(packet.get());
  }
}

bool FFmpegSource::State::Convert(Bitmap& out) {
  const auto source = static_cast<AVPixelFormat>(frame->format);
  scale.reset(sws_getCachedContext(scale.release(), frame->width, frame->height, source, out.width,
                                   out.height, AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr,
                                   nullptr));
  if (!scale) return false;
  std::uint8_t* planes[4] = {out.pixels.data(), nullptr, nullptr, nullptr};
  int strides[4] = {3 * out.width, 0, 0, 0};
  return sws_scale(scale.get(), frame->data, frame->linesize, 0, frame->height, planes, strides) ==
         out.height;
}

bool FFmpegSource::State::DecodeAt(std::int32_t n, Bitmap& out) {
  const auto after =
      std::upper_bound(keyFrames.begin(), keyFrames.end(), n,
                       [](std::int32_t v, const KeyFrame& k) { return v < k.firstShown; });
  auto k = static_cast<std::size_t>(after - keyFrames.begin()) - 1;
  // Decoding forward beats a seek when the decoder already stands in the wanted frame's group
  // of pictures or just before it.
  bool seek =
      !(decoded < n && (decoded >= keyFrames[k].firstShown || n - decoded <= kForwardSteps));
  int retries = kEarlierKeyTries;
  for (;;) {
    if (seek && !SeekToKey(k)) return false;
    std::optional<std::int32_t> shown;
    while ((shown = NextFrame()) && *shown < n) {
    }
    if (shown && *shown == n) return Convert(out);
    if (!seek) {
      seek = true;
      continue;
    }
    // The pictures before this keyframe may need the one before it (an open group of pictures).
    if (k == 0 || retries-- == 0) return false;
    --k;
  }
}

FFmpegSource::FFmpegSource() { SilenceMediaLibraryLogs(); }
FFmpegSource::~FFmpegSource() { Close(); }

std::string FFmpegSource::Comment(const std::string& fileName) {
  SilenceMediaLibraryLogs();
  const AvFormatPtr format = OpenInput(fileName);
  if (!format) return {};
  const AVDictionaryEntry* entry = av_dict_get(format->metadata, "comment", nullptr, 0);
  return entry && entry->value ? entry->value : std::string();
}

std::optional<FrameSource::StreamFacts> FFmpegSource::OpenFile(const std::string& fileName) {
  errorLines_.clear();
  if (FFmpegRuntimeOutdated()) {
    errorLines_ = {Txt(txt::VideoFFmpegOutdated), Txt(txt::VideoFFmpegOutdatedAdvice)};
    return std::nullopt;
  }
  auto state = std::make_unique<State>();
  state->format = OpenInput(fileName);
  const bool found = state->format && state->packet && state->frame &&
                     avformat_find_stream_info(state->format.get(), nullptr) >= 0;
  const int index =
      found ? av_find_best_stream(state->format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0) : -1;
  if (index >= 0) state->stream = state->format->streams[index];
  const bool ready = state->stream && state->OpenDecoder() && state->stream->codecpar->width > 0 &&
                     state->stream->codecpar->height > 0;
  counting_ = FrameCounting::Packets;
  // A count from the packets is trusted only when its last frame really decodes.
  Bitmap last;
  last.Resize(ready ? state->stream->codecpar->width : 0,
              ready ? state->stream->codecpar->height : 0);
  bool listed = ready && state->ListByPackets() &&
                state->DecodeAt(static_cast<std::int32_t>(state->shownTimes.size()) - 1, last);
  if (ready && !listed) {
    counting_ = FrameCounting::Decoding;
    listed = state->ListByDecoding();
  }
  if (!listed) {
    errorLines_ = {Txt(txt::UnknownError)};
    return std::nullopt;
  }
  state_ = std::move(state);
  return StreamFacts{static_cast<std::int32_t>(state_->shownTimes.size()),
                     state_->stream->codecpar->width, state_->stream->codecpar->height,
                     state_->FramesPerSecond()};
}

void FFmpegSource::CloseFile() { state_.reset(); }

bool FFmpegSource::DecodeFrame(std::int32_t n, Bitmap& frame) { return state_->DecodeAt(n, frame); }

}  // namespace kinovia
