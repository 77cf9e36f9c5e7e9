#include "media/video/FFmpegSource.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "media/video/AccessUnit.h"
#include "media/video/AvHandles.h"
#include "media/video/MediaLibraries.h"
#include "media/video/PictureConversion.h"
#include "media/video/PictureLimits.h"
#include "resources/TxtCommon.h"
#include "resources/TxtVideo.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
}

namespace kinovia {
namespace {

// `interrupted`, when given, is asked before each read of the file: true makes the read fail.
AvFormatPtr OpenInput(const std::string& fileName, std::atomic<bool>* interrupted = nullptr) {
  AVFormatContext* raw = avformat_alloc_context();
  if (!raw) return nullptr;
  if (interrupted) {
    raw->interrupt_callback.callback = [](void* flag) {
      return static_cast<std::atomic<bool>*>(flag)->load() ? 1 : 0;
    };
    raw->interrupt_callback.opaque = interrupted;
  }
  // On failure the context is freed by the opening itself.
  if (avformat_open_input(&raw, fileName.c_str(), nullptr, nullptr) < 0) return nullptr;
  return AvFormatPtr(raw);
}

// The clockwise quarter turns the ffmpeg tool applies to show the stream upright; other angles
// are left alone, as it leaves them to a filter that changes the picture size.
int DisplayRotation(const AVStream& stream) {
  const auto* matrix = reinterpret_cast<const std::int32_t*>(
      av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr));
  if (!matrix) return 0;
  double clockwise = -av_display_rotation_get(matrix);
  if (!std::isfinite(clockwise)) return 0;
  clockwise -= 360 * std::floor(clockwise / 360 + 0.9 / 360);
  for (const int quarter : {90, 180, 270})
    if (std::abs(clockwise - quarter) < 1.0) return quarter;
  return 0;
}

// H.264 and HEVC tell from their units' headers where each picture begins.
std::optional<PictureCodec> InspectableCodec(const AVCodecParameters& codec) {
  if (codec.codec_id == AV_CODEC_ID_H264) return PictureCodec::H264;
  if (codec.codec_id == AV_CODEC_ID_HEVC) return PictureCodec::Hevc;
  return std::nullopt;
}

constexpr std::int32_t kForwardSteps = 32;
constexpr int kEarlierKeyTries = 3;

// A keyframe in decoding order: where a seek can start.
struct KeyFrame {
  std::int64_t seekTime = 0;    // where a seek to the keyframe aims
  std::int64_t position = -1;   // its packet's byte offset in the file, -1 when unknown
  std::int32_t firstShown = 0;  // index of the keyframe's own picture among the shown frames
};

}  // namespace

struct FFmpegSource::State {
  // Asked before each read of the file: set from another thread, the reading soon fails. It
  // outlives the file's context, which holds its address.
  std::atomic<bool> interrupted{false};
  AvFormatPtr format;
  AvCodecPtr codec;
  AvPacketPtr packet{av_packet_alloc()};
  AvFramePtr frame{av_frame_alloc()};
  RgbConverter converter;
  ColourSpace colours;  // of the last picture converted
  AVStream* stream = nullptr;
  std::vector<std::int64_t> shownTimes;  // presentation time of each frame, ascending
  std::vector<KeyFrame> keyFrames;
  std::int32_t decoded = -1;  // frame the decoder gave last
  bool draining = false;
  bool countFromStart = false;  // pictures are known by their rank from the start, not their time
  // The codec whose packets are read for the pictures they begin; none when only decoding tells.
  std::optional<PictureCodec> inspectedCodec;
  int unitLengthBytes = 0;  // how its packets store their units
  // AVI gives reordered pictures no presentation times (they may be known by their rank) and
  // times its chunks, empty ones included, by a clock of its own.
  bool avi = false;
  // The decoding times of the stream's first and last packets read: frames known by their rank
  // have no other times.
  std::int64_t firstDecoded = AV_NOPTS_VALUE;
  std::int64_t lastDecoded = AV_NOPTS_VALUE;
  bool packetsWhole = false;    // the listing read every packet the container declares, intact
  bool onePictureEach = false;  // and each of them began exactly one picture
  // The colours of a paletted stream, which AVI and QuickTime give with its first packet only:
  // the packet a decoder starts from after a seek or a listing carries them again.
  std::vector<std::uint8_t> palette;
  bool paletteGiven = false;

