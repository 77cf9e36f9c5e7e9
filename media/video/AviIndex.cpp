#include "media/video/AviIndex.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace kinovia {

bool MemoryBytes::Read(std::uint64_t offset, std::span<std::uint8_t> out) const {
  if (offset > bytes_.size() || out.size() > bytes_.size() - offset) return false;
  if (!out.empty()) std::memcpy(out.data(), bytes_.data() + offset, out.size());
  return true;
}

namespace {

using FourCc = std::array<char, 4>;

constexpr std::uint32_t kIndexOfIndexes = 0x00;
constexpr std::uint32_t kIndexOfChunks = 0x01;
constexpr std::uint32_t kIdx1ListFlag = 0x01;
constexpr std::uint32_t kKeyFrameBitMask = 0x7FFFFFFF;
constexpr int kMaxListDepth = 4;

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t Le32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}
std::uint64_t Le64(const std::uint8_t* p) { return Le32(p) | std::uint64_t{Le32(p + 4)} << 32; }
bool Is(const std::uint8_t* p, const char* fourCc) { return std::memcmp(p, fourCc, 4) == 0; }

// A chunk's data span [data, end) inside its parent, truncated to what the parent holds.
struct Chunk {
  std::array<std::uint8_t, 4> id{};
  std::uint64_t data = 0;
  std::uint64_t end = 0;
  std::uint64_t next = 0;  // where the following sibling begins
  std::uint32_t size = 0;  // as declared, possibly beyond the parent
};

std::optional<Chunk> ChunkAt(const ByteSource& file, std::uint64_t pos, std::uint64_t parentEnd) {
  std::array<std::uint8_t, 8> head{};
  if (pos > parentEnd || parentEnd - pos < 8 || !file.Read(pos, head)) return std::nullopt;
  Chunk chunk;
  std::memcpy(chunk.id.data(), head.data(), 4);
  const std::uint64_t size = Le32(head.data() + 4);
  chunk.size = static_cast<std::uint32_t>(size);
  chunk.data = pos + 8;
  chunk.end = std::min(chunk.data + size, parentEnd);
  chunk.next = chunk.data + size + (size & 1);
  return chunk;
}

std::vector<std::uint8_t> ReadSpan(const ByteSource& file, std::uint64_t from, std::uint64_t to,
                                   std::uint64_t limit) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(to - from, limit)));
  if (!file.Read(from, bytes)) bytes.clear();
  return bytes;
}

struct StreamHeader {
  int number = -1;
  std::uint32_t scale = 0;
  std::uint32_t rate = 0;
  std::vector<std::uint8_t> format;  // the "strf" bytes
  std::optional<Chunk> superIndex;   // the OpenDML "indx" chunk
};

class AviWalker {
 public:
  explicit AviWalker(const ByteSource& file) : file_(file), size_(file.Size()) {}

  std::optional<AviLayout> Run();

 private:
  void WalkRiff(std::uint64_t from, std::uint64_t to);
  void WalkHeaderList(std::uint64_t from, std::uint64_t to);
  void WalkStreamList(std::uint64_t from, std::uint64_t to, int number);
  bool ReadFormat(AviLayout& layout) const;
  bool MatchesStream(const std::uint8_t* id) const;
  void AddFrame(std::uint64_t data, std::uint32_t size);
  // Every frame needs a chunk header in the file, so more entries than that is a hostile index.
  bool Full() const { return frames_.size() >= size_ / 8; }
  bool FrameInsideFile(std::uint64_t data, std::uint32_t size) const {
    return data <= size_ && size <= size_ - data;
  }
  void ReadOpenDmlIndex();
  void ReadStandardIndex(std::uint64_t chunkPos);
  void ReadIdx1();
  void ScanMovi(std::uint64_t from, std::uint64_t to, int depth);

  const ByteSource& file_;
  const std::uint64_t size_;
  int streamsSeen_ = 0;
  StreamHeader video_;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> moviLists_;  // data spans
  std::optional<Chunk> idx1_;
  std::vector<AviChunk> frames_;
};

