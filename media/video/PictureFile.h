#pragma once
// Writes one picture to a .bmp (24-bit, bottom-up, as the platform's bitmaps) or .png file, and
// reads one back.
#include <string>

#include "media/video/FrameSource.h"

namespace kinovia {

enum class PictureFormat { Bmp, Png, Unknown };

// By the extension of the name, case ignored.
PictureFormat PictureFormatOf(const std::string& fileName);

// False when the file cannot be written (nothing is left behind then) or the format is unknown.
bool WritePicture(const Bitmap& picture, const std::string& fileName);

// Reads a picture file of any depth or layout FFmpeg's image decoders know into `picture`; false,
// `picture` untouched, when it cannot be read or is larger than a frame may be.
bool ReadPicture(const std::string& fileName, Bitmap& picture);

}  // namespace kinovia