  // Tells the source how far the listing has gone; false when the user cancelled.
  std::function<bool(double)> progress;

  bool OpenDecoder(int threads);
  // A new decoder on `threads` threads, the next frame decoded from the clip's start.
  bool RestartDecoder(int threads) { return OpenDecoder(threads) && SeekToKey(0); }
  bool ListByPackets();
  void NoteDecodingTime(const AVPacket& p);
  // Which codec's units the packets are read for, and how they are stored.
  void LearnUnitLayout();
  AccessUnit Inspect(const AVPacket& p) const;
  std::optional<std::int64_t> ShownAt(const AVPacket& p, const AccessUnit& unit, bool& opensGroup);
  bool PacketsTellTheFrames() const;
  bool CountConfirmed();
  // True when, from the last keyframe on, the last frame comes out and nothing after it, with
  // the decoder skipping the pictures `skipped` says.
  bool EndDecodes(AVDiscard skipped);
  bool ListByDecoding();
  bool Progressing(std::size_t listed);
  // Keyframe packets as read: their presentation time, and where a seek to them aims.
  struct KeyPacket {
    std::int64_t shown = 0;
    KeyFrame where;
  };
  void ListKeyFrames(const std::vector<KeyPacket>& keys);
  // Program and transport streams find times by bisecting the file, which can land after the
  // keyframe; their keyframes are sought by byte offset instead.
  bool SeeksByBytes() const { return format->iformat->flags & AVFMT_TS_DISCONT; }
  bool SeekToKey(std::size_t k);
  void KeepPalette(const AVPacket& p);
  // Gives the decoder a packet of the stream, with the palette where the decoder has none yet.
  void Send(AVPacket& p);
  std::optional<std::int32_t> NextFrame();
  std::int32_t FrameOfTime(std::int64_t t) const;
  double MeasuredFramesPerSecond() const;
  double FramesPerSecond() const;
  bool EvenlySpaced() const;
  std::int64_t StartTime() const {
    return stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
  }
  bool Convert(Bitmap& out, int turn);
  bool DecodeAt(std::int32_t n, int turn, Bitmap& out);
  bool DecodeKeyAlone(std::int32_t n, Bitmap& out);
};

bool FFmpegSource::State::OpenDecoder(int threads) {
  const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
  if (!decoder) return false;
  codec.reset(avcodec_alloc_context3(decoder));
  if (!codec || avcodec_parameters_to_context(codec.get(), stream->codecpar) < 0) return false;
  codec->thread_count = threads;
  return avcodec_open2(codec.get(), decoder, nullptr) >= 0;
}

// Every few dozen pictures, how far into the file the listing is.
bool FFmpegSource::State::Progressing(std::size_t listed) {
  constexpr std::size_t kReportEvery = 64;
  if (listed % kReportEvery != 0 || !progress) return true;
  const std::int64_t size = format->pb ? avio_size(format->pb) : -1;
  const std::int64_t at = format->pb ? avio_tell(format->pb) : -1;
  return progress(size > 0 && at >= 0 ? static_cast<double>(at) / static_cast<double>(size) : 0);
}

void FFmpegSource::State::NoteDecodingTime(const AVPacket& p) {
  if (p.dts == AV_NOPTS_VALUE) return;
  firstDecoded = firstDecoded == AV_NOPTS_VALUE ? p.dts : std::min(firstDecoded, p.dts);
  lastDecoded = lastDecoded == AV_NOPTS_VALUE ? p.dts : std::max(lastDecoded, p.dts);
}

void FFmpegSource::State::LearnUnitLayout() {
  const AVCodecParameters& codec = *stream->codecpar;
  inspectedCodec = InspectableCodec(codec);
  const std::span<const std::uint8_t> record(codec.extradata,
                                             static_cast<std::size_t>(codec.extradata_size));
  const auto lengthBytes =
      inspectedCodec ? UnitLengthBytes(record, *inspectedCodec) : std::optional<int>();
  if (!lengthBytes) inspectedCodec.reset();
  unitLengthBytes = lengthBytes.value_or(0);
}

