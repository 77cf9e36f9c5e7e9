#pragma once
// Writes one picture to a .bmp (24-bit, bottom-up, as the platform's bitmaps) or .png file.
#include <string>

#include "video/UnitFrameSource.h"

namespace kinovia {

enum class TPictureFormat { Bmp, Png, Unknown };

// By the extension of the name, case ignored.
TPictureFormat PictureFormatOf(const std::string& fileName);

// False when the file cannot be written (nothing is left behind then) or the format is unknown.
bool WritePicture(const TBitmap& picture, const std::string& fileName);

}  // namespace kinovia
