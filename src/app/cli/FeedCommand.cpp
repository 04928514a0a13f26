#include "app/cli/Commands.h"

#include "link/feedgen/FeedCalendar.h"
#include "link/feedgen/FeedGenerator.h"

#include <filesystem>
#include <ostream>

namespace zorbe::cli {
namespace {

constexpr const char *kUsage
    = "feed generate --out DIR [--seed N] [--start YYYYMMDD] [--weeks N] [--venues N] [--scale K] [--odds DIR]";

bool parseNumber(const std::string &text, long long lo, long long hi, long long &out)
{
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    out = std::stoll(text);
    return out >= lo && out <= hi;
}

// A folder given on the command line: a Windows-form path as the program
// writes them, or a native one (relative to the current folder).
WinPath folderArgument(const std::string &text)
{
    const bool windowsForm = text.find('\\') != std::string::npos || (text.size() >= 2 && text[1] == ':');
    if (windowsForm)
        return WinPath::fromUtf8(text);
    return WinPath::fromNative(std::filesystem::absolute(std::filesystem::path(text)));
}

} // namespace

int runFeed(Args args, Streams &streams)
{
    if (args.empty() || args[0] != "generate")
        return usageError(streams, kUsage);
    feedgen::FeedOptions options;
    std::string out, odds;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &opt = args[i];
        if (i + 1 >= args.size())
            return usageError(streams, kUsage, "値がありません: " + opt);
        const std::string &value = args[++i];
        long long n = 0;
        if (opt == "--out")
            out = value;
        else if (opt == "--odds")
            odds = value;
        else if (opt == "--seed" && parseNumber(value, 0, 999999999999999999LL, n))
            options.seed = static_cast<std::uint64_t>(n);
        else if (opt == "--start" && parseNumber(value, 19900101, 20891231, n) && feedgen::isValidDate(static_cast<int>(n)))
            options.start = static_cast<int>(n);
        else if (opt == "--weeks" && parseNumber(value, 1, 520, n))
            options.weeks = static_cast<int>(n);
        else if (opt == "--venues" && parseNumber(value, 1, 10, n))
            options.venues = static_cast<int>(n);
        else if (opt == "--scale" && parseNumber(value, 1, 50, n))
            options.scale = static_cast<int>(n);
        else
            return usageError(streams, kUsage, "不正な指定です: " + opt + " " + value);
    }
    if (out.empty())
        return usageError(streams, kUsage, "--out がありません");
    // The weeks are counted from a Thursday: another start day moves back
    // to the Thursday before it.
    const int day = feedgen::dayNumber(options.start);
    options.start = feedgen::dateOf(day - (feedgen::weekdayOf(day) + 7 - 4) % 7);
    try {
        const int count
            = feedgen::generateFeed(options, folderArgument(out), odds.empty() ? WinPath() : folderArgument(odds));
        streams.out << count << " 個のファイルを作成しました\n";
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace zorbe::cli
