#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Control.h"

class QWidget;

namespace controls {

class Menu;
class FormWidget;
class MdiForm;
class CommandButton;

// A window. Controls are members of the derived form class, placed on the form (or on
// its frames and tab pages) in twips. A form is loaded when constructed and shown by
// Show(); Unload() runs Form_Unload, closes the window and lets its FormInstance drop it.
class Form : public Container {
  public:
    enum class Border { Sizable, FixedDialog };
    explicit Form(std::string name, const std::string& caption = "", bool mdiChild = true);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return name_; }
    std::string Caption() const;
    void SetCaption(const std::string& caption);

    // Shows the window; a child window is placed in the main window and brought forward.
    void Show();
    void Hide();
    // Runs Form_Unload, closes the window and marks the form unloaded.
    void Unload();
    // Asks Form_QueryUnload whether the window may close now (the close button asks first).
    bool QueryUnload();
    bool IsUnloaded() const { return unloaded_; }
    bool Visible() const;
    bool IsMdiChild() const { return mdiChild_; }

    // 11 hourglass, 0 default.
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int pointer);

    // Outer position and size, and the inner (client) size, in twips.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    int ScaleWidth() const;
    int ScaleHeight() const;
    void SetLeft(int twips);
    void SetTop(int twips);
    void SetWidth(int twips);
    void SetHeight(int twips);
    void Move(int left, int top, int width = -1, int height = -1);
    // Sets the inner size (the design size of the form's layout).
    void SetClientSize(int widthTwips, int heightTwips);
    bool IsMinimized() const;
    bool IsMaximized() const;

    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool on) { keyPreview_ = on; }
    void SetBorder(Border border);
    void CenterOnScreen();

    // Every control of the window in creation order (the classic Controls collection).
    const std::vector<Control*>& Controls() const { return controls_; }
    void registerControl(Control* c) { controls_.push_back(c); }
    void unregisterControl(Control* c);

    // Shows a menu at the mouse pointer, or where a keyboard-raised event asks for it.
    void PopupMenu(Menu& menu);

    // Renders the window (the child as it would stand in the main window) to a PNG file.
    bool SaveSnapshot(const std::string& path);

    // Events a derived form overrides. FormInstance runs Form_Load once the form is built.
    virtual void Form_Load() {}
    virtual void Form_Unload() {}
    // Before a user's close: set `cancel` to non-zero to keep the window open.
    virtual void Form_QueryUnload(int& /*cancel*/) {}
    virtual void Form_Resize() {}
    // With KeyPreview on, called for a key press that produces a character (ascii code)
    // before the control sees it; return true to swallow the key.
    virtual bool Form_KeyPress(int /*ascii*/) { return false; }

    QWidget* area() const override;
    Form& form() override { return *this; }
    // The top-level Qt widget of the window (its MDI sub-window once placed).
    QWidget* window() const;
    FormWidget* formWidget() const;

    // Called by FormInstance so an unloaded form is dropped after its handler returns.
    void setUnloadHook(std::function<void()> hook) { unloadHook_ = std::move(hook); }

    // The buttons Enter and Esc press (set through CommandButton::SetDefault/SetCancel).
    void setDefaultButton(CommandButton* button, bool on);
    void setCancelButton(CommandButton* button, bool on);
    CommandButton* defaultButton() const { return defaultButton_; }
    CommandButton* cancelButton() const { return cancelButton_; }

  private:
    friend class FormWidget;
    void applyBorder();
    // The name a window's place is remembered by; none for a fixed dialog.
    std::string placeName() const;
    std::string name_;
    bool mdiChild_;
    bool unloaded_ = false;
    bool keyPreview_ = false;
    int mousePointer_ = 0;
    Border border_ = Border::Sizable;
    CommandButton* defaultButton_ = nullptr;
    CommandButton* cancelButton_ = nullptr;
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::vector<Control*> controls_;
    std::function<void()> unloadHook_;
};

// The main window: a multiple-document window holding the child forms, with a menu bar.
class MdiForm {
  public:
    MdiForm(std::string name, const std::string& caption);
    virtual ~MdiForm();
    const std::string& Name() const { return name_; }
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    void Show();
    void AddMenu(Menu& menu);  // to the menu bar, in call order
    // The status line along the bottom of the main window.
    void SetStatusText(const std::string& text);
    std::string StatusText() const;
    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int pointer);
    bool SaveSnapshot(const std::string& path);
    QWidget* window() const;
    void resize(int widthPixels, int heightPixels);
    // Before the main window closes (which ends the program): set `cancel` to keep it.
    virtual void MDIForm_QueryUnload(int& /*cancel*/) {}

    // The main window that child forms are shown in (the one most recently created).
    static MdiForm* host();
    // Places a child form's widget in the workspace; returns its sub-window.
    QWidget* placeChild(Form& form);

  private:
    std::string name_;
    int mousePointer_ = 0;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The single instance of a window: created on first use, dropped after it unloads (once
// the handler that unloaded it has returned), created again on the next use.
template <class T>
class FormInstance {
  public:
    T& operator()() {
        if (!form_) {
            auto form = std::make_unique<T>();
            form->setUnloadHook([this] { retire(); });
            form->Form_Load();  // a failing load leaves no half-loaded window behind
            form_ = std::move(form);
        }
        return *form_;
    }
    bool IsLoaded() const { return form_ && !form_->IsUnloaded(); }
    T* get() const { return IsLoaded() ? form_.get() : nullptr; }
    void reset() { form_.reset(); }

  private:
    void retire();
    std::unique_ptr<T> form_;
};

// The hourglass for the life of the object: the classic MousePointer 11 at the start of a
// handler and 0 at its end, restored on every way out.
class Hourglass {
  public:
    explicit Hourglass(Form& form) : form_(form) { form_.SetMousePointer(11); }
    ~Hourglass() { form_.SetMousePointer(0); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

  private:
    Form& form_;
};

// Deletes a retired form once the event loop is back (never inside its own handler).
void DeleteLater(std::unique_ptr<Form> form);

template <class T>
void FormInstance<T>::retire() {
    DeleteLater(std::unique_ptr<Form>(form_.release()));
}

}  // namespace controls
