#include "ConvertTestSupport.h"

#include "platform/Fields.h"
#include "platform/Files.h"

namespace zorbe::test {

std::string raceKey(const std::string &monthDay, int race, const std::string &venue)
{
    return "2004" + monthDay + venue + "0308" + zeroPad(race, 2);
}

jv::RecordBuilder raceRecord(const std::string &key, char kind)
{
    jv::RecordBuilder b(jv::raRecord());
    b.set(jv::RA::DataKind, std::string(1, kind)).raw(jv::RA::RaceKey, key);
    return b;
}

jv::RecordBuilder runnerRecord(const std::string &key, const std::string &horseId, int horseNumber, char kind)
{
    jv::RecordBuilder b(jv::seRecord());
    b.set(jv::SE::DataKind, std::string(1, kind)).raw(jv::SE::RaceKey, key);
    b.raw(jv::SE::HorseId, horseId).setNumber(jv::SE::HorseNumber, horseNumber);
    return b;
}

jv::RecordBuilder horseRecord(const std::string &horseId, int raceCount)
{
    jv::RecordBuilder b(jv::umRecord());
    b.set(jv::UM::DataKind, "1").raw(jv::UM::HorseId, horseId).setNumber(jv::UM::RaceCount, raceCount);
    return b;
}

std::string joined(const std::vector<std::string> &records)
{
    std::string out;
    for (const auto &r : records)
        out += r;
    return out;
}

ConversionFolders defaultFolders()
{
    return {WinPath("d:\\zorbeLab\\down"), WinPath("d:\\zorbeLab\\JRA"), WinPath("d:\\zorbeLab\\sei"),
            WinPath("d:\\zorbelab\\dat")};
}

void putFile(const WinPath &path, const std::string &bytes)
{
    files::makeDirectories(path.parent());
    files::writeAll(path, bytes);
}

std::string fileBytes(const WinPath &path) { return files::readIfExists(path).value_or(""); }

} // namespace zorbe::test
