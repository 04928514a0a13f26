#include "app/cli/Commands.h"

#include "app/cli/HeadlessDownload.h"
#include "link/LocalFeedLink.h"

#include <ostream>

namespace zorbe::cli {
namespace {

constexpr const char *kUsage = "download [--from yyyymmddhhmmss] [--now yyyymmddhhmmss] [--verbose]";

} // namespace

// The download run of the download window, headless. Exit 0 when it
// converted what it fetched or there was nothing new, 1 when it failed or
// the data link had to leave damaged records out.
int runDownload(Args args, Streams &streams)
{
    std::string from, now;
    bool verbose = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--verbose") {
            verbose = true;
        } else if ((args[i] == "--from" || args[i] == "--now") && i + 1 < args.size()) {
            if (!isValidTimestamp(args[i + 1]))
                return usageError(streams, kUsage, "時刻は yyyymmddhhmmss の14桁で指定してください: " + args[i + 1]);
            (args[i] == "--from" ? from : now) = args[i + 1];
            ++i;
        } else if (args[i] == "--from" || args[i] == "--now") {
            return usageError(streams, kUsage, "値がありません: " + args[i]);
        } else {
            return usageError(streams, kUsage, "不明な指定です: " + args[i]);
        }
    }
    // On a terminal one progress line; otherwise (a log, a pipe) the status
    // texts and the converted days only; --verbose every caption as well.
    DownloadReporting reporting{streams.out, streams.err};
    reporting.verbose = verbose;
    if (!verbose && isTerminal(streams.out))
        reporting.terminal = &streams.out;
    const DownloadOutcome outcome = downloadAndConvert(from, now, reporting);
    return outcome.ok && outcome.damaged == 0 ? kExitOk : kExitFailure;
}

} // namespace zorbe::cli
