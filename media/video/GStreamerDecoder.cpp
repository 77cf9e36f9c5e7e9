#include "media/video/GStreamerDecoder.h"

#include <gst/video/gstvideodecoder.h>
#include <gst/video/video.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "media/video/GStreamerLayouts.h"
#include "media/video/PictureConversion.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/buffer.h>
#include <libavutil/imgutils.h>
#include <libavutil/pixdesc.h>
}

namespace kinovia {
namespace {

// Zeroed by GObject, not constructed: plain pointers only.
struct LentDecoder {
  GstVideoDecoder parent;
  AVCodecContext* codec;
  AVPacket* packet;
  AVFrame* picture;
  GstVideoCodecState* input;
};
struct LentDecoderClass {
  GstVideoDecoderClass parent;
};

G_DEFINE_TYPE(LentDecoder, lent_decoder, GST_TYPE_VIDEO_DECODER)

LentDecoder* Self(GstVideoDecoder* element) { return reinterpret_cast<LentDecoder*>(element); }

// Whole access units, as a parser gives them: a demuxer's chunks of a byte stream are not.
GstStaticPadTemplate kSinkTemplate = GST_STATIC_PAD_TEMPLATE(
    "sink", GST_PAD_SINK, GST_PAD_ALWAYS,
    GST_STATIC_CAPS("video/x-h264, stream-format=(string){ avc, byte-stream }, "
                    "alignment=(string)au, parsed=(boolean)true; "
                    "video/x-h265, stream-format=(string){ hvc1, hev1, byte-stream }, "
                    "alignment=(string)au, parsed=(boolean)true; "
                    "image/jpeg"));
GstStaticPadTemplate kSourceTemplate =
    GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS("video/x-raw"));

void CloseCodec(LentDecoder* self) {
  avcodec_free_context(&self->codec);
  g_clear_pointer(&self->input, gst_video_codec_state_unref);
}

gboolean Start(GstVideoDecoder* element) {
  LentDecoder* self = Self(element);
  self->packet = av_packet_alloc();
  self->picture = av_frame_alloc();
  return self->packet && self->picture;
}

gboolean Stop(GstVideoDecoder* element) {
  LentDecoder* self = Self(element);
  CloseCodec(self);
  av_packet_free(&self->packet);
  av_frame_free(&self->picture);
  return TRUE;
}

// The stream's parameter sets, when the container keeps them apart (avcC, hvcC).
bool TakeCodecData(AVCodecContext* codec, GstBuffer* data) {
  GstMapInfo map;
  if (!data) return true;
  if (!gst_buffer_map(data, &map, GST_MAP_READ)) return false;
  codec->extradata =
      static_cast<std::uint8_t*>(av_mallocz(map.size + AV_INPUT_BUFFER_PADDING_SIZE));
  if (codec->extradata) {
    std::memcpy(codec->extradata, map.data, map.size);
    codec->extradata_size = static_cast<int>(map.size);
  }
  gst_buffer_unmap(data, &map);
  return codec->extradata != nullptr;
}

AVCodecID CodecOf(const GstCaps* caps) {
  const GstStructure* stream = gst_caps_get_structure(caps, 0);
  if (gst_structure_has_name(stream, "video/x-h265")) return AV_CODEC_ID_HEVC;
  if (gst_structure_has_name(stream, "image/jpeg")) return AV_CODEC_ID_MJPEG;
  return AV_CODEC_ID_H264;
}

gboolean SetFormat(GstVideoDecoder* element, GstVideoCodecState* state) {
  LentDecoder* self = Self(element);
  CloseCodec(self);
  const AVCodec* decoder = avcodec_find_decoder(CodecOf(state->caps));
  AVCodecContext* codec = decoder ? avcodec_alloc_context3(decoder) : nullptr;
  if (!codec) return FALSE;
  codec->thread_count = 0;  // one a processor, as the FFmpeg source decodes
  if (!TakeCodecData(codec, state->codec_data) || avcodec_open2(codec, decoder, nullptr) < 0) {
    avcodec_free_context(&codec);
    return FALSE;
  }
  self->codec = codec;
  self->input = gst_video_codec_state_ref(state);
  return TRUE;
}

// The caps follow the pictures: their layout, size and colours as libavcodec found them.
bool Negotiated(LentDecoder* self, const AVFrame& picture, GstVideoFormat layout) {
  GstVideoDecoder* element = GST_VIDEO_DECODER(self);
  GstVideoCodecState* current = gst_video_decoder_get_output_state(element);
  const bool same = current && GST_VIDEO_INFO_FORMAT(&current->info) == layout &&
                    GST_VIDEO_INFO_WIDTH(&current->info) == picture.width &&
                    GST_VIDEO_INFO_HEIGHT(&current->info) == picture.height;
  if (current) gst_video_codec_state_unref(current);
  if (same) return true;
  GstVideoCodecState* state =
      gst_video_decoder_set_output_state(element, layout, static_cast<guint>(picture.width),
                                         static_cast<guint>(picture.height), self->input);
  if (!state) return false;
  GstVideoColorimetry& colours = state->info.colorimetry;
  colours.range = picture.color_range == AVCOL_RANGE_JPEG ? GST_VIDEO_COLOR_RANGE_0_255
                                                          : GST_VIDEO_COLOR_RANGE_16_235;
  colours.matrix = gst_video_color_matrix_from_iso(static_cast<guint>(picture.colorspace));
  colours.primaries =
      gst_video_color_primaries_from_iso(static_cast<guint>(picture.color_primaries));
  colours.transfer = gst_video_transfer_function_from_iso(static_cast<guint>(picture.color_trc));
  gst_video_codec_state_unref(state);
  return gst_video_decoder_negotiate(element);
}

void ReleasePlane(gpointer plane) {
  auto* buffer = static_cast<AVBufferRef*>(plane);
  av_buffer_unref(&buffer);
}

// One memory a plane, each holding a reference to the decoder's buffer it lies in, so the
// decoder reuses a picture only once no buffer shows it any more.
GstBuffer* WrapPicture(const AVFrame& picture, GstVideoFormat layout) {
  const auto format = static_cast<AVPixelFormat>(picture.format);
  const int planes = av_pix_fmt_count_planes(format);
  const AVPixFmtDescriptor* description = av_pix_fmt_desc_get(format);
  if (planes <= 0 || planes > GST_VIDEO_MAX_PLANES || !description) return nullptr;
  GstBuffer* buffer = gst_buffer_new();
  gsize offsets[GST_VIDEO_MAX_PLANES] = {};
  gint strides[GST_VIDEO_MAX_PLANES] = {};
  gsize at = 0;
  for (int i = 0; i < planes; ++i) {
    const int rows = PlaneSamples(*description, i, picture.width, picture.height).down;
    const int rowBytes = av_image_get_linesize(format, picture.width, i);
    AVBufferRef* owner = av_frame_get_plane_buffer(const_cast<AVFrame*>(&picture), i);
    AVBufferRef* held = owner ? av_buffer_ref(owner) : nullptr;
    if (!held || rowBytes <= 0 || rows <= 0 || picture.linesize[i] < rowBytes) {
      av_buffer_unref(&held);
      gst_buffer_unref(buffer);
      return nullptr;
    }
    // Up to the last byte of the last row: a cropped picture's rows stop short of its buffer's.
    const auto size = static_cast<gsize>(picture.linesize[i]) * static_cast<gsize>(rows - 1) +
                      static_cast<gsize>(rowBytes);
    gst_buffer_append_memory(
        buffer, gst_memory_new_wrapped(GST_MEMORY_FLAG_READONLY, picture.data[i], size, 0, size,
                                       held, ReleasePlane));
    offsets[i] = at;
    strides[i] = picture.linesize[i];
    at += size;
  }
  gst_buffer_add_video_meta_full(
      buffer, GST_VIDEO_FRAME_FLAG_NONE, layout, static_cast<guint>(picture.width),
      static_cast<guint>(picture.height), static_cast<guint>(planes), offsets, strides);
  return buffer;
}

// A packet that gives no picture of its own (the first field of a picture coded as two fields)
// leaves its frame waiting in the base class until the stream ends: frames far older in decoding
// order than one just finished (beyond any reordering) are let go.
void ReleaseForgotten(GstVideoDecoder* element, int finished) {
  constexpr int kReorderReach = 64;
  GList* frames = gst_video_decoder_get_frames(element);
  for (GList* l = frames; l; l = l->next) {
    auto* frame = static_cast<GstVideoCodecFrame*>(l->data);
    if (static_cast<int>(frame->system_frame_number) + kReorderReach < finished)
      gst_video_decoder_release_frame(element, gst_video_codec_frame_ref(frame));
  }
  g_list_free_full(frames, reinterpret_cast<GDestroyNotify>(gst_video_codec_frame_unref));
}

// The decoded picture goes out as the frame whose number its packet carried.
GstFlowReturn Finish(LentDecoder* self, const AVFrame& picture) {
  GstVideoDecoder* element = GST_VIDEO_DECODER(self);
  GstVideoCodecFrame* frame =
      picture.pts == AV_NOPTS_VALUE
          ? nullptr
          : gst_video_decoder_get_frame(element, static_cast<int>(picture.pts));
  if (!frame) return GST_FLOW_OK;  // flushed by a seek meanwhile
  const GstVideoFormat layout = GStreamerLayout(static_cast<AVPixelFormat>(picture.format));
  if (layout == GST_VIDEO_FORMAT_UNKNOWN || !Negotiated(self, picture, layout)) {
    gst_video_decoder_drop_frame(element, frame);
    return GST_FLOW_NOT_NEGOTIATED;
  }
  frame->output_buffer = WrapPicture(picture, layout);
  if (!frame->output_buffer) {
    gst_video_decoder_drop_frame(element, frame);
    return GST_FLOW_ERROR;
  }
  const int finished = static_cast<int>(frame->system_frame_number);
  const GstFlowReturn flow = gst_video_decoder_finish_frame(element, frame);
  ReleaseForgotten(element, finished);
  return flow;
}

GstFlowReturn PushDecoded(LentDecoder* self) {
  for (;;) {
    if (avcodec_receive_frame(self->codec, self->picture) < 0) return GST_FLOW_OK;
    const GstFlowReturn flow = Finish(self, *self->picture);
    av_frame_unref(self->picture);
    if (flow != GST_FLOW_OK) return flow;
  }
}

// A packet the decoder cannot take loses its frame, not the stream: the frames before and after
// it still decode (the source's check compares them with FFmpeg's).
GstFlowReturn HandleFrame(GstVideoDecoder* element, GstVideoCodecFrame* frame) {
  LentDecoder* self = Self(element);
  GstMapInfo map;
  if (!self->codec || !gst_buffer_map(frame->input_buffer, &map, GST_MAP_READ)) {
    gst_video_decoder_drop_frame(element, frame);
    return GST_FLOW_ERROR;
  }
  AVPacket& packet = *self->packet;
  packet.data = map.data;
  packet.size = static_cast<int>(map.size);
  packet.pts = frame->system_frame_number;
  packet.flags = GST_VIDEO_CODEC_FRAME_IS_SYNC_POINT(frame) ? AV_PKT_FLAG_KEY : 0;
  GstFlowReturn flow = GST_FLOW_OK;
  int sent = 0;
  while ((sent = avcodec_send_packet(self->codec, &packet)) == AVERROR(EAGAIN) &&
         flow == GST_FLOW_OK)
    flow = PushDecoded(self);
  gst_buffer_unmap(frame->input_buffer, &map);
  packet.data = nullptr;
  packet.size = 0;
  if (sent < 0)
    gst_video_decoder_drop_frame(element, frame);
  else
    gst_video_codec_frame_unref(frame);  // the base class keeps it until its picture comes
  return flow == GST_FLOW_OK ? PushDecoded(self) : flow;
}

// At the end of the stream the pictures still held back for reordering come out; the decoder is
// then ready for a seek's new start.
GstFlowReturn Drain(GstVideoDecoder* element) {
  LentDecoder* self = Self(element);
  if (!self->codec) return GST_FLOW_OK;
  avcodec_send_packet(self->codec, nullptr);
  const GstFlowReturn flow = PushDecoded(self);
  avcodec_flush_buffers(self->codec);
  return flow;
}

gboolean Flush(GstVideoDecoder* element) {
  LentDecoder* self = Self(element);
  if (self->codec) avcodec_flush_buffers(self->codec);
  return TRUE;
}

void lent_decoder_class_init(LentDecoderClass* kind) {
  GstElementClass* element = GST_ELEMENT_CLASS(kind);
  gst_element_class_add_static_pad_template(element, &kSinkTemplate);
  gst_element_class_add_static_pad_template(element, &kSourceTemplate);
  gst_element_class_set_static_metadata(
      element, "Kinovia H.264, HEVC and Motion-JPEG decoder", "Codec/Decoder/Video",
      "Decodes with libavcodec and lends out its pictures", "Kinovia");
  GstVideoDecoderClass* decoder = GST_VIDEO_DECODER_CLASS(kind);
  decoder->start = Start;
  decoder->stop = Stop;
  decoder->set_format = SetFormat;
  decoder->handle_frame = HandleFrame;
  decoder->finish = Drain;
  decoder->drain = Drain;
  decoder->flush = Flush;
}

void lent_decoder_init(LentDecoder* self) {
  gst_video_decoder_set_packetized(GST_VIDEO_DECODER(self), TRUE);
  gst_video_decoder_set_needs_format(GST_VIDEO_DECODER(self), TRUE);
}

}  // namespace

bool RegisterLentPictureDecoder() {
  return gst_element_register(nullptr, kLentPictureDecoder, GST_RANK_PRIMARY,
                              lent_decoder_get_type());
}

bool CopiesWhatIsLent(GstElementFactory* factory) {
  const gchar* name = gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory));
  for (const char* copier : {"avdec_h264", "avdec_h265", "avdec_mjpeg", "jpegdec"})
    if (g_strcmp0(name, copier) == 0) return true;
  return false;
}

}  // namespace kinovia
