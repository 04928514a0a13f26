#include "app/cli/Commands.h"

#include "link/feedgen/FeedCalendar.h"
#include "link/feedgen/FeedGenerator.h"

#include <filesystem>
#include <ostream>
#include <vector>

namespace zorbe::cli {
namespace {

constexpr const char *kUsage
    = "feed generate --out DIR [--seed N] [--start YYYYMMDD] [--weeks N] [--venues N] [--scale K] [--odds DIR] [--force]";

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

// The delivered files of a feed folder (a name of at least 26 characters
// before the extension, characters 13-26 a time stamp), as the data link
// tells them from other files.
std::vector<std::filesystem::path> deliveredFiles(const std::filesystem::path &folder)
{
    std::vector<std::filesystem::path> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        const std::string stem = it->path().stem().string();
        if (stem.size() >= 26 && stem.substr(12, 14).find_first_not_of("0123456789") == std::string::npos)
            found.push_back(it->path());
    }
    return found;
}

} // namespace

int runFeed(Args args, Streams &streams)
{
    if (args.empty())
        return usageError(streams, kUsage, "feed のあとに generate がありません");
    if (args[0] != "generate")
        return usageError(streams, kUsage, "不明な指定です: " + args[0]);
    feedgen::FeedOptions options;
    std::string out, odds;
    bool force = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &opt = args[i];
        if (opt == "--force") {
            force = true;
            continue;
        }
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
    // A folder never mixes two feeds: the data link would deliver both.
    const WinPath outFolder = folderArgument(out);
    const std::vector<std::filesystem::path> old = deliveredFiles(toNative(outFolder));
    if (!old.empty() && !force) {
        streams.err << "zorbe: " << toNative(outFolder).string() << " にはすでに配信ファイルが " << old.size()
                    << " 個あります（消してから作るには --force を付けてください）\n";
        return kExitFailure;
    }
    try {
        for (const auto &file : old)
            std::filesystem::remove(file);
        const int count
            = feedgen::generateFeed(options, outFolder, odds.empty() ? WinPath() : folderArgument(odds));
        streams.out << count << " 個のファイルを作成しました\n";
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace zorbe::cli
