#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

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

// True when out is the process's standard output and that is a terminal:
// long work then shows one progress line updated in place.
bool isTerminal(const std::ostream &out);

// Runs the subcommand named by args[0] with the rest of args. Unknown
// subcommands print the usage and return kExitUsage.
int run(Args args, Streams &streams);

// The program's version ("0.1.0"), the one the package carries too.
std::string_view versionString();

// The list of subcommands, a line each.
void printUsage(std::ostream &out);

// Prints what was wrong (problem, or a general note when empty), then
// "使い方: zorbe <usage>", to err and returns kExitUsage.
int usageError(Streams &streams, const char *usage, const std::string &problem = {});

} // namespace zorbe::cli
