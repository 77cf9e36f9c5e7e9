#include "logic/studio/PictureSeries.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>

namespace kinovia {
namespace {

int DigitsOf(std::int64_t count) {
  int digits = 1;
  for (std::int64_t rest = count; rest >= 10; rest /= 10) ++digits;
  return digits;
}

// A name cut round its final number: what comes before, the digits, and the extension.
struct NumberedName {
  std::string head;
  std::string digits;
  std::string extension;
};

std::optional<NumberedName> SplitNumber(const std::string& name) {
  const std::filesystem::path path(name);
  const std::string stem = (path.parent_path() / path.stem()).string();
  const auto first =
      std::find_if_not(stem.rbegin(), stem.rend(), [](unsigned char c) { return std::isdigit(c); });
  const auto width = std::size_t(first - stem.rbegin());
  // Beyond 18 digits the number would not fit the count it is compared with.
  if (width == 0 || width > 18) return std::nullopt;
  return NumberedName{stem.substr(0, stem.size() - width), stem.substr(stem.size() - width),
                      path.extension().string()};
}

}  // namespace

std::string PictureSuffix(std::int64_t index, std::int64_t count) {
  std::string digits = std::to_string(index);
  const auto width = std::size_t(DigitsOf(count));
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

std::string SeriesPictureName(const std::string& base, std::int64_t index, std::int64_t count) {
  return base + "_" + PictureSuffix(index, count) + ".bmp";
}

std::string WithoutExtension(const std::string& name) {
  const std::filesystem::path path(name);
  return path.has_extension() ? (path.parent_path() / path.stem()).string() : name;
}

bool FormsOneNumbering(const std::vector<std::string>& sorted) {
  std::optional<NumberedName> previous;
  for (const std::string& name : sorted) {
    auto current = SplitNumber(name);
    if (!current) return false;
    if (previous &&
        (current->head != previous->head || current->digits.size() != previous->digits.size() ||
         current->extension != previous->extension ||
         std::stoll(current->digits) != std::stoll(previous->digits) + 1))
      return false;
    previous = std::move(current);
  }
  return true;
}

std::vector<std::string> StandInNames(const std::vector<std::string>& sorted) {
  std::vector<std::string> names;
  names.reserve(sorted.size());
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    const std::filesystem::path path(sorted[i]);
    const std::string leaf = "~" + PictureSuffix(std::int64_t(i), std::int64_t(sorted.size())) +
                             path.extension().string();
    names.push_back((path.parent_path() / leaf).string());
  }
  return names;
}

}  // namespace kinovia
