#pragma once

// Whole-process timing for the benchmarks that run the `zorbe` executable:
// wall-clock and CPU time, peak memory and exit status of one run.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

struct Run
{
    double seconds = 0;
    double cpuSeconds = 0; // user and system time of the process
    long peakKb = 0;
    int status = -1;
};

// Runs a program with `env` added to the environment and its standard
// output thrown away; times it and reads its peak resident memory.
inline Run runProcess(const std::vector<std::string> &argv, const std::vector<std::string> &env)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (const std::string &e : env)
            ::putenv(const_cast<char *>(e.c_str()));
        if (std::FILE *devNull = std::fopen("/dev/null", "w"))
            ::dup2(::fileno(devNull), 1);
        std::vector<char *> args;
        for (const std::string &a : argv)
            args.push_back(const_cast<char *>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        std::_Exit(127);
    }
    Run run;
    int status = 0;
    struct rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKb = usage.ru_maxrss;
    run.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
                     + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace bench
