#pragma once

#include <QWidget>

namespace controls {

class Form;

// The client area of a form. It forwards resizing and the close button to the form.
class FormWidget : public QWidget {
  public:
    explicit FormWidget(Form* form);
    Form* form() const { return form_; }

    // The sub-window sizes itself from this: the form's own (design) size.
    QSize sizeHint() const override { return size(); }
    QSize minimumSizeHint() const override { return {0, 0}; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    Form* form_;
};

}  // namespace controls
