#include "shell/MasterTables.h"

#include "platform/Fields.h"
#include "platform/Files.h"

namespace zorbe {

const char *const kTrainerFileMissingMessage
    = "調教師ファイル(TEKI.DAT)が\\DATフォルダに\nありませんコピーして下さい。\nゾルベホームページに最新版があります。";
const char *const kJockeyFileMissingMessage
    = "騎手ファイル(kisyu.DAT)が\\DATフォルダに\nありませんコピーして下さい。\nゾルベホームページに最新版があります。";

namespace {

// Field positions of the summary line (0-based offsets).
constexpr FieldSpec kCode{"コード", 0, 5};
constexpr FieldSpec kName{"氏名", 5, 32};
constexpr FieldSpec kFirsts{"1着数", 37, 3};
constexpr FieldSpec kSeconds{"2着数", 40, 3};
constexpr FieldSpec kThirds{"3着数", 43, 3};
constexpr FieldSpec kOthers{"着外数", 46, 3};
constexpr FieldSpec kRegion{"所属", 49, 1};

} // namespace

TMasterEntry parseMasterLine(std::string_view line)
{
    TMasterEntry e;
    e.Code = std::string(field(line, kCode));
    e.Name = std::string(field(line, kName));
    e.Region = std::string(field(line, kRegion));
    const auto firsts = toInt(field(line, kFirsts), kFirsts.name);
    const auto seconds = toInt(field(line, kSeconds), kSeconds.name);
    const auto thirds = toInt(field(line, kThirds), kThirds.name);
    const auto others = toInt(field(line, kOthers), kOthers.name);
    const auto topTwo = firsts + seconds;
    e.TopTwoRate = topTwo == 0 ? 0.0
                               : static_cast<double>(topTwo) / static_cast<double>(topTwo + thirds + others);
    return e;
}

MasterLoad loadMasterFile(const WinPath &file, std::vector<TMasterEntry> &table, DesktopServices &desktop,
                          const std::string &missingMessage)
{
    table.clear();
    if (!files::isFile(file)) {
        desktop.showMessage(missingMessage);
        return MasterLoad::Missing;
    }
    RecordFile records;
    try {
        records = RecordFile::read(file, MasterTables::kLineLength);
    } catch (const files::FileError &e) {
        desktop.showError(e.what());
        return MasterLoad::Stopped;
    }
    const std::size_t n = std::min(records.count(), MasterTables::kCapacity);
    table.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view line = records.record(i);
        if (line.substr(MasterTables::kLineLength - 2) != "\r\n") {
            desktop.showError(files::lineEndMissing("マスターファイル", file, i + 1));
            return MasterLoad::Stopped;
        }
        try {
            table.push_back(parseMasterLine(line));
        } catch (const ConversionError &e) {
            desktop.showError(files::recordPlace("マスターファイル", file, i + 1) + ": " + e.what());
            return MasterLoad::Stopped;
        }
    }
    return MasterLoad::Loaded;
}

} // namespace zorbe
