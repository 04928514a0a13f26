#include "platform/StopPoint.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

namespace zorbe {
namespace {

struct Armed
{
    bool on = false;
    std::string name;
    long remaining = 0;
};

Armed readArmed()
{
    Armed a;
    const char *env = std::getenv("ZORBE_STOP_AT");
    if (!env)
        return a;
    const char *colon = std::strrchr(env, ':');
    if (!colon || colon == env)
        return a;
    char *end = nullptr;
    const long n = std::strtol(colon + 1, &end, 10);
    if (n < 1 || !end || *end != '\0')
        return a;
    a.on = true;
    a.name.assign(env, colon);
    a.remaining = n;
    return a;
}

Armed &armed()
{
    static Armed a = readArmed();
    return a;
}

} // namespace

void stopPoint(const char *name)
{
    Armed &a = armed();
    if (!a.on || a.name != name)
        return;
    if (--a.remaining == 0)
        std::raise(SIGKILL);
}

} // namespace zorbe
