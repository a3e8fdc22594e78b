#pragma once

#include <memory>

#include "ComboBox.h"
#include "CommandButton.h"
#include "Form.h"
#include "Frame.h"
#include "TextBox.h"

namespace loader {

class frmDataLoader;

// The small window in which the user picks the station and the parameter whose results of
// every source "View Results" lists. Modeless: the Data Loader stays usable meanwhile.
class frmFilterResults : public platform::Form {
  public:
    frmFilterResults();
    ~frmFilterResults() override;

    platform::Frame Frame1;
    platform::ComboBox Combo2;
    platform::Frame Frame4;
    platform::ComboBox Combo1;
    platform::TextBox txtparameterfind;
    platform::CommandButton Command1;
    platform::CommandButton cmdOK;
    platform::CommandButton cmdCancel;

    // The Data Loader window the choice goes to: the one that opened the dialog.
    static frmDataLoader* owner;

    void Form_Load() override;
    void Form_Resize() override;
    void Command1_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
};

platform::FormInstance<frmFilterResults>& FilterResultsWindow();

}  // namespace loader
