#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMenu;
class QAction;
class QKeySequence;

namespace controls {

class MenuItem {
  public:
    MenuItem(std::string name, const std::string& caption, QAction* action);
    const std::string& Name() const { return name_; }
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    // Shown beside the caption; it chooses the item from anywhere in the window.
    void SetShortcut(const QKeySequence& keys);
    // Choose the item as a user would.
    void Trigger();
    QAction* action() const { return action_; }

    std::function<void()> Click;

  private:
    std::string name_;
    QAction* action_;
};

// A menu with items. Captions may mark their mnemonic with "&"; Caption() reads them without. A
// menu bar menu of a form, or a hidden one used only as a popup.
class Menu {
  public:
    Menu(std::string name, const std::string& caption);
    ~Menu();
    MenuItem& AddItem(std::string name, const std::string& caption);
    void AddSeparator();
    const std::string& Name() const { return name_; }
    std::string Caption() const;
    MenuItem& Item(const std::string& name);
    const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }
    QMenu* menu() const { return menu_.get(); }

  private:
    std::string name_;
    std::unique_ptr<QMenu> menu_;
    std::vector<std::unique_ptr<MenuItem>> items_;
};

}  // namespace controls
