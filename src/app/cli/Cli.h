#pragma once

#include <iosfwd>
#include <span>
#include <string>

// The headless side of the zorbe executable: one small function per
// subcommand, writing to swappable streams so tests run them in-process.
namespace zorbe::cli {

struct Streams
{
    std::ostream &out;
    std::ostream &err;
};

using Args = std::span<const std::string>;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Runs the subcommand named by args[0] with the rest of args. Unknown
// subcommands print the usage and return kExitUsage.
int run(Args args, Streams &streams);

// The usage text of every subcommand.
void printUsage(std::ostream &out);

// Prints "使い方: zorbe <usage>" to err and returns kExitUsage.
int usageError(Streams &streams, const char *usage, const std::string &problem = {});

} // namespace zorbe::cli
