#pragma once

#include <string>

namespace controls {

// The classic common file dialog: set the properties, call ShowOpen, read FileName.
class CommonDialog {
  public:
    explicit CommonDialog(std::string name) : name_(std::move(name)) {}
    std::string DialogTitle;
    std::string DefaultExt;
    std::string Filter;
    std::string InitDir;
    std::string FileName;
    // Shows the open dialog through the dialog service. True when a file was chosen
    // (FileName then holds its path); a cancel leaves FileName as it was.
    bool ShowOpen();
    const std::string& Name() const { return name_; }

  private:
    std::string name_;
};

}  // namespace controls
