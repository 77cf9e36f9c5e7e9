#include "logic/settings/OptionsClosing.h"

namespace kinovia {

OptionsClosing CloseOptions(Options& options, const Options& edited, bool associationWanted,
                            const std::optional<FileAssociation>& association,
                            const std::string& executable,
                            const std::function<void()>& markResultsStale) {
  OptionsClosing closing;
  if (association) {
    const auto applied = ApplyFileAssociation(*association, associationWanted, executable);
    if (!applied) closing.associationWarning = applied.Failure();
  }
  closing.resultsStale = ResultsBecomeStale(options, edited);
  if (closing.resultsStale && markResultsStale) markResultsStale();
  // The window's notification and the password dialog stay those of the options it owns.
  auto onChange = std::move(options.onChange);
  options = edited;
  options.onChange = std::move(onChange);
  closing.saved = options.Save();
  options.Notify();
  return closing;
}

}  // namespace kinovia
