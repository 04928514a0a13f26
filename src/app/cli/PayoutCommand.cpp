#include "app/cli/Commands.h"

#include "app/cli/NewspaperDay.h"
#include "platform/Cp932.h"
#include "platform/ProfileFile.h"
#include "verify/PayoutFile.h"
#include "verify/Unlha.h"

#include <ostream>
#include <vector>

namespace zorbe::cli {

// The payout-file window's work: each results file opened in turn (an LHA
// archive first unpacked when [kyousou] kousin says so), then saved as
// NAME + ".TXT".
int runPayout(Args args, Streams &streams)
{
    constexpr const char *kUsage = "payout SDTFILE... --out NAME";
    std::vector<std::string> inputs;
    std::string out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size() && out.empty())
            out = args[++i];
        else if (args[i].starts_with("--"))
            return usageError(streams, kUsage, "不明な指定です: " + args[i]);
        else
            inputs.push_back(args[i]);
    }
    if (inputs.empty())
        return usageError(streams, kUsage, "成績ファイルがありません");
    if (out.empty())
        return usageError(streams, kUsage, "--out がありません");

    try {
        const TPayoutSettings settings = TPayoutSettings::read(ProfileFile(ProfileFile::defaultPath()));
        TPayoutTable table;
        lha::TUnlha unlha;
        for (const std::string &input : inputs) {
            const TPayoutSource source = payoutSourceFile(settings, pathArgument(input), unlha);
            for (const std::string &line : source.refused)
                streams.err << "zorbe: " << cp932::toUtf8(line) << '\n';
            std::vector<TPayoutNotice> notices;
            if (!table.appendResultsFile(source.file, notices)) {
                streams.err << "zorbe: 成績ファイルがありません: " << source.file.utf8() << '\n';
                return kExitFailure;
            }
            for (const TPayoutNotice &n : notices)
                streams.err << "zorbe: " << n.text << '\n';
        }
        streams.out << savePayoutTable(table, pathArgument(out)).utf8() << '\n';
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace zorbe::cli
