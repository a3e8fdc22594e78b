#pragma once

namespace platform {

// A long task's progress as the user sees it. The task reports how far it got; the answer
// is false once the user has cancelled, and the task then stops.
class ProgressReporter {
  public:
    virtual ~ProgressReporter() = default;
    virtual bool Step(long long done) = 0;
};

}  // namespace platform
