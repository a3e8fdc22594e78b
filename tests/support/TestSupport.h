// The tests' support. Every test binary has the engine's part (EngineSupport.h); binaries
// that link the controls also get scripted dialogs and the reset between tests, so a test
// of the data side may include this header and still link no widgets.
#pragma once

#include "EngineSupport.h"

#if __has_include("Dialogs.h")
#include <memory>

#include "Dialogs.h"

namespace testing_support {

// A fresh dialog service for the test: answers from its queues, records every prompt.
std::shared_ptr<platform::ScriptedDialogs> ScriptDialogs();

// Puts back what a fresh start has: no popup open, no database, fresh dialogs, End
// recorded rather than ending the test program, pending deletes done. Windows a test
// opened are its own to drop first.
void ResetProgram();

}  // namespace testing_support
#endif