std::optional<AviLayout> AviWalker::Run() {
  std::array<std::uint8_t, 12> head{};
  if (!file_.Read(0, head) || !Is(head.data(), "RIFF") || !Is(head.data() + 8, "AVI "))
    return std::nullopt;
  // The first RIFF is "AVI ", then OpenDML files continue in "AVIX" RIFFs.
  std::uint64_t pos = 0;
  while (auto riff = ChunkAt(file_, pos, size_)) {
    if (!Is(riff->id.data(), "RIFF") || riff->end - riff->data < 4) break;
    WalkRiff(riff->data + 4, riff->end);
    pos = riff->next;
  }
  AviLayout layout;
  if (video_.number < 0 || video_.rate == 0 || video_.scale == 0 || !ReadFormat(layout))
    return std::nullopt;
  ReadOpenDmlIndex();
  layout.indexKind = AviIndexKind::OpenDml;
  if (frames_.empty()) {
    ReadIdx1();
    layout.indexKind = AviIndexKind::Idx1;
  }
  if (frames_.empty()) {
    for (const auto& [from, to] : moviLists_) ScanMovi(from, to, 0);
    layout.indexKind = AviIndexKind::Scan;
  }
  // A dropped frame repeats the one before it; leading dropped frames show the first real one.
  const auto firstReal =
      std::find_if(frames_.begin(), frames_.end(), [](const AviChunk& c) { return c.size > 0; });
  if (firstReal == frames_.end()) return std::nullopt;
  AviChunk last = *firstReal;
  for (auto& frame : frames_) {
    if (frame.size == 0) frame = last;
    last = frame;
  }
  layout.rate = video_.rate;
  layout.scale = video_.scale;
  layout.frames = std::move(frames_);
  return layout;
}

void AviWalker::WalkRiff(std::uint64_t from, std::uint64_t to) {
  std::uint64_t pos = from;
  while (auto chunk = ChunkAt(file_, pos, to)) {
    std::array<std::uint8_t, 4> type{};
    const bool isList = Is(chunk->id.data(), "LIST") && chunk->end - chunk->data >= 4 &&
                        file_.Read(chunk->data, type);
    if (isList && Is(type.data(), "hdrl")) WalkHeaderList(chunk->data + 4, chunk->end);
    if (isList && Is(type.data(), "movi")) moviLists_.emplace_back(chunk->data + 4, chunk->end);
    // idx1 offsets may count from the "movi" type field, kept as the first list's start.
    if (Is(chunk->id.data(), "idx1") && !idx1_) idx1_ = chunk;
    pos = chunk->next;
  }
}

void AviWalker::WalkHeaderList(std::uint64_t from, std::uint64_t to) {
  std::uint64_t pos = from;
  while (auto chunk = ChunkAt(file_, pos, to)) {
    std::array<std::uint8_t, 4> type{};
    if (Is(chunk->id.data(), "LIST") && chunk->end - chunk->data >= 4 &&
        file_.Read(chunk->data, type) && Is(type.data(), "strl")) {
      WalkStreamList(chunk->data + 4, chunk->end, streamsSeen_++);
    }
    pos = chunk->next;
  }
}

void AviWalker::WalkStreamList(std::uint64_t from, std::uint64_t to, int number) {
  if (video_.number >= 0) return;
  StreamHeader stream;
  bool isVideo = false;
  std::uint64_t pos = from;
  while (auto chunk = ChunkAt(file_, pos, to)) {
    const auto* id = chunk->id.data();
    if (Is(id, "strh") && chunk->end - chunk->data >= 28) {
      const auto bytes = ReadSpan(file_, chunk->data, chunk->end, 64);
      if (bytes.size() >= 28) {
        isVideo = Is(bytes.data(), "vids");
        stream.scale = Le32(bytes.data() + 20);
        stream.rate = Le32(bytes.data() + 24);
      }
    } else if (Is(id, "strf")) {
      stream.format = ReadSpan(file_, chunk->data, chunk->end, 256);
    } else if (Is(id, "indx")) {
      stream.superIndex = chunk;
    }
    pos = chunk->next;
  }
  if (!isVideo) return;
  stream.number = number;
  video_ = std::move(stream);
}

bool AviWalker::ReadFormat(AviLayout& layout) const {
  const auto& f = video_.format;
  if (f.size() < 40) return false;
  const auto width = static_cast<std::int32_t>(Le32(f.data() + 4));
  const auto height = static_cast<std::int32_t>(Le32(f.data() + 8));
  const int bitCount = Le16(f.data() + 14);
  const std::uint8_t* compression = f.data() + 16;
  if (width <= 0 || width > kMaxPictureSide || height == 0 || height < -kMaxPictureSide ||
      height > kMaxPictureSide)
    return false;
  layout.width = width;
  layout.height = height < 0 ? -height : height;
  layout.bottomUp = height > 0;
  if (Le32(compression) == 0 && bitCount == 24) {
    layout.codec = AviStreamCodec::Rgb24;
  } else if (Le32(compression) == 0 && bitCount == 32) {
    layout.codec = AviStreamCodec::Rgb32;
  } else if (Is(compression, "MJPG") || Is(compression, "mjpg") || Is(compression, "JPEG") ||
             Is(compression, "jpeg")) {
    layout.codec = AviStreamCodec::Mjpeg;
  } else {
    return false;
  }
  return true;
}

