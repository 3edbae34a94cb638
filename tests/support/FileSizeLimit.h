#pragma once
// Files may grow no further than a number of bytes while it lives, as on a disk that is full
// (POSIX: the file size limit, its signal ignored so that a write fails instead).

#include <csignal>
#include <sys/resource.h>

namespace quorvex {

struct FileSizeLimit {
    explicit FileSizeLimit(rlim_t bytes) : oldHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit = old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    rlimit old{};
    void (*oldHandler)(int);
};

} // namespace quorvex
