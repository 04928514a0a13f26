#pragma once

#include "app/cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace zorbe::test {

// What a subcommand run in-process printed and returned.
struct CliResult
{
    int code;
    std::string out;
    std::string err;
};

inline CliResult runCli(std::vector<std::string> args)
{
    std::ostringstream out, err;
    cli::Streams streams{out, err};
    const int code = cli::run(args, streams);
    return {code, out.str(), err.str()};
}

} // namespace zorbe::test
