#include "app/cli/Cli.h"

#include <cstdlib>
#include <iostream>
#include <string>
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
// headless.
int main(int argc, char **argv)
{
    if (argc <= 1) {
#ifdef ZORBE_WITH_GUI
        // Qt aborts when it finds no display for its platform; a platform the
        // user chose is theirs to answer for.
        if (!hasValue("QT_QPA_PLATFORM") && !hasValue("DISPLAY") && !hasValue("WAYLAND_DISPLAY")) {
            std::cerr << "zorbe: デスクトップ版にはディスプレイが必要です（DISPLAY も WAYLAND_DISPLAY もありません）。\n"
                         "       画面なしでの使い方は zorbe --help、合成データでの一通りの動作は zorbe demo で見られます。\n";
            return zorbe::cli::kExitFailure;
        }
        return zorbe::runDesktopApp(argc, argv);
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
