#pragma once
// The process's resident memory, for the benchmarks that watch it grow.

#include <fstream>
#include <string>

inline long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1024, '\n');
    }
    return 0;
}
