#include "DTPicker.h"

#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringList>

#include "EngineError.h"
#include "EventGuard.h"
#include "QtGlue.h"

namespace controls {

namespace {

// UTC inside the edit: the picker's value is a wall-clock date and must never be moved
// by a daylight-saving gap of the local zone.
QDateTime toQt(const platform::DateTime& d) {
    return QDateTime(QDate(d.year, d.month, d.day), QTime(d.hour, d.minute, d.second), Qt::UTC);
}

const QDate kMinDate(1601, 1, 1);
const QDate kMaxDate(9999, 12, 31);

}  // namespace

// A date ("12/6/2026") or a time ("9:05 AM", "14:30") typed as a whole over the selected text
// or from the start of the box. The edit's own typing works section by section and turns such
// a text into another value (a "9" typed before "1:38 PM" gave 1:05 PM); here the keys are
// collected as typed and read when the user moves on. A part of a date left out is taken from
// the date on show ("3" is March of the same day and year, "3/5" the 5th of March).
class TypedValue : public QObject {
  public:
    TypedValue(QDateTimeEdit* edit, bool time)
        : QObject(edit), edit_(edit), line_(edit->findChild<QLineEdit*>()), time_(time) {
        edit->installEventFilter(this);
    }

    // Reads text in the picker's order, month/day/year; nothing when it is not a date.
    static QDate ReadDate(const QString& text, const QDate& shown) {
        const QStringList parts = text.trimmed().split('/');
        if (parts.isEmpty() || parts.size() > 3) return {};
        int values[3] = {shown.month(), shown.day(), shown.year()};
        for (int i = 0; i < parts.size(); ++i) {
            bool ok = false;
            const int v = parts[i].toInt(&ok);
            if (!ok || parts[i].isEmpty()) return {};
            values[i] = v;
        }
        int year = values[2];
        if (parts.size() == 3 && parts[2].size() <= 2) year += year < 30 ? 2000 : 1900;
        const QDate date(year, values[0], values[1]);
        return date.isValid() && date >= kMinDate && date <= kMaxDate ? date : QDate();
    }

