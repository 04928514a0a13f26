#include "app/cli/Commands.h"

#include "platform/Cp932.h"
#include "platform/ProfileFile.h"

#include <ostream>

namespace zorbe::cli {
namespace {

constexpr const char *kUsage = "settings get SECTION KEY [DEFAULT] | set SECTION KEY VALUE | erase SECTION";

// Why the settings file cannot hold this section or key name ("" when it
// can): a line "[name]" or "name=value" must read back as the same name.
std::string nameProblem(const char *what, const std::string &name)
{
    if (name.empty())
        return std::string(what) + "名が空です";
    if (name.find_first_of("=[]\r\n") != std::string::npos)
        return std::string(what) + "名に = [ ] と改行は使えません: " + name;
    return {};
}

} // namespace

// UTF-8 on the command line, cp932 in the settings file.
int runSettings(Args args, Streams &streams)
{
    if (args.empty())
        return usageError(streams, kUsage, "get、set、erase のどれかを指定してください");
    std::vector<std::string> sj;
    try {
        for (const auto &a : args.subspan(1))
            sj.push_back(cp932::fromUtf8Strict(a));
    } catch (const cp932::EncodingError &e) {
        return usageError(streams, kUsage, e.what());
    }
    ProfileFile settings(ProfileFile::defaultPath());
    const std::string &verb = args[0];
    if (verb == "get" && (sj.size() == 2 || sj.size() == 3)) {
        streams.out << cp932::toUtf8(settings.readString(sj[0], sj[1], sj.size() == 3 ? sj[2] : "")) << '\n';
        return kExitOk;
    }
    if (verb == "set" && sj.size() == 3) {
        std::string problem = nameProblem("セクション", args[1]);
        if (problem.empty())
            problem = nameProblem("キー", args[2]);
        if (!problem.empty())
            return usageError(streams, kUsage, problem);
        if (sj[2].find_first_of("\r\n") != std::string::npos)
            return usageError(streams, kUsage, "設定値に改行は使えません");
        settings.writeString(sj[0], sj[1], sj[2]);
        return kExitOk;
    }
    if (verb == "erase" && sj.size() == 1) {
        if (const std::string problem = nameProblem("セクション", args[1]); !problem.empty())
            return usageError(streams, kUsage, problem);
        settings.eraseSection(sj[0]);
        return kExitOk;
    }
    if (verb != "get" && verb != "set" && verb != "erase")
        return usageError(streams, kUsage, "不明な指定です: " + verb);
    return usageError(streams, kUsage, "settings " + verb + " の引数の数が違います");
}

} // namespace zorbe::cli
