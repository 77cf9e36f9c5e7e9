// GStreamer as a recorder: the pictures go from an application source through the chosen encoder
// (any installed video encoder whose output avimux takes) into an AVI file.
#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <algorithm>
#include <cmath>

#include "media/recording/RecorderBackends.h"
#include "media/recording/TemporaryFile.h"
#include "media/video/MediaLibraries.h"
#include "resources/TxtWorkshop.h"

namespace kinovia {
namespace {

struct ObjectUnref {
  void operator()(gpointer object) const { gst_object_unref(object); }
};
struct CapsUnref {
  void operator()(GstCaps* caps) const { gst_caps_unref(caps); }
};
using CapsPtr = std::unique_ptr<GstCaps, CapsUnref>;

// What avimux accepts on its video pads.
CapsPtr MuxerVideoCaps() {
  std::unique_ptr<GstElementFactory, ObjectUnref> mux(gst_element_factory_find("avimux"));
  if (!mux) return nullptr;
  for (const GList* t = gst_element_factory_get_static_pad_templates(mux.get()); t; t = t->next) {
    auto* pad = static_cast<GstStaticPadTemplate*>(t->data);
    if (pad->direction == GST_PAD_SINK && std::string_view(pad->name_template) == "video_%u")
      return CapsPtr(gst_static_pad_template_get_caps(pad));
  }
  return nullptr;
}

std::vector<std::string> InstalledEncoders() {
  if (!GStreamerReady()) return {};
  const CapsPtr accepted = MuxerVideoCaps();
  if (!accepted) return {};
  GList* factories = gst_element_factory_list_get_elements(GST_ELEMENT_FACTORY_TYPE_VIDEO_ENCODER,
                                                           GST_RANK_MARGINAL);
  factories = g_list_sort(factories, gst_plugin_feature_rank_compare_func);
  std::vector<std::string> names;
  for (GList* f = factories; f; f = f->next) {
    auto* factory = static_cast<GstElementFactory*>(f->data);
    if (gst_element_factory_can_src_any_caps(factory, accepted.get()))
      names.emplace_back(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)));
  }
  gst_plugin_feature_list_free(factories);
  return names;
}

// Sets the property when the element has it, from its text (enumerations by their nick).
bool SetIfPresent(GstElement* element, const char* name, const std::string& value) {
  if (!g_object_class_find_property(G_OBJECT_GET_CLASS(element), name)) return false;
  gst_util_set_object_arg(G_OBJECT(element), name, value.c_str());
  return true;
}

// Encoders name their quality and key-frame settings differently; the usual names are tried.
void ApplyCompression(GstElement* encoder, int quality, int keyFrames) {
  if (!SetIfPresent(encoder, "quality", std::to_string(quality)) &&
      SetIfPresent(encoder, "pass", "quant"))
    SetIfPresent(encoder, "quantizer", std::to_string(QuantiserOf(quality)));
  for (const char* name : {"gop-size", "key-int-max", "keyframe-max-dist"})
    if (SetIfPresent(encoder, name, std::to_string(keyFrames))) break;
}

class GStreamerRecorder : public Recorder {
 public:
  ~GStreamerRecorder() override { Discard(); }

  std::vector<std::string> Codecs() const override { return InstalledEncoders(); }

  bool Open(const std::filesystem::path& target, const RecorderFormat& f) override {
    Discard();
    ClearError();
    if (!GStreamerReady()) return Fail(Txt(txt::RecordNoMemoryVideo));
    const std::vector<std::string> codecs = InstalledEncoders();
    const std::string codec = f.codec.empty() && !codecs.empty() ? codecs.front() : f.codec;
    if (std::find(codecs.begin(), codecs.end(), codec) == codecs.end())
      return Fail(Txt(txt::RecordCodecMissing));
    target_ = target;
    temporary_ = MakeTemporaryBeside(target);
    if (temporary_.empty()) return Fail(Txt(txt::AviWriterCannotReplace));
    if (!Build(codec, f) || !Play()) {
      Discard();
      return false;
    }
    return true;
  }

