#include "app/cli/Commands.h"

#include "platform/WinPath.h"

#include <ostream>

namespace zorbe::cli {

// Prints the native path a program path maps to.
int runPath(Args args, Streams &streams)
{
    if (args.size() != 1)
        return usageError(streams, "path WINPATH", args.empty() ? "パスがありません" : "パスは1つだけ指定してください");
    streams.out << toNative(WinPath::fromUtf8(args[0])).string() << '\n';
    return kExitOk;
}

} // namespace zorbe::cli
