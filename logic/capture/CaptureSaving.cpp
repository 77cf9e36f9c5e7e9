#include "logic/capture/CaptureSaving.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "resources/TxtCapture.h"
#include "resources/TxtCommon.h"

namespace kinovia {

namespace fs = std::filesystem;

namespace {

Message Warning() {
  Message m;
  m.icon = MessageIcon::Warning;
  m.buttons = {txt::ButtonOk};
  return m;
}

Message ExistsWarning(const std::string& name) {
  Message m = Warning();
  m.FileName(name).Blank().Line(txt::CaptureFileExists).Blank().Line(txt::CaptureChooseOtherName);
  return m;
}

// The name the user settles on: asked again while it names an existing file.
std::optional<std::string> ChooseName(std::string folder, CaptureSaveUi& ui) {
  for (;;) {
    const auto chosen = ui.AskSaveName(folder);
    if (!chosen) return std::nullopt;
    std::string name = WithAviExtension(*chosen);
    folder = fs::path(name).parent_path().string();
    ui.RememberFolder(folder);
    std::error_code error;
    if (!fs::exists(name, error)) return name;
    ui.ShowMessage(ExistsWarning(name));
  }
}

}  // namespace

std::string WithAviExtension(std::string name) {
  std::string tail = name.size() >= 4 ? name.substr(name.size() - 4) : std::string();
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (tail != ".avi") name += ".avi";
  return name;
}

CaptureSaveResult SaveCapture(const std::string& temporary, const std::string& lastFolder,
                              CaptureSaveUi& ui) {
  std::error_code error;
  if (!fs::exists(temporary, error)) {
    ui.ShowMessage(Warning().Line(txt::CaptureFailedNotSaved));
    return {};
  }
  CaptureSaveResult result;
  if (const auto name = ChooseName(lastFolder, ui)) {
    if (fs::copy_file(temporary, *name, fs::copy_options::none, error)) {
      result = {CaptureSaveOutcome::Saved, *name};
    } else {
      fs::remove(*name, error);  // a partial copy is no use to anyone
      ui.ShowMessage(Warning().Line(txt::CaptureCopyFailed).Line(txt::CaptureCheckRights));
    }
  }
  fs::remove(temporary, error);
  return result;
}

}  // namespace kinovia
