#include "tests/video/AviBuilder.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace kinovia::test {
namespace {

class Writer {
 public:
  std::vector<std::uint8_t> bytes;

  std::size_t Here() const { return bytes.size(); }
  void Tag(const char* fourCc) { bytes.insert(bytes.end(), fourCc, fourCc + 4); }
  void U16(std::uint32_t v) { Le(v, 2); }
  void U32(std::uint32_t v) { Le(v, 4); }
  void U64(std::uint64_t v) { Le(v, 8); }
  void Zeros(std::size_t n) { bytes.insert(bytes.end(), n, 0); }
  // Starts a chunk (or a list when `type` is given); returns where its size goes.
  std::size_t Open(const char* id, const char* type = nullptr) {
    Tag(id);
    const std::size_t at = Here();
    U32(0);
    if (type) Tag(type);
    return at;
  }
  void Close(std::size_t sizeAt) {
    Patch32(sizeAt, static_cast<std::uint32_t>(Here() - sizeAt - 4));
    if (Here() & 1) bytes.push_back(0);
  }
  void Patch32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
  void Patch64(std::size_t at, std::uint64_t v) {
    Patch32(at, static_cast<std::uint32_t>(v));
    Patch32(at + 4, static_cast<std::uint32_t>(v >> 32));
  }

 private:
  void Le(std::uint64_t v, int n) {
    for (int i = 0; i < n; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
};

std::vector<std::uint8_t> FrameBytes(const AviRecipe& r, int n) {
  const std::size_t stride = (static_cast<std::size_t>(r.width) * 3 + 3) & ~std::size_t{3};
  std::vector<std::uint8_t> dib(stride * r.height, 0);
  for (int y = 0; y < r.height; ++y) {
    std::uint8_t* row = dib.data() + stride * (r.height - 1 - y);  // bottom-up
    for (int x = 0; x < r.width; ++x) {
      row[3 * x] = static_cast<std::uint8_t>(x * 10 + y);  // B
      row[3 * x + 1] = static_cast<std::uint8_t>(255 - n * 40);
      row[3 * x + 2] = static_cast<std::uint8_t>(n * 40);
    }
  }
  return dib;
}

}  // namespace

std::vector<std::uint8_t> BuildAvi(const AviRecipe& r) {
  Writer w;
  const auto riff = w.Open("RIFF", "AVI ");
  const auto hdrl = w.Open("LIST", "hdrl");
  const auto avih = w.Open("avih");
  w.U32(40000);
  w.Zeros(8);
  w.U32(0x10);
  w.U32(static_cast<std::uint32_t>(r.frames));
  w.U32(0);
  w.U32(1);
  w.U32(0);
  w.U32(static_cast<std::uint32_t>(r.width));
  w.U32(static_cast<std::uint32_t>(r.height));
  w.Zeros(16);
  w.Close(avih);
  const auto strl = w.Open("LIST", "strl");
  const auto strh = w.Open("strh");
  w.Tag("vids");
  w.Zeros(16);
  w.U32(1);   // scale
  w.U32(25);  // rate
  w.U32(0);
  w.U32(static_cast<std::uint32_t>(r.frames));
  w.Zeros(20);
  w.Close(strh);
  const auto strf = w.Open("strf");
  w.U32(40);
  w.U32(static_cast<std::uint32_t>(r.width));
  w.U32(static_cast<std::uint32_t>(r.height));
  w.U16(1);
  w.U16(24);
  w.Zeros(24);
  w.Close(strf);
  std::size_t superEntry = 0;
  if (r.openDml) {
    const auto indx = w.Open("indx");
    w.U16(4);
    w.bytes.push_back(0);
    w.bytes.push_back(0);  // an index of indexes
    w.U32(1);
    w.Tag("00db");
    w.Zeros(12);
    superEntry = w.Here();
    w.Zeros(16);
    w.Close(indx);
  }
  w.Close(strl);
  w.Close(hdrl);
  const auto movi = w.Open("LIST", "movi");
  const std::size_t moviType = movi + 4;
  std::vector<std::pair<std::size_t, std::uint32_t>> chunks;  // data offset and size
  for (int n = 0; n < r.frames; ++n) {
    const bool dropped = std::count(r.dropped.begin(), r.dropped.end(), n) > 0;
    const auto data = dropped ? std::vector<std::uint8_t>() : FrameBytes(r, n);
    const auto chunk = w.Open("00db");
    chunks.emplace_back(w.Here(), static_cast<std::uint32_t>(data.size()));
    w.bytes.insert(w.bytes.end(), data.begin(), data.end());
    w.Close(chunk);
  }
  if (r.openDml) {
    const std::size_t at = w.Here();
    const auto ix = w.Open("ix00");
    w.U16(2);
    w.bytes.push_back(0);
    w.bytes.push_back(1);  // an index of chunks
    w.U32(static_cast<std::uint32_t>(r.frames));
    w.Tag("00db");
    w.U64(moviType);
    w.U32(0);
    for (const auto& [data, size] : chunks) {
      w.U32(static_cast<std::uint32_t>(data - moviType));
      w.U32(size);
    }
    w.Close(ix);
    w.Patch64(superEntry, at);
    w.Patch32(superEntry + 8, static_cast<std::uint32_t>(w.Here() - at));
    w.Patch32(superEntry + 12, static_cast<std::uint32_t>(r.frames));
  }
  w.Close(movi);
  if (r.idx1) {
    const auto idx1 = w.Open("idx1");
    for (const auto& [data, size] : chunks) {
      w.Tag("00db");
      w.U32(0x10);
      w.U32(static_cast<std::uint32_t>(data - 8 - moviType));
      w.U32(size);
    }
    w.Close(idx1);
  }
  w.Close(riff);
  return w.bytes;
}

}  // namespace kinovia::test
