#pragma once

#include "app/cli/Cli.h"

// One entry point per subcommand; each lives in its own file.
namespace zorbe::cli {

int runVersion(Args args, Streams &streams);
int runSettings(Args args, Streams &streams);
int runPath(Args args, Streams &streams);
int runFeed(Args args, Streams &streams);
int runDownload(Args args, Streams &streams);
int runFigures(Args args, Streams &streams);
int runRender(Args args, Streams &streams);
int runPrint(Args args, Streams &streams);
int runDemo(Args args, Streams &streams);
int runPicks(Args args, Streams &streams);
int runPayout(Args args, Streams &streams);
int runKaisyu(Args args, Streams &streams);
int runCsv(Args args, Streams &streams);
int runResults(Args args, Streams &streams);
int runJockey(Args args, Streams &streams);
int runTrainer(Args args, Streams &streams);
int runDb(Args args, Streams &streams);

} // namespace zorbe::cli
