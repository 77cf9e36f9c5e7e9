#pragma once
// Writing an export under its final name in one step: the writer fills a temporary file beside the
// target, which replaces the target only when it is complete.
#include <functional>
#include <string>

#include "core/Message.h"
#include "core/Result.h"

namespace kinovia {

// "La creación del archivo en la carpeta escogida ha fracasado." and what to check.
Message ExportFileFailure();

// `write` fills the temporary file it is given and answers whether it succeeded.
Result<void> WriteThroughTemporary(const std::string& path,
                                   const std::function<bool(const std::string&)>& write);

}  // namespace kinovia
