#pragma once
// What may be opened as a file, and the temporaries a killed save leaves behind.
#include <string>

namespace kinovia {

// True for a regular file, after following links. A named pipe, a device or a folder given as a
// clip, a work file or the options file would block the program or read forever: only regular
// files are opened.
bool IsRegularFile(const std::string& path);

// The name pattern, for mkstemp, of a temporary that replaces `path`: hidden, beside it, naming
// the file and the process that writes it.
std::string SaveTemporaryPattern(const std::string& path);

// Removes the temporaries left beside `path` by saves of it whose process no longer runs (a kill
// during a save); nothing else is ever touched. Answers how many were removed.
int RemoveStaleSaveTemporaries(const std::string& path);

}  // namespace kinovia
