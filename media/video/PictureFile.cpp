#include "media/video/PictureFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "media/video/AvHandles.h"
#include "media/video/MediaLibraries.h"
#include "media/video/PictureConversion.h"
#include "media/video/PictureLimits.h"

namespace kinovia {
namespace {

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::vector<std::uint8_t> BmpBytes(const Bitmap& picture) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(picture.width) * 3 + 3) & ~3u;
  const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(picture.height);
  std::vector<std::uint8_t> out;
  out.reserve(54 + imageSize);
  out.push_back('B');
  out.push_back('M');
  PutLe(out, 54 + imageSize, 4);
  PutLe(out, 0, 4);
  PutLe(out, 54, 4);
  PutLe(out, 40, 4);
  PutLe(out, static_cast<std::uint32_t>(picture.width), 4);
  PutLe(out, static_cast<std::uint32_t>(picture.height), 4);  // positive: bottom-up rows
  PutLe(out, 1, 2);
  PutLe(out, 24, 2);
  PutLe(out, 0, 4);
  PutLe(out, imageSize, 4);
  PutLe(out, 2835, 4);  // 72 dpi
  PutLe(out, 2835, 4);
  PutLe(out, 0, 4);
  PutLe(out, 0, 4);
  for (int y = picture.height - 1; y >= 0; --y) {
    const std::uint8_t* row = picture.Row(y);
    for (int x = 0; x < picture.width; ++x) {
      out.push_back(row[3 * x + 2]);
      out.push_back(row[3 * x + 1]);
      out.push_back(row[3 * x]);
    }
    out.insert(out.end(), stride - 3 * static_cast<std::uint32_t>(picture.width), 0);
  }
  return out;
}

std::vector<std::uint8_t> PngBytes(const Bitmap& picture) {
  SilenceMediaLibraryLogs();
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_PNG);
  AvCodecPtr context(codec ? avcodec_alloc_context3(codec) : nullptr);
  AvFramePtr frame(av_frame_alloc());
  AvPacketPtr packet(av_packet_alloc());
  if (!context || !frame || !packet) return {};
  context->width = picture.width;
  context->height = picture.height;
  context->pix_fmt = AV_PIX_FMT_RGB24;
  context->time_base = {1, 25};
  if (avcodec_open2(context.get(), codec, nullptr) < 0) return {};
  frame->format = AV_PIX_FMT_RGB24;
  frame->width = picture.width;
  frame->height = picture.height;
  // The encoder only reads the frame, which borrows the picture's rows.
  frame->data[0] = const_cast<std::uint8_t*>(picture.pixels.data());
  frame->linesize[0] = 3 * picture.width;
  if (avcodec_send_frame(context.get(), frame.get()) < 0 ||
      avcodec_receive_packet(context.get(), packet.get()) < 0)
    return {};
  return {packet->data, packet->data + packet->size};
}

// The first picture of the file, decoded. The reader is named by the extension, never guessed
// from the content: a file posing as a picture must not open a playlist or a device.
AvFramePtr DecodeFirstPicture(const std::string& fileName) {
  SilenceMediaLibraryLogs();
  const PictureFormat kind = PictureFormatOf(fileName);
  if (kind == PictureFormat::Unknown) return nullptr;
  const AVInputFormat* reader =
      av_find_input_format(kind == PictureFormat::Bmp ? "bmp_pipe" : "png_pipe");
  AVFormatContext* opened = nullptr;
  if (!reader || avformat_open_input(&opened, fileName.c_str(), reader, nullptr) < 0)
    return nullptr;
  AvFormatPtr format(opened);
  const AVCodec* codec = nullptr;
  const int stream = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
  AvCodecPtr context(codec ? avcodec_alloc_context3(codec) : nullptr);
  AvPacketPtr packet(av_packet_alloc());
  AvFramePtr frame(av_frame_alloc());
  if (stream < 0 || !context || !packet || !frame ||
      avcodec_parameters_to_context(context.get(), format->streams[stream]->codecpar) < 0)
    return nullptr;
  // A header claiming a huge picture must not make the decoder allocate for it.
  context->max_pixels = std::int64_t(kMaxPictureSide) * kMaxPictureSide;
  if (avcodec_open2(context.get(), codec, nullptr) < 0) return nullptr;
  while (av_read_frame(format.get(), packet.get()) >= 0) {
    const bool ours = packet->stream_index == stream;
    const int sent = ours ? avcodec_send_packet(context.get(), packet.get()) : 0;
    av_packet_unref(packet.get());
    if (sent < 0) return nullptr;
    if (ours && avcodec_receive_frame(context.get(), frame.get()) >= 0) return frame;
  }
  avcodec_send_packet(context.get(), nullptr);
  return avcodec_receive_frame(context.get(), frame.get()) >= 0 ? std::move(frame) : nullptr;
}

}  // namespace

PictureFormat PictureFormatOf(const std::string& fileName) {
  std::string extension = std::filesystem::path(fileName).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".bmp") return PictureFormat::Bmp;
  if (extension == ".png") return PictureFormat::Png;
  return PictureFormat::Unknown;
}

bool WritePicture(const Bitmap& picture, const std::string& fileName) {
  const PictureFormat format = PictureFormatOf(fileName);
  if (format == PictureFormat::Unknown || picture.width <= 0 || picture.height <= 0) return false;
  const auto bytes = format == PictureFormat::Bmp ? BmpBytes(picture) : PngBytes(picture);
  if (bytes.empty()) return false;
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (out) return true;
  std::error_code ignored;
  std::filesystem::remove(fileName, ignored);
  return false;
}

bool ReadPicture(const std::string& fileName, Bitmap& picture) {
  const AvFramePtr frame = DecodeFirstPicture(fileName);
  if (!frame || !PictureSizeAllowed(frame->width, frame->height)) return false;
  RgbConverter converter;
  Bitmap read;
  if (!converter.ConvertWhole(*frame, read)) return false;
  picture = std::move(read);
  return true;
}

}  // namespace kinovia
