#include "app/cli/Commands.h"

#include "export/SqliteExport.h"
#include "platform/ProfileFile.h"

#include <ostream>

namespace zorbe::cli {

// The whole collection as a SQLite database. Exit 0 when every day was
// read, 1 when a day could not be read (it keeps its earlier rows; the
// other days are written) or the database could not be written.
int runDb(Args args, Streams &streams)
{
    constexpr const char *kUsage = "db export [--out FILE.sqlite] [--full]";
    if (args.empty())
        return usageError(streams, kUsage, "db の操作がありません");
    if (args[0] != "export")
        return usageError(streams, kUsage, "不明な db の操作です: " + args[0]);
    dbexport::ExportOptions options;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size())
            options.out = std::filesystem::absolute(std::filesystem::path(args[++i]));
        else if (args[i] == "--full")
            options.full = true;
        else if (args[i] == "--out")
            return usageError(streams, kUsage, "値がありません: --out");
        else
            return usageError(streams, kUsage, "不明な指定です: " + args[i]);
    }
    try {
        const ProfileFile ini(ProfileFile::defaultPath());
        const dbexport::ExportReport report = dbexport::exportDatabase(ini, options);
        streams.out << report.out.string() << '\n' << dbexport::summaryText(report) << '\n';
        for (const std::string &p : report.problems)
            streams.err << "zorbe: " << p << '\n';
        for (const std::string &n : report.notes)
            streams.err << n << '\n';
        return report.ok() ? kExitOk : kExitFailure;
    } catch (const std::exception &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitFailure;
    }
}

} // namespace zorbe::cli
