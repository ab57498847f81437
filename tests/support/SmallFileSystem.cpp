#include "tests/support/SmallFileSystem.h"

#ifndef _WIN32
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tvx::test {

#ifdef _WIN32
SmallFileSystem::SmallFileSystem(const std::filesystem::path&, std::size_t)
    : unavailable_("no small file system can be mounted on Windows") {}
SmallFileSystem::~SmallFileSystem() = default;
void FillFileSystem(const std::filesystem::path&) {}
#else
namespace {

bool WriteText(const char* path, const std::string& text) {
    const int fd = ::open(path, O_WRONLY | O_CLOEXEC);
    const bool written = fd >= 0 && ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (fd >= 0) ::close(fd);
    return written;
}

// In the child: a private mount namespace with the tmpfs on folder. Empty, or what failed.
std::string MountPrivately(const std::string& folder, const std::string& options, const std::string& uidMap,
                           const std::string& gidMap) {
    const bool root = ::geteuid() == 0;
    if (::unshare(CLONE_NEWNS | (root ? 0 : CLONE_NEWUSER)) != 0) return std::string("unshare: ") + std::strerror(errno);
    if (!root && !(WriteText("/proc/self/setgroups", "deny") && WriteText("/proc/self/uid_map", uidMap) &&
                   WriteText("/proc/self/gid_map", gidMap)))
        return std::string("user namespace mapping: ") + std::strerror(errno);
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tvx-small", folder.c_str(), "tmpfs", 0, options.c_str()) != 0)
        return std::string("mount: ") + std::strerror(errno);
    return {};
}

}  // namespace

SmallFileSystem::SmallFileSystem(const std::filesystem::path& folder, std::size_t bytes) {
    // Everything the child needs is prepared before the fork.
    const std::string options = "size=" + std::to_string(bytes);
    const std::string uidMap = std::to_string(::geteuid()) + " " + std::to_string(::geteuid()) + " 1";
    const std::string gidMap = std::to_string(::getegid()) + " " + std::to_string(::getegid()) + " 1";
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0) {
        unavailable_ = std::string("pipe: ") + std::strerror(errno);
        return;
    }
    child_ = ::fork();
    if (child_ == 0) {  // reports, then holds the mount until it is killed
        const std::string failure = MountPrivately(folder.string(), options, uidMap, gidMap);
        const std::string report = failure.empty() ? "ok" : failure;
        [[maybe_unused]] const auto sent = ::write(ready[1], report.data(), report.size());
        for (;;) ::pause();
    }
    ::close(ready[1]);
    char report[256] = {};
    const ssize_t length = child_ > 0 ? ::read(ready[0], report, sizeof report - 1) : -1;
    ::close(ready[0]);
    if (child_ < 0)
        unavailable_ = std::string("fork: ") + std::strerror(errno);
    else if (std::string(report, length > 0 ? static_cast<std::size_t>(length) : 0) != "ok")
        unavailable_ = report;
    else
        path_ = std::filesystem::path("/proc/" + std::to_string(child_) + "/root") / folder.relative_path();
}

SmallFileSystem::~SmallFileSystem() {
    if (child_ > 0 && ::kill(child_, SIGKILL) == 0) ::waitpid(child_, nullptr, 0);
}

void FillFileSystem(const std::filesystem::path& folder) {
    const int fd = ::open((folder / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    static const char zeros[4096] = {};
    while (fd >= 0 && ::write(fd, zeros, sizeof zeros) > 0) {
    }
    if (fd >= 0) ::close(fd);
}
#endif

}  // namespace tvx::test
