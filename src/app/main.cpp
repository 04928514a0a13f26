#include "app/cli/Cli.h"

#include <iostream>
#include <string>
#include <vector>

#ifdef ZORBE_WITH_GUI
#include "shell/qt/DesktopApp.h"
#endif

// Without arguments: the desktop program. With a subcommand: the same work
// headless.
int main(int argc, char **argv)
{
    if (argc <= 1) {
#ifdef ZORBE_WITH_GUI
        return zorbe::runDesktopApp(argc, argv);
#else
        std::cerr << "zorbe: このビルドにはデスクトップ版が含まれていません（サブコマンドは使えます）\n";
        zorbe::cli::printUsage(std::cerr);
        return zorbe::cli::kExitUsage;
#endif
    }
    const std::vector<std::string> args(argv + 1, argv + argc);
    zorbe::cli::Streams streams{std::cout, std::cerr};
    return zorbe::cli::run(args, streams);
}
