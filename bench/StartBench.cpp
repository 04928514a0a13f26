// How long the program takes to be there: the desktop program from its
// start to the main window shown (with 800 jockey and 800 trainer masters
// to read), and `zorbe render` of one page to PNG as a whole process. Both
// are timed alternately with `zorbe --version`, the floor of any run of the
// executable (loading it and its libraries), and the last lines are the
// ratios, for scripts:
//   ratio start/version: 7.1x (start 0.213 s, version 0.030 s; goal 0.30 s)
//   ratio render/version: 4.9x (render 0.147 s, version 0.030 s; goal 0.15 s)
//
//   start_bench [--rounds R] [--zorbe PATH]
//
// The home is made once in a temporary folder: one generated week
// downloaded and converted, then master files of 800 people each. The
// desktop program runs on Qt's offscreen platform with --startup-time,
// which quits once the main window has been painted.

#include "ProcessRun.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using bench::median;
using bench::Run;
using bench::runProcess;

namespace {

// A summary master file of `count` people: 52-byte lines (code, name,
// this year's wins, seconds, thirds, others, affiliation, CR LF), the
// names taken in turn from the lines of the downloaded file.
bool writeMasters(const fs::path &file, int count)
{
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> names;
    std::string line(52, '\0');
    while (in.read(line.data(), 52))
        names.push_back(line.substr(5, 32));
    if (names.empty())
        return false;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < count; ++i) {
        char head[6];
        std::snprintf(head, sizeof head, "%05d", 10000 + i);
        char counts[13];
        std::snprintf(counts, sizeof counts, "%03d%03d%03d%03d", i % 97, i % 89, i % 83, i % 300);
        out << head << names[i % names.size()] << counts << (i % 2 ? '1' : '2') << "\r\n";
    }
    return bool(out);
}

std::string firstRaceDay(const fs::path &folder)
{
    for (const auto &e : fs::directory_iterator(folder))
        if (e.path().extension() == ".RDT")
            return e.path().string();
    return {};
}

} // namespace

int main(int argc, char **argv)
{
    int rounds = 7;
    std::string zorbe = ZORBE_EXECUTABLE;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string opt = argv[i];
        if (opt == "--rounds") {
            rounds = std::max(1, std::atoi(argv[i + 1]));
        } else if (opt == "--zorbe") {
            zorbe = argv[i + 1];
        } else {
            std::cerr << "usage: start_bench [--rounds R] [--zorbe PATH]\n";
            return 2;
        }
    }
    char pattern[] = "/tmp/zorbe-start-bench-XXXXXX";
    const fs::path work = ::mkdtemp(pattern);
    const fs::path feed = work / "feed";
    const std::string home = "ZORBE_HOME=" + (work / "home").string();
    const Run generated = runProcess({zorbe, "feed", "generate", "--out", feed.string(), "--weeks", "1"}, {home});
    const Run downloaded
        = runProcess({zorbe, "download", "--now", "20991231235959"}, {home, "ZORBE_FEED=" + feed.string()});
    const fs::path drive = work / "home" / "drives" / "d" / "zorbeLab";
    const std::string raceDay = firstRaceDay(drive / "JRA");
    if (generated.status != 0 || downloaded.status != 0 || raceDay.empty()
        || !writeMasters(drive / "dat" / "KISYU.DAT", 800) || !writeMasters(drive / "dat" / "CHOKYOSI.DAT", 800)) {
        std::cerr << "setting up the home failed\n";
        return 1;
    }
    const fs::path picture = work / "page.png";
    const std::vector<std::string> env = {home, "QT_QPA_PLATFORM=offscreen"};

    std::vector<double> versions, starts, renders;
    for (int r = 0; r < rounds; ++r) {
        const Run version = runProcess({zorbe, "--version"}, env);
        const Run start = runProcess({zorbe, "--startup-time"}, env);
        const Run render = runProcess({zorbe, "render", raceDay, "--race", "11", "--out", picture.string()}, env);
        if (version.status != 0 || start.status != 0 || render.status != 0) {
            std::cerr << "round " << r + 1 << ": exit " << version.status << ' ' << start.status << ' '
                      << render.status << '\n';
            return 1;
        }
        versions.push_back(version.seconds);
        starts.push_back(start.seconds);
        renders.push_back(render.seconds);
        std::printf("round %d: version %.3f s, start %.3f s (cpu %.3f s, peak %ld MB), render %.3f s (cpu %.3f s, "
                    "peak %ld MB)\n",
                    r + 1, version.seconds, start.seconds, start.cpuSeconds, start.peakKb / 1024, render.seconds,
                    render.cpuSeconds, render.peakKb / 1024);
    }
    const double v = median(versions), s = median(starts), p = median(renders);
    std::printf("ratio start/version: %.1fx (start %.3f s, version %.3f s; goal 0.30 s)\n", s / v, s, v);
    std::printf("ratio render/version: %.1fx (render %.3f s, version %.3f s; goal 0.15 s)\n", p / v, p, v);
    std::error_code ec;
    fs::remove_all(work, ec);
    return 0;
}
