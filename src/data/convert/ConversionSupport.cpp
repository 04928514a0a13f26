#include "data/convert/ConversionSupport.h"

#include "platform/Cp932.h"
#include "platform/ProfileFile.h"

namespace zorbe {

namespace {
constexpr std::string_view kWideBlank = "\x81\x40";
}

ConversionFolders ConversionFolders::fromSettings(const ProfileFile &settings)
{
    ConversionFolders f;
    f.down = WinPath(settings.readString("downdir", "down", "d:\\zorbeLab\\down"));
    f.lzhdat = WinPath(settings.readString("Lzhdir", "lzhdat", "d:\\zorbeLab\\JRA"));
    f.seiseki = WinPath(settings.readString("seisekidir", "seiseki", "d:\\zorbeLab\\sei"));
    f.racedat = WinPath(settings.readString("listdir", "racedat", "d:\\zorbelab\\dat"));
    return f;
}

std::string strayBytesReport(const WinPath &path, std::size_t strayBytes, std::size_t recordLength)
{
    return files::strayBytesNote(path, strayBytes, recordLength);
}

RecordFile readInputRecords(const WinPath &path, std::size_t recordLength, ConversionView &view)
{
    RecordFile file = RecordFile::readIfExists(path, recordLength);
    if (file.trailingBytes() != 0)
        view.report(strayBytesReport(path, file.trailingBytes(), recordLength));
    return file;
}

std::string dayBaseName(const std::string &finishedName)
{
    return finishedName.substr(0, 12);
}

std::string dayDate(const std::string &finishedName)
{
    return finishedName.size() >= 12 ? finishedName.substr(4, 8) : std::string();
}

std::string shortPersonName(std::string_view name)
{
    auto at = [&](std::size_t pos1, std::size_t len) { return std::string(fieldAt(name, pos1, len)); };
    auto blankAt = [&](std::size_t pos1) { return fieldAt(name, pos1, 2) == kWideBlank; };
    std::string out;
    if (blankAt(3))
        out = at(1, 2) + at(5, 6);
    else if (blankAt(5))
        out = at(1, 4) + at(7, 4);
    else if (blankAt(7))
        out = at(1, 6) + at(9, 2);
    else
        out = at(1, 8);
    return out;
}

} // namespace zorbe