AccessUnit FFmpegSource::State::Inspect(const AVPacket& p) const {
  if (!inspectedCodec) return {};
  return InspectAccessUnit({p.data, static_cast<std::size_t>(p.size)}, *inspectedCodec,
                           unitLengthBytes);
}

// Where a packet's picture stands among the shown frames: its presentation time, or its rank
// when the stream is known by ranks; nullopt when the packet cannot be placed without decoding.
std::optional<std::int64_t> FFmpegSource::State::ShownAt(const AVPacket& p, const AccessUnit& unit,
                                                         bool& opensGroup) {
  opensGroup = p.flags & AV_PKT_FLAG_KEY;
  if (!countFromStart) return p.pts == AV_NOPTS_VALUE ? std::nullopt : std::optional(p.pts);
  if (p.pts != AV_NOPTS_VALUE || p.dts == AV_NOPTS_VALUE || !avi) return std::nullopt;
  if (!unit.wellFormed || unit.pictures != 1) return std::nullopt;
  // Only an IDR picture closes the past: a seek to another keyframe would lose the pictures
  // decoded after it but shown before it.
  opensGroup = opensGroup && unit.instantRefresh;
  return static_cast<std::int64_t>(shownTimes.size());
}

// Presentation and decoding times of every packet of the stream, read without decoding. AVI
// keeps no presentation times for reordered H.264 or HEVC: each of its packets is one picture,
// and the pictures are then known by their rank from the start, an IDR picture's rank being its
// packet's.
bool FFmpegSource::State::ListByPackets() {
  std::vector<KeyPacket> keys;
  shownTimes.clear();
  std::int64_t packets = 0;
  bool corrupt = false;
  onePictureEach = inspectedCodec.has_value();
  int read = 0;
  while ((read = av_read_frame(format.get(), packet.get())) >= 0) {
    bool goesOn = true;
    if (packet->stream_index == stream->index) {
      if (packets++ == 0) countFromStart = packet->pts == AV_NOPTS_VALUE;
      NoteDecodingTime(*packet);
      KeepPalette(*packet);
      corrupt = corrupt || (packet->flags & AV_PKT_FLAG_CORRUPT);
      const AccessUnit unit = Inspect(*packet);
      onePictureEach = onePictureEach && unit.wellFormed && unit.pictures == 1;
      bool opensGroup = false;
      const std::optional<std::int64_t> shown = ShownAt(*packet, unit, opensGroup);
      const std::int64_t seekTime = countFromStart ? packet->dts : packet->pts;
      // An edit list hides the pictures before the cut: they are decoded, never shown. A stream
      // cut within a group of pictures begins with pictures that refer to some it lacks: the
      // decoder gives none of them before the first keyframe.
      const bool beforeFirstKey = keys.empty() && !opensGroup;
      if (shown && !beforeFirstKey && !(packet->flags & AV_PKT_FLAG_DISCARD))
        shownTimes.push_back(*shown);
      if (shown && opensGroup) keys.push_back({*shown, {seekTime, packet->pos, 0}});
      goesOn = shown && Progressing(shownTimes.size());
    }
    av_packet_unref(packet.get());
    if (!goesOn) return false;
  }
  std::sort(shownTimes.begin(), shownTimes.end());
  const bool distinct =
      std::adjacent_find(shownTimes.begin(), shownTimes.end()) == shownTimes.end();
  if (!distinct || keys.empty() || shownTimes.empty() || shownTimes.size() > INT32_MAX)
    return false;
  // Pictures shown before the first keyframe's own but decoded after it may refer to pictures
  // before the cut: only decoding tells which of them come out.
  if (!countFromStart && keys.front().shown > shownTimes.front()) return false;
  // Ranks count from the first picture, which must then be one a seek can start from.
  if (countFromStart && keys.front().shown != 0) return false;
  // AVI's declared count includes its empty chunks (dropped pictures the ffmpeg tool skips); a
  // cut AVI shows instead in its last chunk, read as corrupt.
  const bool declaredCountKept =
      countFromStart || stream->nb_frames <= 0 || stream->nb_frames == packets;
  packetsWhole = read == AVERROR_EOF && !corrupt && declaredCountKept;
  ListKeyFrames(keys);
  return true;
}

