#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Control.h"

class QTabWidget;

namespace controls {

class SSTab;

// One page of a tab control; controls are placed on it as on a frame.
class TabPage : public Container {
  public:
    TabPage(SSTab& tab, QWidget* page) : tab_(tab), page_(page) {}
    QWidget* area() const override { return page_; }
    Form& form() override;

  private:
    SSTab& tab_;
    QWidget* page_;
};

class SSTab : public Control {
  public:
    SSTab(Container& parent, std::string name, const std::vector<std::string>& captions,
          Geometry g = {});
    ~SSTab() override;
    int Tab() const;  // the index of the tab in front
    // Brings a tab forward; raises Click when the tab changes.
    void SetTab(int index);
    int Tabs() const;
    std::string TabCaption(int index) const;
    TabPage& Page(int index);

    std::function<void()> Click;

  private:
    // Ctrl+PageDown/PageUp: the next or previous tab, as a click on it would bring it.
    void step(int by);
    QTabWidget* tabs_;
    std::vector<std::unique_ptr<TabPage>> pages_;
    bool settingTab_ = false;  // Qt reports code changes of the tab too
};

}  // namespace controls
