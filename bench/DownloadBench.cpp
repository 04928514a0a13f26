// A year of data through one `zorbe download`, side by side with the floor:
// copying the same feed folder with `cp -r`. The machine's absolute times
// drift, so both are timed alternately in one run and the ratio of their
// medians is what counts.
//
//   download_bench [--weeks N] [--scale K] [--rounds R] [--zorbe PATH]
//
// --zorbe times another build of the program (an earlier one, to compare).
//
// The feed is generated once into a temporary folder. Each round copies it
// with `cp -r` (warm: the feed is in the page cache after the first round),
// then runs `zorbe download` in a new home of its own, as a whole process,
// and reads its peak memory. The last line is the ratio, for scripts:
//   ratio download/cp: 6.1x (download 3.21 s, cp 0.52 s; cpu ...; peak 74 MB)
// The processes' CPU times are printed too: on a busy machine they drift
// less than the wall-clock times.

#include "ProcessRun.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using bench::median;
using bench::Run;
using bench::runProcess;

std::uintmax_t folderBytes(const fs::path &folder)
{
    std::uintmax_t total = 0;
    for (const auto &e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file())
            total += e.file_size();
    return total;
}

} // namespace

int main(int argc, char **argv)
{
    std::string weeks = "52", scale = "1";
    int rounds = 3;
    std::string zorbe = ZORBE_EXECUTABLE;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string opt = argv[i];
        if (opt == "--weeks")
            weeks = argv[i + 1];
        else if (opt == "--scale")
            scale = argv[i + 1];
        else if (opt == "--zorbe")
            zorbe = argv[i + 1];
        else if (opt == "--rounds")
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else {
            std::cerr << "usage: download_bench [--weeks N] [--scale K] [--rounds R] [--zorbe PATH]\n";
            return 2;
        }
    }
    char pattern[] = "/tmp/zorbe-download-bench-XXXXXX";
    const fs::path work = ::mkdtemp(pattern);
    const fs::path feed = work / "feed";
    const std::string home = "ZORBE_HOME=" + (work / "generate").string();
    const Run generated
        = runProcess({zorbe, "feed", "generate", "--out", feed.string(), "--weeks", weeks, "--scale", scale}, {home});
    if (generated.status != 0) {
        std::cerr << "feed generate failed\n";
        return 1;
    }
    std::size_t files = 0;
    for (const auto &e : fs::directory_iterator(feed))
        files += e.is_regular_file();
    std::cout << "feed: " << weeks << " weeks at scale " << scale << ", " << files << " delivered files, "
              << folderBytes(feed) / 1'000'000 << " MB\n";

    std::vector<double> copies, downloads, copyCpu, downloadCpu;
    long peakKb = 0;
    for (int r = 0; r < rounds; ++r) {
        const fs::path copy = work / ("copy" + std::to_string(r));
        const Run cp = runProcess({"cp", "-r", feed.string(), copy.string()}, {});
        const fs::path downloadHome = work / ("home" + std::to_string(r));
        const Run dl = runProcess({zorbe, "download", "--now", "20991231235959"},
                                  {"ZORBE_HOME=" + downloadHome.string(), "ZORBE_FEED=" + feed.string()});
        if (cp.status != 0 || dl.status != 0) {
            std::cerr << "round " << r + 1 << ": cp exit " << cp.status << ", download exit " << dl.status << '\n';
            return 1;
        }
        copies.push_back(cp.seconds);
        downloads.push_back(dl.seconds);
        copyCpu.push_back(cp.cpuSeconds);
        downloadCpu.push_back(dl.cpuSeconds);
        peakKb = std::max(peakKb, dl.peakKb);
        std::printf("round %d: cp -r %.3f s (cpu %.3f s), download %.3f s (cpu %.3f s), peak %ld MB\n", r + 1,
                    cp.seconds, cp.cpuSeconds, dl.seconds, dl.cpuSeconds, dl.peakKb / 1024);
        std::error_code ec;
        fs::remove_all(copy, ec);
        fs::remove_all(downloadHome, ec);
    }
    const double d = median(downloads), c = median(copies);
    const double dc = median(downloadCpu), cc = median(copyCpu);
    std::printf("ratio download/cp: %.1fx (download %.2f s, cp %.2f s; cpu %.2f s against %.2f s; peak %ld MB)\n",
                c > 0 ? d / c : 0.0, d, c, dc, cc, peakKb / 1024);
    std::error_code ec;
    fs::remove_all(work, ec);
    return 0;
}
