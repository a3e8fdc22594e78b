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
class frmFilterResults : public controls::Form {
  public:
    frmFilterResults();
    ~frmFilterResults() override;

    controls::Frame Frame1;     // "Station" frame
    controls::ComboBox Combo2;  // the station list
    controls::Frame Frame4;     // "Parameter Code" frame
    controls::ComboBox Combo1;  // the parameter code list
    controls::TextBox txtparameterfind;
    controls::CommandButton Command1;  // "Filter": narrows the codes by full name
    controls::CommandButton cmdOK;
    controls::CommandButton cmdCancel;

    // The Data Loader window the choice goes to: the one that opened the dialog.
    static frmDataLoader* owner;

    void Form_Load() override;
    void Form_Resize() override;
    void Command1_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
};

controls::FormInstance<frmFilterResults>& FilterResultsWindow();

}  // namespace loader
