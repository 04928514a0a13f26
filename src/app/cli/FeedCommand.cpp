#include "app/cli/Commands.h"

namespace zorbe::cli {

// Placeholder until the feed generator lands.
int runFeed(Args, Streams &streams)
{
    return usageError(streams, "feed generate --out DIR", "feed generate はまだありません");
}

} // namespace zorbe::cli
