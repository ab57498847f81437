#pragma once
// A write cut short, as on a full disk, for a file system of any size and for root too: while a
// FileSizeLimit lives, this process cannot write beyond the given file offset (the write fails
// with EFBIG; SIGXFSZ is ignored).

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>

namespace tvx::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        if (::getrlimit(RLIMIT_FSIZE, &saved_) != 0) return;
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        set_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        if (set_) ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    [[nodiscard]] bool Set() const { return set_; }

private:
    void (*previousHandler_)(int);
    rlimit saved_{};
    bool set_ = false;
};

}  // namespace tvx::test
#endif
