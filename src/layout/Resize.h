#pragma once

#include <optional>
#include <string>
#include <vector>

namespace controls {
class Control;
class Form;
}  // namespace controls

// Proportional layout: when a window changes size, each of its controls keeps the share of
// the window's inner area it had when the window was first laid out. A window calls
// ResizeForm from its resize event; the module knows nothing of the windows that use it.
namespace Resize {

// The geometry of a window (Name, Top..ScaleWidth) or of a control (Name, Index, FormName,
// Top..Width) as first laid out, in twips of the window or of the control's container.
struct SizeRecord {
    std::string Name;
    int Index = 0;
    std::string FormName;
    int Top = 0;
    int Left = 0;
    int Height = 0;
    int Width = 0;
    int ScaleHeight = 0;
    int ScaleWidth = 0;
};

// Records are appended and never changed: a window's first layout is the reference for the
// rest of the run, even after the window is closed and opened again.
extern std::vector<SizeRecord> FormSizes;
extern std::vector<SizeRecord> ControlSizes;
extern bool Resizing;

void ResizeForm(controls::Form& form);

// The module's own routines, open for tests.
int FindForm(const controls::Form& form);
int AddForm(controls::Form& form);
int FindControl(const controls::Control& control, const std::string& formName);
int AddControl(controls::Control& control, const std::string& formName);
// Whole percentages of the recorded inner size; nothing when the recorded size is 0.
std::optional<int> WidthFactor(controls::Form& form);
std::optional<int> HeightFactor(controls::Form& form);
void ResizeControl(controls::Control& control, controls::Form& form);
// A control on a hidden tab of the classic tab control stood at its real left minus 75000.
int RealLeft(int left);

// Forgets every record (tests only; the program keeps them for the whole run).
void Forget();

}  // namespace Resize
