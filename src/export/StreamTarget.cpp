#include "StreamTarget.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <utility>

namespace exporter {

namespace fs = std::filesystem;

bool StreamTarget::IsStream(const std::string& path) {
    std::error_code ec;
    const fs::file_status s = fs::status(path, ec);
    return fs::exists(s) && !fs::is_regular_file(s) && !fs::is_directory(s);
}

StreamTarget::~StreamTarget() {
    if (fd_ >= 0) ::close(fd_);
}

int StreamTarget::Open(const std::string& path) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) return errno;
    // Once open, a slow reader is waited for like any pipe's.
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) < 0) return errno;
    return 0;
}

int StreamTarget::Send(std::FILE* from) {
    if (std::fflush(from) != 0 || std::fseek(from, 0, SEEK_SET) != 0) return errno ? errno : EIO;
    sigset_t pipe, before;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, &before);
    int error = 0;
    char buffer[1 << 16];
    for (size_t n; !error && (n = std::fread(buffer, 1, sizeof buffer, from)) > 0;)
        for (size_t done = 0; done < n && !error;) {
            const ssize_t written = ::write(fd_, buffer + done, n - done);
            if (written >= 0)
                done += static_cast<size_t>(written);
            else if (errno != EINTR)
                error = errno;
        }
    if (!error && std::ferror(from)) error = EIO;
    // The SIGPIPE a gone reader raised is taken here, while it is still blocked.
    if (error == EPIPE && !sigismember(&before, SIGPIPE)) {
        const timespec now{};
        sigtimedwait(&pipe, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    if (::close(std::exchange(fd_, -1)) != 0 && !error) error = errno;
    return error;
}

}  // namespace exporter
