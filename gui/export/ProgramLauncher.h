#pragma once
// Starts the programs an export hands its file or its lines to: directly, with an argument list,
// never through a shell, and without waiting for them.
#include <string>

#include "logic/export/RegressiHandOver.h"
#include "media/export/TableExport.h"

namespace kinovia {

// False when the program cannot be found or started.
bool StartProgram(const ProgramCall& call);

// Opens a workbook Kinovia wrote: an .xlsx with the desktop's default application, then
// LibreOffice Calc; an .ods with LibreOffice Calc, then the default application. False when no
// application could be started.
bool OpenWorkbook(const std::string& path, ExportFormat format);

}  // namespace kinovia
