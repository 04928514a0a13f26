#include "platform/StopPoint.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

namespace zorbe {
namespace {

// The point armed through the environment, read once. The writer thread of
// a write-behind passes points too, hence the atomic count.
struct Armed
{
    Armed();

    bool on = false;
    std::string name;
    std::atomic<long> remaining = 0;
};

Armed::Armed()
{
    const char *env = std::getenv("ZORBE_STOP_AT");
    if (!env)
        return;
    const char *colon = std::strrchr(env, ':');
    if (!colon || colon == env)
        return;
    char *end = nullptr;
    const long n = std::strtol(colon + 1, &end, 10);
    if (n < 1 || !end || *end != '\0')
        return;
    on = true;
    name.assign(env, colon);
    remaining = n;
}

Armed &armed()
{
    static Armed a;
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
