#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class QObject;
class QWidget;

namespace controls {

class Form;
class Control;

// Positions and sizes are in twips (1/1440 inch; 15 twips to a pixel at 96 dpi), the
// unit the forms' layouts and the proportional resize are written in.
inline constexpr int TwipsPerPixel = 15;

struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Something controls can be placed on: a form, a frame, a tab page.
class Container {
  public:
    virtual ~Container() = default;
    virtual QWidget* area() const = 0;
    virtual Form& form() = 0;
};

// The common part of every control: name (and index in a control array), position,
// size, visibility, enabled state and tool tip.
class Control {
  public:
    Control(Container& parent, std::string name, QWidget* widget, int index = -1);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& Name() const { return name_; }
    int Index() const { return index_; }  // -1 when not in a control array
    bool HasIndex() const { return index_ >= 0; }

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int twips);
    void SetTop(int twips);
    void SetWidth(int twips);
    void SetHeight(int twips);
    // The classic Move: a negative width or height keeps the present one.
    void Move(int left, int top, int width = -1, int height = -1);
    void SetGeometry(const Geometry& g) { Move(g.left, g.top, g.width, g.height); }

    // As designed: true unless hidden, whether or not its container is on show.
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    std::string ToolTipText() const;
    void SetToolTipText(const std::string& text);
    // What a screen reader calls the control ("Result Value" for "Result Value, edit").
    void SetAccessibleName(const std::string& name);
    void SetFocus();
    // True for a control one line of text high (a one-line box, a list, a check box, a
    // button): layouts keep its height, however large the window grows.
    virtual bool HeightFixed() const { return false; }
    // Point size (0 keeps the present size) and weight of the control's text.
    void SetFont(int pointSize, bool bold = false);

    QWidget* widget() const { return widget_; }
    Form& form() { return form_; }
    Container& parent() { return parent_; }

  protected:
    // Initial placement; a zero width or height takes the widget's natural size.
    void place(const Geometry& g);

  private:
    Container& parent_;
    Form& form_;
    std::string name_;
    int index_;
    QWidget* widget_;
    QObject* tracker_;  // clears widget_ if Qt deletes the widget first
    Geometry twips_;    // last geometry set, so twips survive the round trip through pixels
};

// The order Tab walks the controls in, from the first to the last of the list; controls
// left out keep their places in the window's own order.
void SetTabOrder(std::initializer_list<Control*> controls);

}  // namespace controls
