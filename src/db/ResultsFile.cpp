#include "db/ResultsFile.h"

#include "data/formats/ResultFormats.h"
#include "platform/Files.h"

namespace zorbe {

std::optional<std::string> cutResultsRecordNote(const WinPath &file)
{
    const auto size = files::fileSize(file);
    if (!size)
        return std::nullopt;
    const std::uint64_t rest = *size % formats::TResultRec::kLength;
    if (rest == 0)
        return std::nullopt;
    return "成績ファイル「" + file.utf8() + "」の最後の " + std::to_string(rest) +
           " バイトはレースの記録として途中で切れているため、読み込みませんでした。";
}

bool OpenResultsFile(TResults &results, const WinPath &file, DesktopServices &desktop)
{
    try {
        results.ResultFileName = file.text();
        LoadResults(results);
    } catch (const std::exception &e) {
        desktop.showError(e.what());
        return false;
    }
    if (const auto note = cutResultsRecordNote(file))
        desktop.showMessage(*note);
    return true;
}

} // namespace zorbe