bool AviWalker::MatchesStream(const std::uint8_t* id) const {
  const int n = video_.number;
  if (n > 99 || id[0] != '0' + n / 10 || id[1] != '0' + n % 10) return false;
  return (id[2] == 'd' && (id[3] == 'c' || id[3] == 'b'));
}

void AviWalker::AddFrame(std::uint64_t data, std::uint32_t size) {
  // A frame cut off by truncation cannot be shown: the clip ends before it.
  if (FrameInsideFile(data, size)) frames_.push_back({data, size});
}

void AviWalker::ReadOpenDmlIndex() {
  if (!video_.superIndex) return;
  const auto& super = *video_.superIndex;
  const auto head = ReadSpan(file_, super.data, super.end, 24);
  if (head.size() < 24) return;
  const std::uint32_t longsPerEntry = Le16(head.data());
  const std::uint32_t type = head[3];
  const std::uint64_t inUse = Le32(head.data() + 4);
  if (type == kIndexOfChunks) {
    ReadStandardIndex(super.data - 8);
    return;
  }
  if (type != kIndexOfIndexes || longsPerEntry != 4) return;
  const std::uint64_t count = std::min(inUse, (super.end - super.data - 24) / 16);
  const auto entries = ReadSpan(file_, super.data + 24, super.data + 24 + count * 16, count * 16);
  for (std::size_t i = 0; i + 16 <= entries.size() && !Full(); i += 16)
    ReadStandardIndex(Le64(entries.data() + i));
}

void AviWalker::ReadStandardIndex(std::uint64_t chunkPos) {
  const auto chunk = ChunkAt(file_, chunkPos, size_);
  if (!chunk) return;
  const auto head = ReadSpan(file_, chunk->data, chunk->end, 24);
  if (head.size() < 24 || Le16(head.data()) != 2 || head[3] != kIndexOfChunks) return;
  if (!MatchesStream(head.data() + 8)) return;
  const std::uint64_t base = Le64(head.data() + 12);
  const std::uint64_t count =
      std::min<std::uint64_t>(Le32(head.data() + 4), (chunk->end - chunk->data - 24) / 8);
  const auto entries = ReadSpan(file_, chunk->data + 24, chunk->data + 24 + count * 8, count * 8);
  if (base > size_) return;
  for (std::size_t i = 0; i + 8 <= entries.size() && !Full(); i += 8) {
    const std::uint64_t offset = Le32(entries.data() + i);
    AddFrame(base + offset, Le32(entries.data() + i + 4) & kKeyFrameBitMask);
  }
}

void AviWalker::ReadIdx1() {
  if (!idx1_ || moviLists_.empty()) return;
  const auto bytes = ReadSpan(file_, idx1_->data, idx1_->end, idx1_->end - idx1_->data);
  // Offsets count from the "movi" type field, or, in some writers, from the file's start.
  const std::uint64_t movi = moviLists_.front().first - 4;
  std::optional<std::uint64_t> base;
  for (std::size_t i = 0; i + 16 <= bytes.size() && !Full(); i += 16) {
    const std::uint8_t* entry = bytes.data() + i;
    if (!MatchesStream(entry) || (Le32(entry + 4) & kIdx1ListFlag)) continue;
    const std::uint64_t offset = Le32(entry + 8);
    if (!base) {
      for (const std::uint64_t candidate : {movi, std::uint64_t{0}}) {
        std::array<std::uint8_t, 4> id{};
        if (file_.Read(candidate + offset, id) && std::memcmp(id.data(), entry, 4) == 0) {
          base = candidate;
          break;
        }
      }
      if (!base) return;
    }
    AddFrame(*base + offset + 8, Le32(entry + 12));
  }
}

void AviWalker::ScanMovi(std::uint64_t from, std::uint64_t to, int depth) {
  std::uint64_t pos = from;
  std::optional<Chunk> chunk;
  while (!Full() && (chunk = ChunkAt(file_, pos, to))) {
    if (Is(chunk->id.data(), "LIST") && depth < kMaxListDepth && chunk->end - chunk->data >= 4) {
      ScanMovi(chunk->data + 4, chunk->end, depth + 1);
    } else if (MatchesStream(chunk->id.data())) {
      AddFrame(chunk->data, chunk->size);
    }
    pos = chunk->next;
  }
}

}  // namespace

std::optional<AviLayout> ReadAviLayout(const ByteSource& file) { return AviWalker(file).Run(); }

}  // namespace kinovia