// QuickTime and Matroska store each picture's presentation time with it, one picture a packet:
// when every packet they declare was read whole, the listing is the clip and its end need not
// be decoded to be believed. So is a listing where each packet read began exactly one picture
// (ranked AVI, H.264 or HEVC in a transport stream), unless its pictures may be coded as fields
// (two packets for one frame shown). Other streams may pack pictures otherwise.
bool FFmpegSource::State::PacketsTellTheFrames() const {
  const std::string_view name = format->iformat->name;
  const bool byContainer = name.starts_with("mov,") || name.starts_with("matroska,");
  const bool progressive = stream->codecpar->field_order == AV_FIELD_PROGRESSIVE;
  return packetsWhole && ((byContainer && !countFromStart) || (onePictureEach && progressive));
}

// For streams whose packets do not tell the pictures apart: decode everything once.
bool FFmpegSource::State::ListByDecoding() {
  shownTimes.clear();
  keyFrames.clear();
  const bool byTime = !SeeksByBytes() && av_seek_frame(format.get(), stream->index, StartTime(),
                                                       AVSEEK_FLAG_BACKWARD) >= 0;
  if (!byTime && av_seek_frame(format.get(), -1, 0, AVSEEK_FLAG_BYTE) < 0) return false;
  avcodec_flush_buffers(codec.get());
  draining = false;
  countFromStart = true;
  decoded = -1;
  while (NextFrame()) {
    std::int64_t t = frame->best_effort_timestamp;
    if (t == AV_NOPTS_VALUE || (!shownTimes.empty() && t <= shownTimes.back()))
      t = shownTimes.empty() ? 0 : shownTimes.back() + 1;
    shownTimes.push_back(t);
    if (!Progressing(shownTimes.size())) return false;
  }
  if (shownTimes.empty() || shownTimes.size() > INT32_MAX) return false;
  // Without trustworthy times every seek restarts from the beginning and counts pictures.
  ListKeyFrames({{shownTimes.front(), {StartTime(), 0, 0}}});
  return true;
}

void FFmpegSource::State::ListKeyFrames(const std::vector<KeyPacket>& keys) {
  keyFrames.clear();
  for (const auto& [shown, where] : keys)
    keyFrames.push_back({where.seekTime, where.position, FrameOfTime(shown)});
  std::sort(keyFrames.begin(), keyFrames.end(),
            [](const KeyFrame& a, const KeyFrame& b) { return a.firstShown < b.firstShown; });
  keyFrames.front().firstShown = 0;
}

std::int32_t FFmpegSource::State::FrameOfTime(std::int64_t t) const {
  const auto it = std::lower_bound(shownTimes.begin(), shownTimes.end(), t);
  if (it == shownTimes.end()) return static_cast<std::int32_t>(shownTimes.size());
  return static_cast<std::int32_t>(it - shownTimes.begin());
}

// The mean rate of the shown frames, 0 when unknown. Frames known by their rank (AVI) are
// timed by the container's decoding clock, which runs on through the empty chunks of dropped
// pictures: an AVI copied from a clip with B-frames declares twice its rate and leaves every
// other chunk empty.
double FFmpegSource::State::MeasuredFramesPerSecond() const {
  if (shownTimes.size() < 2 || (countFromStart && !avi)) return 0;
  const std::int64_t first = countFromStart ? firstDecoded : shownTimes.front();
  const std::int64_t last = countFromStart ? lastDecoded : shownTimes.back();
  if (first == AV_NOPTS_VALUE || last <= first) return 0;
  return static_cast<double>(shownTimes.size() - 1) /
         (static_cast<double>(last - first) * av_q2d(stream->time_base));
}

