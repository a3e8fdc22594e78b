// What the tests of windows need on top of the engine's support: scripted dialogs and a
// reset of the program-wide state the lower layers keep.
#pragma once

#include <memory>

#include "Dialogs.h"
#include "EngineSupport.h"

namespace testing_support {

// A fresh dialog service for the test: answers from its queues, records every prompt.
std::shared_ptr<platform::ScriptedDialogs> ScriptDialogs();

// Puts back what a fresh start has: no popup open, no database, fresh dialogs, End
// recorded rather than ending the test program, pending deletes done. Windows a test
// opened are its own to drop first.
void ResetProgram();

}  // namespace testing_support
