#include "app/cli/Commands.h"

#include "app/cli/HeadlessDownload.h"
#include "link/LocalFeedLink.h"

#include <ostream>

namespace zorbe::cli {
namespace {

constexpr const char *kUsage = "download [--from yyyymmddhhmmss] [--now yyyymmddhhmmss]";

} // namespace

// The download run of the download window, headless. Exit 0 when it
// converted what it fetched or there was nothing new, 1 when it failed or
// the data link had to leave damaged records out.
int runDownload(Args args, Streams &streams)
{
    std::string from, now;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--from" || args[i] == "--now") && i + 1 < args.size()) {
            if (!isValidTimestamp(args[i + 1]))
                return usageError(streams, kUsage, "時刻は yyyymmddhhmmss の14桁で指定してください: " + args[i + 1]);
            (args[i] == "--from" ? from : now) = args[i + 1];
            ++i;
        } else {
            return usageError(streams, kUsage);
        }
    }
    const DownloadOutcome outcome = downloadAndConvert(from, now, streams.out, streams.err);
    return outcome.ok && outcome.damaged == 0 ? kExitOk : kExitFailure;
}

} // namespace zorbe::cli
