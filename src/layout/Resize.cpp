#include "Resize.h"

#include <algorithm>
#include <cmath>

#include "Control.h"
#include "Form.h"

namespace Resize {

std::vector<SizeRecord> FormSizes;
std::vector<SizeRecord> ControlSizes;
bool Resizing = false;

namespace {

constexpr int kHiddenTabOffset = 75000;
constexpr int kOffScreenTop = 30000;  // a window parked out of sight is left alone
constexpr int kRightMargin = 200;
constexpr int kBottomMargin = 500;

std::optional<int> factor(int present, int recorded) {
    if (recorded <= 0) return std::nullopt;
    const long long percent = std::llround(static_cast<double>(present) * 100.0);
    return static_cast<int>(percent / recorded);
}

// The recorded window, recording it first when it is new.
const SizeRecord& formRecord(controls::Form& form) {
    int at = FindForm(form);
    if (at < 0) at = AddForm(form);
    return FormSizes[static_cast<size_t>(at)];
}

}  // namespace

int RealLeft(int left) { return left >= 0 ? left : left + kHiddenTabOffset; }

int FindForm(const controls::Form& form) {
    for (size_t i = 0; i < FormSizes.size(); ++i)
        if (FormSizes[i].Name == form.Name()) return static_cast<int>(i);
    return -1;
}

int AddForm(controls::Form& form) {
    SizeRecord r;
    r.Name = form.Name();
    r.Top = form.Top();
    r.Left = form.Left();
    r.Height = form.Height();
    r.Width = form.Width();
    r.ScaleHeight = form.ScaleHeight();
    r.ScaleWidth = form.ScaleWidth();
    FormSizes.push_back(r);
    const int at = static_cast<int>(FormSizes.size()) - 1;
    for (controls::Control* c : form.Controls())
        if (FindControl(*c, form.Name()) < 0) AddControl(*c, form.Name());
    return at;
}

int FindControl(const controls::Control& control, const std::string& formName) {
    for (size_t i = 0; i < ControlSizes.size(); ++i) {
        const SizeRecord& r = ControlSizes[i];
        if (r.FormName == formName && r.Name == control.Name() &&
            (!control.HasIndex() || r.Index == control.Index()))
            return static_cast<int>(i);
    }
    return -1;
}

int AddControl(controls::Control& control, const std::string& formName) {
    SizeRecord r;
    r.Name = control.Name();
    r.Index = control.HasIndex() ? control.Index() : 0;
    r.FormName = formName;
    r.Top = control.Top();
    r.Left = RealLeft(control.Left());
    r.Height = control.Height();
    r.Width = control.Width();
    ControlSizes.push_back(r);
    return static_cast<int>(ControlSizes.size()) - 1;
}

std::optional<int> WidthFactor(controls::Form& form) {
    const SizeRecord& r = formRecord(form);
    return factor(form.ScaleWidth(), r.ScaleWidth);
}

std::optional<int> HeightFactor(controls::Form& form) {
    const SizeRecord& r = formRecord(form);
    return factor(form.ScaleHeight(), r.ScaleHeight);
}

void ResizeControl(controls::Control& control, controls::Form& form) {
    // The height first, so that a first call records the window.
    const auto h = HeightFactor(form);
    const auto w = WidthFactor(form);
    if (!h || !w) return;  // a window recorded with no inner area cannot be scaled
    const int at = FindControl(control, form.Name());
    if (at < 0) return;
    const SizeRecord& r = ControlSizes[static_cast<size_t>(at)];
    int left = r.Left * *w / 100;
    if (control.Left() < 0) left -= kHiddenTabOffset;
    const int top = r.Top * *h / 100;
    const int width = r.Width * *w / 100;
    // A control whose height follows its font keeps it, as the classic combo box did.
    const int height = control.HeightFixed() ? -1 : r.Height * *h / 100;
    control.Move(left, top, width, height);
}

void ResizeForm(controls::Form& form) {
    if (Resizing) return;  // the size changes below raise the resize event again
    Resizing = true;
    struct Clear {
        ~Clear() { Resizing = false; }
    } clear;

    const bool isNew = FindForm(form) < 0;
    if (form.Top() >= kOffScreenTop) return;
    const bool wasVisible = form.Visible();
    // A minimised or maximised window cannot take the sizes of its first layout.
    const bool sizable = !form.IsMinimized() && !form.IsMaximized();
    const bool firstChildLayout = form.IsMdiChild() && isNew && sizable;
    int outerHeight = 0, outerWidth = 0;
    if (firstChildLayout) {
        outerHeight = form.Height();
        outerWidth = form.Width();
        // Shrink the window around its controls, with a margin right and below.
        int right = 0, bottom = 0;
        for (const controls::Control* c : form.Controls()) {
            right = std::max(right, c->Left() + c->Width() + kRightMargin);
            bottom = std::max(bottom, c->Top() + c->Height() + kBottomMargin);
        }
        form.SetHeight(bottom);
        form.SetWidth(right);
    }
    for (controls::Control* c : form.Controls()) ResizeControl(*c, form);
    if (!form.IsMdiChild()) {
        if (form.Visible() != wasVisible) wasVisible ? form.Show() : form.Hide();
    } else if (firstChildLayout) {
        // Back to the window's size: the recorded layout stretches to fill it.
        form.SetHeight(outerHeight);
        form.SetWidth(outerWidth);
        for (controls::Control* c : form.Controls()) ResizeControl(*c, form);
    }
}

void Forget() {
    FormSizes.clear();
    ControlSizes.clear();
    Resizing = false;
}

}  // namespace Resize
