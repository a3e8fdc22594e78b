#pragma once

#include <functional>
#include <string>

#include "AppPath.h"

namespace controls {

// The title message boxes show when none is given.
std::string AppTitle();
void SetAppTitle(const std::string& title);

// End the program at once, without any window's unload handling. Tests install a
// handler that records the call; when the handler returns, End throws ProgramEnded,
// which no event guard swallows, so nothing after End runs.
struct ProgramEnded {};
[[noreturn]] void End();
void SetEndHandler(std::function<void()> handler);

// The clipboard as plain text (grids add an HTML table through GridClipboard).
namespace Clipboard {
void Clear();
void SetText(const std::string& text);
std::string GetText();
}  // namespace Clipboard

}  // namespace controls
