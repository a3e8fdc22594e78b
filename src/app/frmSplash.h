#pragma once

#include "CommandButton.h"
#include "Form.h"
#include "Image.h"
#include "Label.h"
#include "TextBox.h"

namespace app {

// The start-up window: "Continue" opens the main window, "Cancel" or any other key ends.
class frmSplash : public platform::Form {
  public:
    frmSplash();

    platform::Label Label1;
    platform::TextBox Text1;
    platform::TextBox Text2;
    platform::Image Picture1;
    platform::CommandButton cmdContinue;
    platform::CommandButton cmdCancel;

    void cmdContinue_Click();
    void cmdCancel_Click();
    bool Form_KeyPress(int ascii) override;
};

}  // namespace app
