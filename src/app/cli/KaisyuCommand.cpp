#include "app/cli/Commands.h"

#include "app/cli/NewspaperDay.h"
#include "platform/Cp932.h"
#include "platform/ProfileFile.h"
#include "verify/ReturnRate.h"

#include <ostream>

namespace zorbe::cli {
namespace {

// Every grid row as a line, cells separated by tabs.
void printGrids(const TReturnRate &rates, std::ostream &out)
{
    for (const TGrid &grid : rates.grids)
        for (int row = 0; row < grid.rows(); ++row) {
            for (int col = 0; col < grid.cols(); ++col)
                out << (col ? "\t" : "") << cp932::toUtf8(grid.cell(col, row));
            out << '\n';
        }
}

} // namespace

// The return-rate window's calculation for one venue section of a payout
// file and one pick type, with its grids printed; --save appends the day
// to the meeting file, --html writes the page.
int runKaisyu(Args args, Streams &streams)
{
    constexpr const char *kUsage = "kaisyu PAYOUTFILE --venue 1|2|3 --pick 1|2|3 [--save] [--html]";
    std::string file;
    std::optional<int> venue, pick;
    bool save = false, html = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        if ((a == "--venue" || a == "--pick") && i + 1 < args.size()) {
            const auto n = parseInt(args[++i], 1, 3);
            if (!n)
                return usageError(streams, kUsage, a + " は 1 から 3 で指定してください: " + args[i]);
            (a == "--venue" ? venue : pick) = n;
        } else if (a == "--save") {
            save = true;
        } else if (a == "--html") {
            html = true;
        } else if (file.empty() && !a.starts_with("--")) {
            file = a;
        } else {
            return usageError(streams, kUsage, "不明な指定です: " + a);
        }
    }
    if (file.empty())
        return usageError(streams, kUsage, "払戻ファイルがありません");
    if (!venue || !pick)
        return usageError(streams, kUsage, !venue ? "--venue がありません" : "--pick がありません");

    try {
        const ProfileFile settings(ProfileFile::defaultPath());
        TReturnRate rates;
        rates.beginChoice();
        rates.choosePayoutFile(pathArgument(file));
        if (!rates.captions[0].empty() && rates.captions[static_cast<std::size_t>(*venue - 1)].empty()) {
            streams.err << "zorbe: この払戻ファイルには " << *venue << " 番目の競馬場がありません\n";
            return kExitFailure;
        }
        rates.calculate(*venue - 1, static_cast<PickType>(*pick), returnRateFolderSetting(settings));
        printGrids(rates, streams.out);
        if (save) {
            const TSaveResult saved = rates.saveDay();
            if (saved.clamped)
                streams.err << "zorbe: 配当額が999,999円を超えたため、回収率ファイルには999999と書きました\n";
            streams.err << "保存しました: " << saved.file.utf8() << '\n';
        }
        if (html)
            streams.err << "HTMLを書きました: " << rates.writeHtml().utf8() << '\n';
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace zorbe::cli
