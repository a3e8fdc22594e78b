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

    controls::Label Label1;
    controls::TextBox Text1;
    controls::TextBox Text2;
    controls::Image Picture1;
    controls::CommandButton cmdContinue;
    controls::CommandButton cmdCancel;

    void cmdContinue_Click();
    void cmdCancel_Click();
    bool Form_KeyPress(int ascii) override;
};

}  // namespace app
