// A year of data through one `zorbe download`, side by side with the floor:
// copying the same feed folder with `cp -r`. The machine's absolute times
// drift, so both are timed alternately in one run and the ratio of their
// medians is what counts.
//
//   download_bench [--weeks N] [--scale K] [--rounds R] [--warmup W] [--settle S] [--dir DIR] [--zorbe PATH]
//                  [--against PATH]
//
// --zorbe times another build of the program instead of this one; --against
// times a second build in the same rounds, alternately with the first (an
// earlier build, to compare on a disk whose speed drifts).
// --dir is where the feed, the copies and the homes go (default /tmp): a
// tmpfs such as /dev/shm takes the disk and the file system's bookkeeping
// out of both sides and leaves the work of the processes themselves.
//
// The feed is generated once into a temporary folder. Each round copies it
// with `cp -r` (warm: the feed is in the page cache after the first round),
// then runs `zorbe download` in a new home of its own, as a whole process,
// and reads its peak memory. The last line is the ratio, for scripts:
//   ratio download/cp: 6.1x (download 3.21 s, cp 0.52 s; cpu ...; peak 74 MB)
// The processes' CPU times are printed too: on a busy machine they drift
// less than the wall-clock times.
//
// Nothing is removed before the end: on ext4 without a journal every new
// file skips, one by one, the inodes of its block group freed in the last
// minute (six while their inode table block is not yet written back), so a
// round would pay for the files the rounds before it removed. For the same
// reason the work folder is marked as a top folder (chattr +T), so that
// ext4 spreads each round's copy and home over block groups of their own;
// the download still pays for the raw files it removes itself, as it does
// on a user's disk. A tmpfs (--dir /dev/shm) has none of these costs and
// no disk flushes. Each round starts S seconds (--settle, default 0) after
// the one before. The first W rounds (default 1) are run the same way but
// not counted: a machine that has just started pays the first touch of its
// memory in them. Every step is timed after a sync(), so that the disk's
// write-back of one step's files does not fall into the next one's time.

#include "ProcessRun.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

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

// FS_TOPDIR_FL on ext4; other file systems refuse it, which is fine.
void markTopFolder(const fs::path &folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    int flags = 0;
    if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
        flags |= FS_TOPDIR_FL;
        ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
    }
    ::close(fd);
}

} // namespace

int main(int argc, char **argv)
{
    std::string weeks = "52", scale = "1";
    int rounds = 3;
    int warmup = 1;
    int settle = 0;
    std::string zorbe = ZORBE_EXECUTABLE;
    std::string against;
    std::string dir = "/tmp";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string opt = argv[i];
        if (opt == "--weeks")
            weeks = argv[i + 1];
        else if (opt == "--scale")
            scale = argv[i + 1];
        else if (opt == "--zorbe")
            zorbe = argv[i + 1];
        else if (opt == "--against")
            against = argv[i + 1];
        else if (opt == "--rounds")
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (opt == "--warmup")
            warmup = std::max(0, std::atoi(argv[i + 1]));
        else if (opt == "--dir")
            dir = argv[i + 1];
        else if (opt == "--settle")
            settle = std::max(0, std::atoi(argv[i + 1]));
        else {
            std::cerr << "usage: download_bench [--weeks N] [--scale K] [--rounds R] [--warmup W] [--settle S] [--dir DIR]"
                         " [--zorbe PATH] [--against PATH]\n";
            return 2;
        }
    }
    std::string pattern = dir + "/zorbe-download-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::cerr << "cannot make a folder in " << dir << '\n';
        return 1;
    }
    const fs::path work = pattern;
    markTopFolder(work);
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
              << folderBytes(feed) / 1'000'000 << " MB" << std::endl;

    std::vector<double> copies, downloads, copyCpu, downloadCpu, others;
    long peakKb = 0;
    // One timed whole-process run, after the disk has written back the
    // steps before it.
    auto timed = [](const std::vector<std::string> &argv, const std::vector<std::string> &env) {
        ::sync();
        return runProcess(argv, env);
    };
    auto download = [&](const std::string &program, const std::string &name) {
        const fs::path downloadHome = work / name;
        return timed({program, "download", "--now", "20991231235959"},
                     {"ZORBE_HOME=" + downloadHome.string(), "ZORBE_FEED=" + feed.string()});
    };
    for (int r = 0; r < warmup + rounds; ++r) {
        std::this_thread::sleep_for(std::chrono::seconds(settle));
        const fs::path copy = work / ("copy" + std::to_string(r));
        const Run cp = timed({"cp", "-r", feed.string(), copy.string()}, {});
        // With a second build the two take turns at going first.
        Run other;
        if (!against.empty() && r % 2 == 1)
            other = download(against, "against" + std::to_string(r));
        const Run dl = download(zorbe, "home" + std::to_string(r));
        if (!against.empty() && r % 2 == 0)
            other = download(against, "against" + std::to_string(r));
        if (cp.status != 0 || dl.status != 0 || (!against.empty() && other.status != 0)) {
            std::cerr << "round " << r + 1 << ": cp exit " << cp.status << ", download exit " << dl.status
                      << (against.empty() ? "" : ", the other build's exit " + std::to_string(other.status)) << '\n';
            return 1;
        }
        char otherTime[48] = "";
        if (!against.empty())
            std::snprintf(otherTime, sizeof otherTime, ", other build %.3f s", other.seconds);
        if (r < warmup) {
            std::printf("warm-up: cp -r %.3f s, download %.3f s%s\n", cp.seconds, dl.seconds, otherTime);
            std::fflush(stdout);
            continue;
        }
        copies.push_back(cp.seconds);
        downloads.push_back(dl.seconds);
        copyCpu.push_back(cp.cpuSeconds);
        downloadCpu.push_back(dl.cpuSeconds);
        others.push_back(other.seconds);
        peakKb = std::max(peakKb, dl.peakKb);
        std::printf("round %d: cp -r %.3f s (cpu %.3f s), download %.3f s (cpu %.3f s), peak %ld MB%s\n",
                    r - warmup + 1, cp.seconds, cp.cpuSeconds, dl.seconds, dl.cpuSeconds, dl.peakKb / 1024,
                    otherTime);
        std::fflush(stdout);
    }
    const double d = median(downloads), c = median(copies);
    const double dc = median(downloadCpu), cc = median(copyCpu);
    if (!against.empty())
        std::printf("other build: %.1fx (download %.2f s)\n", c > 0 ? median(others) / c : 0.0, median(others));
    std::printf("ratio download/cp: %.1fx (download %.2f s, cp %.2f s; cpu %.2f s against %.2f s; peak %ld MB)\n",
                c > 0 ? d / c : 0.0, d, c, dc, cc, peakKb / 1024);
    std::error_code ec;
    fs::remove_all(work, ec);
    return 0;
}
