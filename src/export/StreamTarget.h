#pragma once

#include <cstdio>
#include <string>

namespace exporter {

// A target that exists and is neither a regular file nor a folder (a FIFO, a character
// device such as /dev/null): written in place, as a stream, and never replaced.
class StreamTarget {
  public:
    static bool IsStream(const std::string& path);

    StreamTarget() = default;
    ~StreamTarget();
    StreamTarget(const StreamTarget&) = delete;
    StreamTarget& operator=(const StreamTarget&) = delete;

    // Opens `path` for writing without waiting for a reader: a FIFO nobody reads fails at
    // once with ENXIO. Returns 0 or the error number.
    int Open(const std::string& path);
    // Sends every byte of `from`, from its start, and closes the target; 0 or the error
    // number. A reader that goes away is an error (EPIPE), never the end of the program.
    int Send(std::FILE* from);

  private:
    int fd_ = -1;
};

}  // namespace exporter
