// One raw download of any bytes among the real raw downloads of a sample
// week (the input's first byte chooses which), through the conversion that
// reads it: the entries conversion with the master rebuild, or the results
// conversion with the time-correction upkeep.

#include "FuzzSupport.h"

#include "data/convert/Conversions.h"
#include "platform/Cp932.h"
#include "platform/Desktop.h"
#include "platform/ProfileFile.h"

using namespace zorbe;
using namespace zorbe::fuzz;

namespace {

struct Choice
{
    const char *set;       // "entries" or "results"
    const char *extension; // the first file of the set whose name ends so
    std::size_t recordLength;
};
const Choice kChoices[] = {
    {"entries", ".RLB", 1272}, {"entries", ".SLB", 555},      {"entries", "RAQW", 1272}, {"entries", "SEQW", 555},
    {"entries", "UMPW", 1577}, {"entries", "RCPW", 501},      {"entries", "Kisi.dat", 4173},
    {"entries", "Chok.dat", 3862}, {"results", ".RLB", 1272}, {"results", ".SLB", 555}, {"results", "HRSW", 719},
};
constexpr std::size_t kChoiceCount = sizeof kChoices / sizeof kChoices[0];

// The raw file of a choice: the first of its set whose name holds the text.
fs::path rawFile(const Choice &c)
{
    std::vector<fs::path> names;
    for (const auto &e : fs::directory_iterator(sample() / "raw" / c.set)) {
        const std::string name = e.path().filename().string();
        if (name.find(c.extension) != std::string::npos)
            names.push_back(e.path());
    }
    std::sort(names.begin(), names.end());
    return names.empty() ? fs::path() : names.front();
}

// The race key of a race (RA) or runner (SE) record.
std::string_view raceKey(std::string_view record) { return record.substr(11, 16); }

// The first two races of a day's race file, and their runners in its runner
// file: a day of two races converts as deeply as a day of twelve, faster.
std::string firstRaces(const std::string &races) { return firstRecords(races, 1272, 2); }
std::string runnersOf(const std::string &runners, const std::string &races)
{
    std::string out;
    for (std::size_t at = 0; at + 555 <= runners.size(); at += 555) {
        const std::string_view se = std::string_view(runners).substr(at, 555);
        for (std::size_t r = 0; r + 1272 <= races.size(); r += 1272)
            if (raceKey(se) == raceKey(std::string_view(races).substr(r, 1272)))
                out.append(se);
    }
    return out;
}

std::vector<std::string> seeds()
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < kChoiceCount; ++i) {
        const fs::path file = rawFile(kChoices[i]);
        if (!file.empty())
            out.push_back(std::string(1, static_cast<char>(i)) + firstRecords(get(file), kChoices[i].recordLength, 3));
    }
    return out;
}

} // namespace

ZORBE_FUZZ_TARGET(seeds)
{
    if (input.empty())
        return;
    const Choice &choice = kChoices[static_cast<unsigned char>(input[0]) % kChoiceCount];
    const fs::path fuzzed = rawFile(choice);
    if (fuzzed.empty())
        return;
    clearHome();
    const fs::path down = home() / "drives/d/zorbeLab/down";
    fs::create_directories(down);
    // The first day of the set, cut to its first two races.
    std::vector<fs::path> raw;
    for (const auto &e : fs::directory_iterator(sample() / "raw" / choice.set))
        raw.push_back(e.path());
    std::sort(raw.begin(), raw.end());
    fs::path dayRaces;
    for (const fs::path &p : raw)
        if (p.extension() == ".RLB" && dayRaces.empty())
            dayRaces = p;
    if (dayRaces.empty())
        return;
    const fs::path dayRunners = fs::path(dayRaces).replace_extension(".SLB");
    const std::string races = firstRaces(get(dayRaces));
    for (const fs::path &p : raw) {
        const fs::path to = down / p.filename();
        if (p == fuzzed)
            put(to, input.substr(1));
        else if (p == dayRaces)
            put(to, races);
        else if (p == dayRunners)
            put(to, runnersOf(get(p), races));
        else if (p.extension() != ".RLB" && p.extension() != ".SLB")
            fs::copy_file(p, to);
    }
    const std::vector<DownloadedDay> days = {
        {cp932::fromUtf8(dayRaces.filename().string()), choice.set[0] == 'e' ? '1' : '7'}};
    // The results take the course records of the days' race cards.
    fs::create_directories(home() / "drives/d/zorbeLab/JRA");
    for (const fs::path &rdt : sampleFiles("drives/d/zorbeLab/JRA", ".RDT"))
        fs::copy_file(rdt, home() / "drives/d/zorbeLab/JRA" / rdt.filename(), fs::copy_options::overwrite_existing);

    ProfileFile settings(ProfileFile::defaultPath());
    SilentConversionView view;
    TConversions conversions(settings, view, silentDesktop());
    readerMayRefuse([&] {
        if (choice.set[0] == 'e')
            conversions.convertEntries(days);
        else
            conversions.convertResults(days);
    });
}
