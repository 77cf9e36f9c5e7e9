#include "logic/session/WorkFile.h"

#include <filesystem>

#include "resources/TxtCommon.h"
#include "resources/TxtSettings.h"

namespace kinovia {
namespace {

namespace fs = std::filesystem;

Message Box(MessageIcon icon, std::vector<TxtId> buttons) { return {icon, std::move(buttons), {}}; }

bool Exists(const fs::path& path) {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(path, error);
}

// The clip as written on another system may use either separator; its name is what is left.
std::string BareName(const std::string& stored) {
  const auto cut = stored.find_last_of("/\\");
  return cut == std::string::npos ? stored : stored.substr(cut + 1);
}

std::optional<std::string> LocateClip(const WorkFileContent& work, const std::string& workPath) {
  const fs::path folder = fs::path(workPath).parent_path();
  if (Exists(work.videoFileName)) return work.videoFileName;
  if (!work.videoRelativeName.empty()) {
    const fs::path relative = (folder / work.videoRelativeName).lexically_normal();
    if (Exists(relative)) return relative.string();
  }
  const std::string name = BareName(work.videoFileName);
  if (!name.empty() && Exists(folder / name)) return (folder / name).string();
  return std::nullopt;
}

}  // namespace

bool WorkFile::Open(const std::string& path) {
  if (ini_) return false;
  IniFile ini;
  const IniLoad loaded = ini.Load(path);
  if (loaded != IniLoad::Loaded && loaded != IniLoad::Missing) return false;
  path_ = path;
  ini_ = std::move(ini);
  return true;
}

bool WorkFile::Close() {
  if (!ini_) return false;
  const bool saved = ini_->Save(path_);
  ini_.reset();
  return saved;
}

std::optional<std::string> SaveWorkCommand(bool clipOpen, const WorkFileContent& work,
                                           SaveCommandUi& ui) {
  if (!clipOpen) {
    ui.ShowMessage(Box(MessageIcon::Information, {txt::ButtonOk}).Line(txt::KnvNoClip));
    return std::nullopt;
  }
  const auto chosen = ui.AskSaveName();
  if (!chosen || chosen->empty()) return std::nullopt;
  const std::string path = fs::path(*chosen).replace_extension(".knv").string();
  std::error_code error;
  if (fs::exists(path, error)) {
    Message ask = Box(MessageIcon::Warning, {txt::ButtonCancelar, txt::ButtonOk});
    ask.FileName(path).Blank().Line(txt::KnvReplaceQuestion);
    if (ui.ShowMessage(ask) == 0) return std::nullopt;
  }
  ui.RememberFolder(fs::path(path).parent_path().string());
  WorkFile knv;
  if (!knv.Open(path)) {
    ui.ShowMessage(
        Box(MessageIcon::Error, {txt::ButtonOk}).Line(txt::KnvSaveFailed).Line(txt::KnvCheckDisk));
    return std::nullopt;
  }
  WorkFileContent stored = work;
  const fs::path clip(work.videoFileName);
  if (clip.is_absolute()) {
    stored.videoRelativeName = clip.lexically_relative(fs::path(path).parent_path()).string();
  }
  WriteWorkFile(*knv.Ini(), stored);
  if (!knv.Close()) {
    ui.ShowMessage(Box(MessageIcon::Error, {txt::ButtonOk}).Line(txt::KnvNotSaved));
    return std::nullopt;
  }
  ui.ShowMessage(
      Box(MessageIcon::Information, {txt::ButtonOk}).Line(txt::KnvSaved).Blank().FileName(path));
  return path;
}

Result<OpenedWork> OpenWorkFile(const std::string& path) {
  IniFile ini;
  if (ini.Load(path) != IniLoad::Loaded) {
    return Box(MessageIcon::Error, {txt::ButtonOk})
        .Line(txt::KnvCannotOpen)
        .FileName(path)
        .Blank()
        .Line(txt::KnvUnreadable);
  }
  auto read = ReadWorkFile(ini, path);
  if (!read) return read.Failure();
  auto clip = LocateClip(read.Value(), path);
  if (!clip) {
    return Box(MessageIcon::Warning, {txt::ButtonOk})
        .Line(txt::KnvClipMissing)
        .FileName(read->videoFileName)
        .Blank()
        .Line(txt::KnvClipLocate);
  }
  return OpenedWork{std::move(read).Value(), std::move(*clip)};
}

}  // namespace kinovia
