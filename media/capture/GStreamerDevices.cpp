#include "media/capture/GStreamerDevices.h"

#include <gst/gst.h>

#include <mutex>

namespace kinovia {

bool GStreamerStarted() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] { ready = gst_init_check(nullptr, nullptr, nullptr); });
  return ready;
}

namespace {

std::string PathOf(GstDevice* device) {
  GstStructure* properties = gst_device_get_properties(device);
  if (!properties) return {};
  std::string path;
  for (const char* key : {"device.path", "api.v4l2.path", "object.path"}) {
    if (const gchar* value = gst_structure_get_string(properties, key)) {
      path = value;
      break;
    }
  }
  gst_structure_free(properties);
  return path;
}

}  // namespace

std::vector<GStreamerVideoSource> GStreamerVideoSources() {
  std::vector<GStreamerVideoSource> sources;
  if (!GStreamerStarted()) return sources;
  GstDeviceMonitor* monitor = gst_device_monitor_new();
  gst_device_monitor_add_filter(monitor, "Video/Source", nullptr);
  GList* devices = gst_device_monitor_get_devices(monitor);
  for (GList* item = devices; item; item = item->next) {
    auto* device = GST_DEVICE(item->data);
    gchar* name = gst_device_get_display_name(device);
    std::string path = PathOf(device);
    // Only V4L2 nodes: v4l2src is the framework's way to a camera.
    if (path.rfind("/dev/video", 0) == 0) sources.push_back({name ? name : path, path});
    g_free(name);
  }
  g_list_free_full(devices, gst_object_unref);
  gst_object_unref(monitor);
  return sources;
}

}  // namespace kinovia
