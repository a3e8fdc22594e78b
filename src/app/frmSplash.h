#pragma once

#include "CommandButton.h"
#include "Form.h"
#include "Image.h"
#include "Label.h"
#include "TextBox.h"

namespace app {

// The start-up window: "Continue" opens the main window, "Cancel" or any other key ends.
class frmSplash : public controls::Form {
  public:
    frmSplash();

    controls::Label Label1;    // the program's title, large and bold
    controls::TextBox Text1;   // version and release month
    controls::TextBox Text2;   // the issuing division and section
    controls::Image Picture1;  // the water drop picture
    controls::CommandButton cmdContinue;
    controls::CommandButton cmdCancel;

    void cmdContinue_Click();
    void cmdCancel_Click();
    bool Form_KeyPress(int ascii) override;
};

}  // namespace app
