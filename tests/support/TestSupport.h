// The window tests' support: the engine's part (EngineSupport.h), scripted dialogs and the
// reset between tests. Tests of the data side include EngineSupport.h alone.
#pragma once

#include "EngineSupport.h"

#include <memory>

#include "Dialogs.h"

namespace testing_support {

// A fresh dialog service for the test: answers from its queues, records every prompt.
std::shared_ptr<controls::ScriptedDialogs> ScriptDialogs();

// Puts back what a fresh start has: no popup open, no database, fresh dialogs, End
// recorded rather than ending the test program, pending deletes done. Windows a test
// opened are its own to drop first.
void ResetProgram();

}  // namespace testing_support
