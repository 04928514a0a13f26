#pragma once

#include "model/Results.h"
#include "platform/Desktop.h"
#include "platform/WinPath.h"

#include <optional>
#include <string>

namespace zorbe {

// The load of "成績データ表示" for a chosen results file: the results tables
// from it. A file whose last record is cut loads its whole records and the
// user is told about the rest. Returns false when the file could not be
// read (the error has been shown; the tables keep what they held).
bool OpenResultsFile(TResults &results, const WinPath &file, DesktopServices &desktop);

// The note for a results file that ends in a part of a record (UTF-8), or
// nothing when its size is a whole number of records.
std::optional<std::string> cutResultsRecordNote(const WinPath &file);

} // namespace zorbe
