#include "app/cli/Commands.h"

#include "platform/Cp932.h"
#include "platform/ProfileFile.h"

#include <ostream>

namespace zorbe::cli {
namespace {

constexpr const char *kUsage = "settings get SECTION KEY [DEFAULT] | set SECTION KEY VALUE | erase SECTION";

} // namespace

// UTF-8 on the command line, cp932 in the settings file.
int runSettings(Args args, Streams &streams)
{
    if (args.empty())
        return usageError(streams, kUsage);
    std::vector<std::string> sj;
    try {
        for (const auto &a : args.subspan(1))
            sj.push_back(cp932::fromUtf8Strict(a));
    } catch (const cp932::EncodingError &e) {
        streams.err << "zorbe: " << e.what() << '\n';
        return kExitUsage;
    }
    ProfileFile settings(ProfileFile::defaultPath());
    const std::string &verb = args[0];
    if (verb == "get" && (sj.size() == 2 || sj.size() == 3)) {
        streams.out << cp932::toUtf8(settings.readString(sj[0], sj[1], sj.size() == 3 ? sj[2] : "")) << '\n';
        return kExitOk;
    }
    if (verb == "set" && sj.size() == 3) {
        if (sj[2].find_first_of("\r\n") != std::string::npos) {
            streams.err << "zorbe: 設定値に改行は使えません\n";
            return kExitUsage;
        }
        settings.writeString(sj[0], sj[1], sj[2]);
        return kExitOk;
    }
    if (verb == "erase" && sj.size() == 1) {
        settings.eraseSection(sj[0]);
        return kExitOk;
    }
    return usageError(streams, kUsage);
}

} // namespace zorbe::cli