// The declared rate where the frames keep it; a variable-rate clip may declare anything (the
// ffmpeg tool's own estimate can be twice the real rate), and is given its frames' mean rate.
double FFmpegSource::State::FramesPerSecond() const {
  const double measured = MeasuredFramesPerSecond();
  const double tick = av_q2d(stream->time_base);
  const auto keptByFrames = [&](double declared) {
    if (measured == 0) return true;
    // Times rounded to the container's ticks drift from the declared rate by a tick or two.
    const double frames = static_cast<double>(shownTimes.size() - 1);
    const double drift = std::abs(frames / declared - frames / measured);
    return std::abs(declared / measured - 1) < 0.01 || drift <= 2 * tick;
  };
  for (const AVRational rate : {stream->avg_frame_rate, stream->r_frame_rate})
    if (rate.num > 0 && rate.den > 0 && keptByFrames(av_q2d(rate))) return av_q2d(rate);
  return measured > 0 ? measured : 25.0;
}

// True when every frame is shown within a quarter of an interval of n x T after the first, so
// that a seek to a time finds the frame of that index.
bool FFmpegSource::State::EvenlySpaced() const {
  if (countFromStart || shownTimes.empty()) return false;
  const double interval = 1 / (FramesPerSecond() * av_q2d(stream->time_base));
  for (std::size_t n = 0; n < shownTimes.size(); ++n) {
    const double expected = static_cast<double>(n) * interval;
    if (std::abs(static_cast<double>(shownTimes[n] - shownTimes.front()) - expected) > interval / 4)
      return false;
  }
  return true;
}

bool FFmpegSource::State::SeekToKey(std::size_t k) {
  const KeyFrame& key = keyFrames[k];
  int result = SeeksByBytes() && key.position >= 0
                   ? av_seek_frame(format.get(), -1, key.position, AVSEEK_FLAG_BYTE)
                   : av_seek_frame(format.get(), stream->index, key.seekTime, AVSEEK_FLAG_BACKWARD);
  if (result < 0 && k == 0) result = av_seek_frame(format.get(), -1, 0, AVSEEK_FLAG_BYTE);
  avcodec_flush_buffers(codec.get());
  draining = false;
  paletteGiven = false;
  // Counted by rank, the pictures out of the decoder start from the keyframe's own.
  decoded = countFromStart ? key.firstShown - 1 : -1;
  av_frame_unref(frame.get());
  return result >= 0;
}

void FFmpegSource::State::KeepPalette(const AVPacket& p) {
  std::size_t size = 0;
  const std::uint8_t* colours = av_packet_get_side_data(&p, AV_PKT_DATA_PALETTE, &size);
  if (colours && palette.empty()) palette.assign(colours, colours + size);
}

void FFmpegSource::State::Send(AVPacket& p) {
  KeepPalette(p);
  const bool carries = av_packet_get_side_data(&p, AV_PKT_DATA_PALETTE, nullptr) != nullptr;
  if (!paletteGiven && !carries && !palette.empty()) {
    std::uint8_t* colours = av_packet_new_side_data(&p, AV_PKT_DATA_PALETTE, palette.size());
    if (colours) std::copy(palette.begin(), palette.end(), colours);
  }
  paletteGiven = true;
  avcodec_send_packet(codec.get(), &p);
}

// The index of the next picture out of the decoder, nullopt at the end. A damaged picture is
// passed over, as the ffmpeg tool passes over it: the pictures still held for reordering come
// after it. A decoder that does nothing but fail is given up.
std::optional<std::int32_t> FFmpegSource::State::NextFrame() {
  constexpr int kFailuresInARow = 64;
  int failures = 0;
  for (;;) {
    const int got = avcodec_receive_frame(codec.get(), frame.get());
    if (got >= 0) {
      const std::int64_t t = frame->best_effort_timestamp;
      decoded = countFromStart || t == AV_NOPTS_VALUE ? decoded + 1 : FrameOfTime(t);
      return decoded;
    }
    if (got == AVERROR_EOF || (got == AVERROR(EAGAIN) && draining)) return std::nullopt;
    if (got != AVERROR(EAGAIN)) {
      if (++failures > kFailuresInARow) return std::nullopt;
      continue;
    }
    if (av_read_frame(format.get(), packet.get()) < 0) {
      draining = true;
      avcodec_send_packet(codec.get(), nullptr);
      continue;
    }
    if (packet->stream_index == stream->index) {
      NoteDecodingTime(*packet);
      Send(*packet);
    }
    av_packet_unref(packet.get());
  }
}

