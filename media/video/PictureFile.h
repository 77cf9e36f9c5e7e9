#pragma once
// Writes one picture to a .bmp (24-bit, bottom-up, as the platform's bitmaps) or .png file.
#include <string>

#include "media/video/FrameSource.h"

namespace kinovia {

enum class PictureFormat { Bmp, Png, Unknown };

// By the extension of the name, case ignored.
PictureFormat PictureFormatOf(const std::string& fileName);

// False when the file cannot be written (nothing is left behind then) or the format is unknown.
bool WritePicture(const Bitmap& picture, const std::string& fileName);

}  // namespace kinovia
