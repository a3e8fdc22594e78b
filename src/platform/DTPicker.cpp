#include "DTPicker.h"

#include <QDateTimeEdit>

#include "EngineError.h"
#include "EventGuard.h"
#include "QtGlue.h"

namespace platform {

namespace {

// UTC inside the edit: the picker's value is a wall-clock date and must never be moved
// by a daylight-saving gap of the local zone.
QDateTime toQt(const DateTime& d) {
    return QDateTime(QDate(d.year, d.month, d.day), QTime(d.hour, d.minute, d.second), Qt::UTC);
}

const QDate kMinDate(1601, 1, 1);
const QDate kMaxDate(9999, 12, 31);

}  // namespace

DTPicker::DTPicker(Container& parent, std::string name, Format format, Geometry g, int index)
    : Control(parent, std::move(name), new QDateTimeEdit(parent.area()), index),
      edit_(static_cast<QDateTimeEdit*>(widget())),
      format_(format),
      value_(DateTime::now()) {
    edit_->setTimeSpec(Qt::UTC);
    edit_->setDateTimeRange(QDateTime(kMinDate, QTime(0, 0), Qt::UTC),
                            QDateTime(kMaxDate, QTime(23, 59, 59), Qt::UTC));
    if (format_ == Format::Time) {
        edit_->setDisplayFormat("h:mm AP");
    } else {
        edit_->setDisplayFormat("M/d/yyyy");
        edit_->setCalendarPopup(true);
    }
    showValue();
    QObject::connect(edit_, &QDateTimeEdit::dateTimeChanged, edit_, [this](const QDateTime& dt) {
        if (showing_ || !dt.isValid()) return;
        // Only the parts on show change; the hidden ones are kept.
        DateTime next = value_;
        if (format_ == Format::Time) {
            next.hour = dt.time().hour();
            next.minute = dt.time().minute();
        } else {
            next.year = dt.date().year();
            next.month = dt.date().month();
            next.day = dt.date().day();
        }
        if (next == value_) return;
        value_ = next;
        qt::RaiseFromQt(Change);
    });
    place(g);
}

DateTime DTPicker::Value() const { return value_; }

void DTPicker::SetValue(const DateTime& value) {
    const QDateTime shown = toQt(value);
    if (!value.isValid() || !shown.isValid() || shown.date() < kMinDate || shown.date() > kMaxDate)
        throw EngineError(380, "Invalid property value");
    if (value == value_) return;
    value_ = value;
    showValue();
    RaiseEvent(Change);
}

void DTPicker::showValue() {
    showing_ = true;
    edit_->setDateTime(toQt(value_));
    showing_ = false;
}

}  // namespace platform