  bool AddFrame(const Bitmap& picture) override {
    if (!pipeline_) return Fail(Txt(txt::AviWriterNotInitialised));
    if (picture.width != width_ || picture.height != height_)
      return Fail(Txt(txt::AviWriterFrameDamaged));
    GstBuffer* buffer = gst_buffer_new_memdup(picture.pixels.data(), picture.pixels.size());
    GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(next_, GST_SECOND * rateDen_, rateNum_);
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(GST_SECOND, rateDen_, rateNum_);
    ++next_;
    if (gst_app_src_push_buffer(GST_APP_SRC(source_), buffer) != GST_FLOW_OK || Failed())
      return Fail(Txt(txt::RecordFrameNotInserted));
    return true;
  }

  bool Finish() override {
    if (!pipeline_) return Fail(Txt(txt::AviWriterNotInitialised));
    gst_app_src_end_of_stream(GST_APP_SRC(source_));
    std::unique_ptr<GstBus, ObjectUnref> bus(gst_element_get_bus(pipeline_.get()));
    GstMessage* end = gst_bus_timed_pop_filtered(
        bus.get(), GST_CLOCK_TIME_NONE, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool complete = end && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS;
    if (end) gst_message_unref(end);
    Stop();
    return Complete(complete, temporary_, target_);
  }

  void Discard() override {
    Stop();
    if (!temporary_.empty()) RemoveQuietly(temporary_);
    temporary_.clear();
  }

 private:
  bool Build(const std::string& codec, const RecorderFormat& f) {
    pipeline_.reset(GST_ELEMENT(gst_object_ref_sink(gst_pipeline_new(nullptr))));
    source_ = gst_element_factory_make("appsrc", nullptr);
    GstElement* convert = gst_element_factory_make("videoconvert", nullptr);
    GstElement* encoder = gst_element_factory_make(codec.c_str(), nullptr);
    GstElement* mux = gst_element_factory_make("avimux", nullptr);
    GstElement* sink = gst_element_factory_make("filesink", nullptr);
    for (GstElement* e : {source_, convert, encoder, mux, sink})
      if (!e) return Fail(Txt(txt::RecordCodecMissing));
    gst_bin_add_many(GST_BIN(pipeline_.get()), source_, convert, encoder, mux, sink, nullptr);
    if (!gst_element_link_many(source_, convert, encoder, mux, sink, nullptr))
      return Fail(Txt(txt::AviWriterFormatRefused));
    width_ = f.width;
    height_ = f.height;
    gst_util_double_to_fraction(f.framesPerSecond, &rateNum_, &rateDen_);
    CapsPtr caps(gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "RGB", "width",
                                     G_TYPE_INT, f.width, "height", G_TYPE_INT, f.height,
                                     "framerate", GST_TYPE_FRACTION, rateNum_, rateDen_, nullptr));
    g_object_set(source_, "caps", caps.get(), "format", GST_FORMAT_TIME, "block", TRUE, "max-bytes",
                 guint64(8) * f.width * f.height * 3, nullptr);
    ApplyCompression(encoder, f.quality, f.keyFrames);
    if (!f.comment.empty() && GST_IS_TAG_SETTER(mux))
      gst_tag_setter_add_tags(GST_TAG_SETTER(mux), GST_TAG_MERGE_REPLACE, GST_TAG_COMMENT,
                              f.comment.c_str(), nullptr);
    g_object_set(sink, "location", temporary_.c_str(), nullptr);
    next_ = 0;
    return true;
  }

  bool Play() {
    if (gst_element_set_state(pipeline_.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
      return Fail(Txt(txt::AviWriterFormatRefused));
    return true;
  }

  // An error the pipeline reported since the last look.
  bool Failed() const {
    std::unique_ptr<GstBus, ObjectUnref> bus(gst_element_get_bus(pipeline_.get()));
    GstMessage* error = gst_bus_pop_filtered(bus.get(), GST_MESSAGE_ERROR);
    if (error) gst_message_unref(error);
    return error != nullptr;
  }

  void Stop() {
    if (pipeline_) gst_element_set_state(pipeline_.get(), GST_STATE_NULL);
    pipeline_.reset();
    source_ = nullptr;
  }

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  std::unique_ptr<GstElement, ObjectUnref> pipeline_;
  GstElement* source_ = nullptr;  // owned by the pipeline
  int width_ = 0;
  int height_ = 0;
  gint rateNum_ = 25;
  gint rateDen_ = 1;
  std::uint64_t next_ = 0;
};

}  // namespace

std::unique_ptr<Recorder> MakeGStreamerRecorder() { return std::make_unique<GStreamerRecorder>(); }

}  // namespace kinovia