    // Reads "9:05 AM", "9:05a", "905 pm", "9 PM" (12-hour) or "14:30", "1430" (24-hour);
    // nothing when it is not a time of day.
    static QTime ReadTime(const QString& text) {
        QString rest = text.trimmed().toLower();
        int half = -1;  // 0 for AM, 12 for PM, -1 for a 24-hour time
        for (const char* suffix : {"am", "pm", "a", "p"}) {
            if (rest.endsWith(QLatin1String(suffix))) {
                half = suffix[0] == 'a' ? 0 : 12;
                rest.chop(static_cast<int>(qstrlen(suffix)));
                rest = rest.trimmed();
                break;
            }
        }
        QString hours = rest, minutes = "0";
        if (const int colon = rest.indexOf(':'); colon >= 0) {
            hours = rest.left(colon);
            minutes = rest.mid(colon + 1);
            if (minutes.size() != 2) return {};
        } else if (rest.size() >= 3) {  // the digits of "905" or "1430" without their colon
            hours = rest.left(rest.size() - 2);
            minutes = rest.right(2);
        }
        bool hoursOk = false, minutesOk = false;
        int h = hours.toInt(&hoursOk);
        const int m = minutes.toInt(&minutesOk);
        if (!hoursOk || !minutesOk || hours.isEmpty() || hours.size() > 2 || m < 0 || m > 59)
            return {};
        if (half >= 0) {
            if (h < 1 || h > 12) return {};
            h = h % 12 + half;
        } else if (h < 0 || h > 23) {
            return {};
        }
        return QTime(h, m);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            finish();
            return false;
        }
        if (event->type() != QEvent::KeyPress || !line_) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        const bool valueKey = text.size() == 1 && isValueKey(text[0]);
        if (!typing_ && valueKey && text[0].isDigit() &&
            (line_->selectedText() == line_->text() || line_->cursorPosition() == 0)) {
            typing_ = true;
            typed_.clear();
        }
        if (!typing_) return false;
        // A modifier pressed on its own (Shift before "/" or "P" on many keyboards) is part
        // of the typing, not the end of it.
        switch (key->key()) {
            case Qt::Key_Shift:
            case Qt::Key_Control:
            case Qt::Key_Alt:
            case Qt::Key_AltGr:
            case Qt::Key_Meta:
            case Qt::Key_CapsLock:
                return false;
            default:
                break;
        }
        if (valueKey) {
            typed_ += text;
            showTyped();
            return true;
        }
        if (key->key() == Qt::Key_Backspace) {
            typed_.chop(1);
            showTyped();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            typing_ = false;
            showValue();
            return true;
        }
        finish();  // Tab, Enter, an arrow: the typed value counts, then the key does its work
        // After a whole value, Tab goes on to the next control, not to the value's next part,
        // where the next thing typed would change it.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            edit_->setCurrentSectionIndex(key->key() == Qt::Key_Tab ? edit_->sectionCount() - 1
                                                                    : 0);
        return false;
    }

  private:
    bool isValueKey(QChar c) const {
        if (c.isDigit()) return true;
        if (!time_) return c == '/';
        return c == ':' || c == ' ' || QStringLiteral("apmAPM").contains(c);
    }
    void finish() {
        if (!typing_) return;
        typing_ = false;
        if (time_) {
            const QTime time = ReadTime(typed_);
            const QTime shown = edit_->time();
            if (time.isValid() && (time.hour() != shown.hour() || time.minute() != shown.minute()))
                edit_->setTime(time);
            else
                showValue();
            return;
        }
        const QDate date = ReadDate(typed_, edit_->date());
        if (date.isValid() && date != edit_->date())
            edit_->setDate(date);
        else
            showValue();
    }
    // The edit must not read a half-typed text (it would correct "2/30" to another date).
    void showTyped() {
        const QSignalBlocker quiet(line_);
        line_->setText(typed_);
    }
    // The value on show again. The edit redraws its text only when its value changes, so it is
    // moved away and back, quietly: the picker's value never changed.
    void showValue() {
        const QSignalBlocker quiet(edit_);
        const QDateTime shown = edit_->dateTime();
        edit_->setDateTime(shown.addDays(shown.date() < kMaxDate ? 1 : -1));
        edit_->setDateTime(shown);
    }

    QDateTimeEdit* edit_;
    QLineEdit* line_;
    bool time_;
    bool typing_ = false;
    QString typed_;
};

DTPicker::DTPicker(Container& parent, std::string name, Format format, Geometry g, int index)
    : Control(parent, std::move(name), new QDateTimeEdit(parent.area()), index),
      edit_(static_cast<QDateTimeEdit*>(widget())),
      format_(format),
      value_(platform::DateTime::now()) {
    edit_->setTimeSpec(Qt::UTC);
    edit_->setDateTimeRange(QDateTime(kMinDate, QTime(0, 0), Qt::UTC),
                            QDateTime(kMaxDate, QTime(23, 59, 59), Qt::UTC));
    if (format_ == Format::Time) {
        edit_->setDisplayFormat("h:mm AP");
        new TypedValue(edit_, true);
    } else {
        edit_->setDisplayFormat("M/d/yyyy");
        edit_->setCalendarPopup(true);
        new TypedValue(edit_, false);
    }
    showValue();
    QObject::connect(edit_, &QDateTimeEdit::dateTimeChanged, edit_, [this](const QDateTime& dt) {
        if (showing_ || !dt.isValid()) return;
        // Only the parts on show change; the hidden ones are kept.
        platform::DateTime next = value_;
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

platform::DateTime DTPicker::Value() const { return value_; }

void DTPicker::SetValue(const platform::DateTime& value) {
    const QDateTime shown = toQt(value);
    if (!value.isValid() || !shown.isValid() || shown.date() < kMinDate || shown.date() > kMaxDate)
        throw platform::EngineError(380, "Invalid property value");
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

}  // namespace controls
