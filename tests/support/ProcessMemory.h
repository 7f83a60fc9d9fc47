#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>

// A running process's resident memory in KiB, as Linux reports it; -1 when it cannot be read.
inline long ResidentKiBOf(pid_t pid) {
    FILE* status = fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
    if (!status) return -1;
    char line[256];
    long kib = -1;
    while (fgets(line, sizeof line, status))
        if (sscanf(line, "VmRSS: %ld kB", &kib) == 1) break;
    fclose(status);
    return kib;
}
