// A delivered file of any bytes, under a delivered name chosen by the
// input's first byte: the data link's record reader and the download run's
// routing of every record into the raw files.

#include "FuzzSupport.h"

#include "link/LocalFeedLink.h"
#include "link/download/DownloadRun.h"

#include <cstdlib>

using namespace zorbe;
using namespace zorbe::fuzz;

namespace {

// Delivered names the run routes differently.
const char *const kNames[] = {"RACW20240608", "SECW20240608", "RASW20240608", "SESW20240608", "RAQW20240606",
                              "SEQW20240606", "UMPW20240606", "HRSW20240608", "KSMW20240606", "CHMW20240606",
                              "H1VW20240606", "X"};
constexpr std::size_t kNameCount = sizeof kNames / sizeof kNames[0];

std::vector<std::string> seeds()
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < kNameCount; ++i) {
        for (const auto &e : fs::directory_iterator(sample() / "feed")) {
            const std::string name = e.path().filename().string();
            if (name.rfind(std::string(kNames[i]).substr(0, 4), 0) == 0) {
                const std::string content = get(e.path());
                // The first few records, whole lines.
                std::size_t end = 0;
                for (int lines = 0; lines < 3 && end != std::string::npos; ++lines)
                    end = content.find("\r\n", end == 0 ? 0 : end + 2);
                out.push_back(std::string(1, static_cast<char>(i)) + content.substr(0, end == std::string::npos ? content.size() : end + 2));
                break;
            }
        }
    }
    return out;
}

} // namespace

ZORBE_FUZZ_TARGET(seeds)
{
    if (input.empty())
        return;
    clearHome();
    const std::string name = std::string(kNames[static_cast<unsigned char>(input[0]) % kNameCount]) + "20240607170000.txt";
    put(home() / "feed" / name, input.substr(1));
    ::setenv("ZORBE_FEED", (home() / "feed").c_str(), 1);

    auto component = std::make_unique<LocalFeedLink>();
    component->setNow("20240610235959");
    TJVLink link(std::move(component));
    link.JVInit(std::string(kSoftwareId));
    SilentDownloadView view;
    TDownloadRun run(link, view);
    readerMayRefuse([&] {
        run.formShow("");
        run.Edit2 = TDownloadRun::fromTimeText("20240601000000");
        run.start();
        for (int polls = 0; view.timerActive() && polls < 1000; ++polls)
            run.timerTick();
    });
    if (run.state() != TDownloadRun::State::Closed)
        __builtin_trap(); // a run that never closed
}
