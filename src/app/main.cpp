#include "app/cli/Cli.h"

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#ifdef ZORBE_WITH_GUI
#include "shell/qt/DesktopApp.h"
#endif

namespace {

bool hasValue(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

} // namespace

// Without arguments: the desktop program. With a subcommand: the same work
// headless. "--startup-time" starts the desktop program, reports how long
// the main window took to appear, and quits.
int main(int argc, char **argv)
{
    const auto startedAt = std::chrono::steady_clock::now();
    const bool timedStart = argc == 2 && std::string_view(argv[1]) == "--startup-time";
    if (argc <= 1 || timedStart) {
#ifdef ZORBE_WITH_GUI
        // Qt aborts when it finds no display for its platform; a platform the
        // user chose is theirs to answer for.
        if (!hasValue("QT_QPA_PLATFORM") && !hasValue("DISPLAY") && !hasValue("WAYLAND_DISPLAY")) {
            std::cerr << "zorbe: デスクトップ版にはディスプレイが必要です（DISPLAY も WAYLAND_DISPLAY もありません）。\n"
                         "       画面なしでの使い方は zorbe --help、合成データでの一通りの動作は zorbe demo で見られます。\n";
            return zorbe::cli::kExitFailure;
        }
        zorbe::DesktopStart start;
        start.reportStartTime = timedStart;
        start.startedAt = startedAt;
        int qtArgc = 1;
        return zorbe::runDesktopApp(qtArgc, argv, start);
#else
        (void)hasValue;
        std::cerr << "zorbe: このビルドにはデスクトップ版が含まれていません（サブコマンドは使えます）\n";
        zorbe::cli::printUsage(std::cerr);
        return zorbe::cli::kExitFailure;
#endif
    }
    const std::vector<std::string> args(argv + 1, argv + argc);
    zorbe::cli::Streams streams{std::cout, std::cerr};
    return zorbe::cli::run(args, streams);
}
