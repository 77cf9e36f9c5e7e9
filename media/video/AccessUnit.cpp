#include "media/video/AccessUnit.h"

#include <algorithm>
#include <cstring>

namespace kinovia {
namespace {

// Where the unit after the start code found at or after `from` begins; `size` when none is left.
// A 4K picture's packet runs to megabytes: the ones of the start codes are looked for by memchr.
std::size_t NextUnit(std::span<const std::uint8_t> packet, std::size_t from) {
  for (std::size_t i = from + 2; i < packet.size(); ++i) {
    const void* one = std::memchr(packet.data() + i, 1, packet.size() - i);
    if (!one) break;
    i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(one) - packet.data());
    if (packet[i - 1] == 0 && packet[i - 2] == 0) return i + 1;
  }
  return packet.size();
}

bool StartsWithStartCode(std::span<const std::uint8_t> packet) {
  const auto first = NextUnit(packet.first(std::min<std::size_t>(packet.size(), 4)), 0);
  return first == 3 || (first == 4 && packet[0] == 0);
}

// What a unit's header tells, per codec: whether it is an IDR picture's, and whether it is the
// slice that begins a picture (the first bit after the header set: a first macroblock of 0 in
// H.264, the first-segment flag in HEVC).
struct UnitHeader {
  bool idr = false;
  bool firstOfPicture = false;
};

UnitHeader ReadHeader(std::span<const std::uint8_t> unit, PictureCodec codec) {
  const bool h264 = codec == PictureCodec::H264;
  const std::size_t headerBytes = h264 ? 1 : 2;
  if (unit.size() <= headerBytes) return {};
  const int type = h264 ? unit[0] & 0x1f : (unit[0] >> 1) & 0x3f;
  const bool slice = h264 ? type >= 1 && type <= 5 : type <= 31;
  return {h264 ? type == 5 : type == 19 || type == 20, slice && (unit[headerBytes] & 0x80)};
}

}  // namespace

std::optional<int> UnitLengthBytes(std::span<const std::uint8_t> record, PictureCodec codec) {
  // A record in QuickTime's form begins with its version, 1; start codes begin with zeros.
  if (record.empty() || record[0] != 1) return 0;
  const std::size_t at = codec == PictureCodec::H264 ? 4 : 21;
  if (record.size() <= at) return std::nullopt;
  return (record[at] & 3) + 1;
}

namespace {

void Tally(AccessUnit& found, const UnitHeader& header) {
  found.pictures += header.firstOfPicture ? 1 : 0;
  found.instantRefresh = found.instantRefresh || header.idr;
}

AccessUnit InspectStartCodes(std::span<const std::uint8_t> packet, PictureCodec codec) {
  AccessUnit found;
  found.wellFormed = StartsWithStartCode(packet);
  if (!found.wellFormed) return found;
  for (std::size_t at = NextUnit(packet, 0); at < packet.size();) {
    const std::size_t next = NextUnit(packet, at);
    const std::size_t end = next == packet.size() ? next : next - 3;
    Tally(found, ReadHeader(packet.subspan(at, end - at), codec));
    at = next;
  }
  return found;
}

AccessUnit InspectLengthPrefixed(std::span<const std::uint8_t> packet, PictureCodec codec,
                                 std::size_t lengthBytes) {
  AccessUnit found;
  for (std::size_t at = 0; at < packet.size();) {
    if (packet.size() - at < lengthBytes) return {};
    std::size_t length = 0;
    for (std::size_t i = 0; i < lengthBytes; ++i) length = length << 8 | packet[at + i];
    at += lengthBytes;
    if (length == 0 || length > packet.size() - at) return {};
    Tally(found, ReadHeader(packet.subspan(at, length), codec));
    at += length;
  }
  found.wellFormed = !packet.empty();
  return found;
}

}  // namespace

AccessUnit InspectAccessUnit(std::span<const std::uint8_t> packet, PictureCodec codec,
                             int lengthBytes) {
  if (lengthBytes <= 0) return InspectStartCodes(packet, codec);
  return InspectLengthPrefixed(packet, codec, static_cast<std::size_t>(lengthBytes));
}

}  // namespace kinovia
