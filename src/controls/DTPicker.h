#pragma once

#include <functional>

#include "Control.h"
#include "DateTime.h"

class QDateTimeEdit;

namespace controls {

// A date or time picker. It holds a full date and time whatever it shows: picking a
// date keeps the time part, picking a time keeps the date part.
class DTPicker : public Control {
  public:
    enum class Format { ShortDate, Time };
    DTPicker(Container& parent, std::string name, Format format = Format::ShortDate,
             Geometry g = {}, int index = -1);
    bool HeightFixed() const override { return true; }
    platform::DateTime Value() const;
    void SetValue(const platform::DateTime& value);  // raises Change when the value differs
    int Day() const { return value_.day; }
    int Month() const { return value_.month; }
    int Year() const { return value_.year; }
    int Hour() const { return value_.hour; }
    int Minute() const { return value_.minute; }
    int Second() const { return value_.second; }
    Format format() const { return format_; }

    std::function<void()> Change;

  private:
    void showValue();
    QDateTimeEdit* edit_;
    Format format_;
    platform::DateTime value_;
    bool showing_ = false;  // Qt reports code changes of the shown value too
};

}  // namespace controls
