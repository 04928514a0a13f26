#include "export/CsvExports.h"

#include "export/CsvText.h"
#include "export/HorseCsv.h"
#include "export/RaceCardCsv.h"
#include "export/ResultsCsv.h"
#include "export/TimeCsv.h"
#include "model/RaceCard.h"
#include "platform/Files.h"

namespace zorbe::csvexport {

namespace {

// Writes what build() appended to the output file, also when it stopped at
// a damaged record (then its error goes on to the caller).
template <class Build>
WinPath writeLines(const WinPath &output, Build &&build)
{
    std::string lines;
    try {
        build(lines);
    } catch (const ExportError &) {
        files::writeAll(output, lines);
        throw;
    }
    files::writeAll(output, lines);
    return output;
}

} // namespace

WinPath horseCsvPath(const WinPath &raceCardFile)
{
    return withExtension(raceCardFile, "U.CSV");
}

WinPath raceCardCsvPath(const WinPath &raceCardFile)
{
    return withExtension(raceCardFile, "R.CSV");
}

WinPath resultsCsv1Path(const WinPath &resultsFile)
{
    return withExtension(resultsFile, "S1.CSV");
}

WinPath resultsCsv2Path(const WinPath &resultsFile)
{
    return withExtension(resultsFile, "S2.CSV");
}

WinPath timeDataPath(const WinPath &dataFolder)
{
    return dataFolder / "cSTIME.DAT";
}

WinPath timeCsvPath(const WinPath &dataFolder)
{
    return dataFolder / "CSVSTIME.CSV";
}

WinPath writeHorseCsv(const WinPath &raceCardFile, const MasterTables &masters, const LabelTables &labels)
{
    const std::string raceCards = files::readAll(raceCardFile);
    // The day's horses go into tables of their own: the day loaded for the
    // newspaper keeps its horses.
    const auto horses = makeRaceCard();
    horses->HorseFileName = withExtension(raceCardFile, ".HDT").text();
    LoadHorses(*horses);
    return writeLines(horseCsvPath(raceCardFile), [&](std::string &out) {
        appendHorseCsv(raceCards, *horses, masters, labels, raceCardFile.utf8(), out);
    });
}

WinPath writeRaceCardCsv(const WinPath &raceCardFile, const LabelTables &labels)
{
    const std::string raceCards = files::readAll(raceCardFile);
    return writeLines(raceCardCsvPath(raceCardFile),
                      [&](std::string &out) { appendRaceCardCsv(raceCards, labels, raceCardFile.utf8(), out); });
}

WinPath writeResultsCsv1(const WinPath &resultsFile, const LabelTables &labels)
{
    const std::string results = files::readAll(resultsFile);
    return writeLines(resultsCsv1Path(resultsFile),
                      [&](std::string &out) { appendResultsCsv1(results, labels, resultsFile.utf8(), out); });
}

WinPath writeResultsCsv2(const WinPath &resultsFile, const LabelTables &labels)
{
    const std::string results = files::readAll(resultsFile);
    return writeLines(resultsCsv2Path(resultsFile),
                      [&](std::string &out) { appendResultsCsv2(results, labels, resultsFile.utf8(), out); });
}

std::optional<WinPath> writeTimeCsv(const WinPath &dataFolder)
{
    const WinPath input = timeDataPath(dataFolder);
    if (!files::isFile(input))
        return std::nullopt;
    const TTimeData data = loadTimeData(files::readAll(input));
    return writeLines(timeCsvPath(dataFolder),
                      [&](std::string &out) { appendTimeCsv(data, input.utf8(), out); });
}

} // namespace zorbe::csvexport
