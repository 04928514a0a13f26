// The settings file ("zorbelab.Ini") of any bytes: every value the windows
// read at start-up and activation, the newspaper's settings and print edits
// of each style, writes and erases, and the sample day drawn with what was
// read.

#include "FuzzSupport.h"

#include "index/TimeIndex.h"
#include "paper/Newspaper.h"
#include "paper/RaceSelection.h"
#include "platform/ProfileFile.h"
#include "shell/Settings.h"

using namespace zorbe;
using namespace zorbe::fuzz;

static std::vector<std::string> seeds()
{
    return {get(sample() / "zorbelab.Ini"),
            "[Insatu]\r\ninsatu=2\r\n[sinbun]\r\nSinbun=1\r\n[Kako]\r\nKako=3\r\n[OZZ]\r\nozz=0\r\n[Zoom]\r\nScale=95\r\n"};
}

ZORBE_FUZZ_TARGET(seeds)
{
    const fs::path rdt = placeDay(sampleDay());
    const fs::path file = home() / "zorbelab.Ini";
    put(file, input);
    ProfileFile settings(ProfileFile::defaultPath());
    SettingsSnapshot snapshot;
    readStartupSettings(settings, snapshot);
    readActivationSettings(settings, snapshot);
    readerMayRefuse([&] { (void)pastRacesSetting(snapshot.kako); });
    const TPaperSettings paper = paperSettingsFrom(snapshot, settings);
    for (PageStyle style : {PageStyle::Vertical, PageStyle::Horizontal, PageStyle::Programme})
        (void)readPrintEdits(settings, style);
    (void)paper;
    drawEveryRace(rdt);

    // A value written is read back as written; an erased section is gone.
    settings.writeString("LastFileTime", "LastFileTime", "20240607170000");
    if (settings.readString("lastfiletime", "LASTFILETIME", "") != "20240607170000")
        __builtin_trap();
    settings.eraseSection("Insatu");
    if (settings.sectionExists("insatu"))
        __builtin_trap();
}