// The colours as the ffmpeg tool gives them: the matrix the frame is tagged with (BT.601 when
// untagged) and its range, full or limited.
bool FFmpegSource::State::Convert(Bitmap& out, int turn) {
  colours = ColoursOf(*frame);
  return converter.Convert(PlanesOf(*frame), colours, out, turn);
}

// Elsewhere a count from the packets is trusted only when its last frame really comes out of
// the decoder and nothing comes after it.
bool FFmpegSource::State::CountConfirmed() {
  if (PacketsTellTheFrames()) return true;
  // Pictures are only counted here, not looked at: none is deblocked, and where pictures are
  // known by their times those no other picture refers to are first skipped, which leaves the
  // last one out only when nothing refers to it.
  const bool confirmed =
      (!countFromStart && EndDecodes(AVDISCARD_NONREF)) || EndDecodes(AVDISCARD_DEFAULT);
  codec->skip_frame = AVDISCARD_DEFAULT;
  codec->skip_loop_filter = AVDISCARD_DEFAULT;
  // The decoder's pictures were not deblocked: the next frame is decoded afresh from the start.
  return SeekToKey(0) && confirmed;
}

bool FFmpegSource::State::EndDecodes(AVDiscard skipped) {
  codec->skip_frame = skipped;
  codec->skip_loop_filter = AVDISCARD_ALL;
  const auto last = static_cast<std::int32_t>(shownTimes.size()) - 1;
  if (!SeekToKey(keyFrames.size() - 1)) return false;
  bool lastCame = false;
  while (const std::optional<std::int32_t> shown = NextFrame()) {
    if (*shown > last) return false;
    lastCame = lastCame || *shown == last;
  }
  return lastCame;
}

bool FFmpegSource::State::DecodeAt(std::int32_t n, int turn, Bitmap& out) {
  // The decoder's last picture is still at hand when the same frame is drawn again.
  if (n == decoded && frame->buf[0]) return Convert(out, turn);
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
    if (shown && *shown == n) return Convert(out, turn);
    if (!seek) {
      seek = true;
      continue;
    }
    // The pictures before this keyframe may need the one before it (an open group of pictures).
    if (k == 0 || retries-- == 0) return false;
    --k;
  }
}

