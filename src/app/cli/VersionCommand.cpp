#include "app/cli/Commands.h"

#include "link/JVLink.h"
#include "link/LocalFeedLink.h"
#include "shell/AppInfo.h"

#include <ostream>

namespace zorbe::cli {

int runVersion(Args args, Streams &streams)
{
    if (!args.empty())
        return usageError(streams, "version", "version には引数はありません");
    TJVLink link(std::make_unique<LocalFeedLink>());
    streams.out << kApplicationTitle << '\n';
    if (link.JVInit(std::string(kSoftwareId)) == 0)
        streams.out << JVLinkVersionText(link.m_JVLinkVersion()) << '\n';
    return kExitOk;
}

} // namespace zorbe::cli
