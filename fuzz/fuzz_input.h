// Hands a fuzz input to readers that open files by name: the bytes go into one scratch file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <unistd.h>

inline const char* writeScratchFile(const uint8_t* data, size_t size) {
    static std::string path;
    if (path.empty()) {
        // Memory-backed when the machine has it: a fuzz run writes this file millions of times.
        const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        path = std::string(dir) + "/viewers-fuzz-" + std::to_string(getpid());
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) {
        return nullptr;
    }
    if (size > 0) {
        std::fwrite(data, 1, size, out);
    }
    std::fclose(out);
    return path.c_str();
}

// The readers report on standard output; a fuzz run would drown in it.
inline void silenceStdout() {
    if (std::freopen("/dev/null", "w", stdout) == nullptr) {
        std::perror("freopen");
    }
}