// The decoder is drained after the keyframe's packet, so the frames after it are reached by a
// seek, as after the end of the clip. False when frame n is not a keyframe's own picture or its
// packet alone did not give it.
bool FFmpegSource::State::DecodeKeyAlone(std::int32_t n, Bitmap& out) {
  const auto key = std::find_if(keyFrames.begin(), keyFrames.end(),
                                [n](const KeyFrame& k) { return k.firstShown == n; });
  if (countFromStart || key == keyFrames.end() ||
      !SeekToKey(static_cast<std::size_t>(key - keyFrames.begin())))
    return false;
  bool sent = false;
  while (!sent && av_read_frame(format.get(), packet.get()) >= 0) {
    sent = packet->stream_index == stream->index;
    if (sent) Send(*packet);
    av_packet_unref(packet.get());
  }
  draining = true;
  avcodec_send_packet(codec.get(), nullptr);
  const std::optional<std::int32_t> shown = NextFrame();
  return shown && *shown == n && Convert(out, 0);
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

std::optional<FrameSource::StreamFacts> FFmpegSource::AdoptOffered(const std::string& fileName) {
  const std::unique_ptr<FFmpegSource> offered = std::move(offered_);
  if (!offered || !offered->state_ || offered->FileName() != fileName) return std::nullopt;
  state_ = std::move(offered->state_);
  counting_ = offered->counting_;
  // The reading told its first owner how far it went; it now tells this one.
  state_->progress = [this](double fraction) { return OpeningGoesOn(fraction); };
  if (offered->decoderThreads != decoderThreads && !DecodeWithThreads(decoderThreads))
    return std::nullopt;
  return Facts();
}

FrameSource::StreamFacts FFmpegSource::Facts() const {
  return StreamFacts{static_cast<std::int32_t>(state_->shownTimes.size()),
                     state_->stream->codecpar->width, state_->stream->codecpar->height,
                     state_->FramesPerSecond(), DisplayRotation(*state_->stream)};
}

std::optional<FrameSource::StreamFacts> FFmpegSource::OpenFile(const std::string& fileName) {
  errorLines_.clear();
  if (auto facts = AdoptOffered(fileName)) return facts;
  if (FFmpegRuntimeOutdated()) {
    errorLines_ = {Txt(txt::VideoFFmpegOutdated), Txt(txt::VideoFFmpegOutdatedAdvice)};
    return std::nullopt;
  }
  auto state = std::make_unique<State>();
  state->progress = [this](double fraction) { return OpeningGoesOn(fraction); };
  state->format = OpenInput(fileName, &state->interrupted);
  const bool found = state->format && state->packet && state->frame &&
                     avformat_find_stream_info(state->format.get(), nullptr) >= 0;
  const int index =
      found ? av_find_best_stream(state->format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0) : -1;
  if (index >= 0) state->stream = state->format->streams[index];
  if (state->stream) {
    state->LearnUnitLayout();
    state->avi = std::string_view(state->format->iformat->name) == "avi";
  }
  // The sound and other streams are skipped unread, in the listing as in the decoding.
  for (unsigned i = 0; index >= 0 && i < state->format->nb_streams; ++i)
    if (static_cast<int>(i) != index) state->format->streams[i]->discard = AVDISCARD_ALL;
  // The size is checked before the decoder or the last frame's picture allocate anything for it.
  // The opening's own decoding (the last group of pictures, or every frame) is waited for: it
  // runs on every processor, whatever the threads asked for serving the frames.
  const bool ready =
      state->stream &&
      PictureSizeAllowed(state->stream->codecpar->width, state->stream->codecpar->height) &&
      state->OpenDecoder(0);
  counting_ = FrameCounting::Packets;
  bool listed = ready && state->ListByPackets() && state->CountConfirmed();
  if (listed && state->countFromStart) counting_ = FrameCounting::Ranks;
  if (ready && !listed && !OpeningCancelled()) {
    counting_ = FrameCounting::Decoding;
    listed = state->ListByDecoding();
  }
  if (listed && decoderThreads != 0) listed = state->RestartDecoder(decoderThreads);
  if (!listed) {
    if (!OpeningCancelled()) errorLines_ = {Txt(txt::UnknownError)};
    return std::nullopt;
  }
  state_ = std::move(state);
  return Facts();
}

void FFmpegSource::CloseFile() { state_.reset(); }

void FFmpegSource::Interrupt() {
  if (state_) state_->interrupted = true;
}

bool FFmpegSource::DecodeWithThreads(int threads) {
  return state_ && state_->RestartDecoder(threads);
}

ColourSpace FFmpegSource::Colours() const { return state_ ? state_->colours : ColourSpace{}; }

bool FFmpegSource::EvenlySpaced() const { return state_ && state_->EvenlySpaced(); }

std::vector<std::int32_t> FFmpegSource::KeyFrames() const {
  std::vector<std::int32_t> frames;
  if (state_)
    for (const KeyFrame& key : state_->keyFrames) frames.push_back(key.firstShown);
  return frames;
}

std::vector<double> FFmpegSource::FrameTimes() const {
  std::vector<double> times;
  if (!state_ || !state_->stream || counting_ != FrameCounting::Packets) return times;
  const double unit = av_q2d(state_->stream->time_base);
  for (const std::int64_t t : state_->shownTimes)
    times.push_back(double(t - state_->shownTimes.front()) * unit);
  return times;
}

bool FFmpegSource::DecodeFrame(std::int32_t n, int turn, Bitmap& frame) {
  return state_->DecodeAt(n, turn, frame);
}

bool FFmpegSource::DecodeStoredAlone(std::int32_t n, Bitmap& frame) {
  return IsOpen() && (state_->DecodeKeyAlone(n, frame) || DecodeFrame(n, 0, frame));
}

}  // namespace kinovia
