#include "Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <climits>

#include "App.h"
#include "BusyWait.h"
#include "QtGlue.h"

namespace controls {

namespace {

std::shared_ptr<DialogService> service;

// The window a dialog opens over. Just after another dialog has closed no window is active
// yet, and a dialog without a parent would open in the middle of the screen, away from the
// program's window.
QWidget* dialogParent() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    QWidget* other = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip)
            continue;
        if (qobject_cast<QMainWindow*>(w)) return w;
        if (!other) other = w;
    }
    return other;
}

int buttonStyle(int buttons) { return buttons & 0x7; }
bool isYesNoStyle(int buttons) {
    const int style = buttonStyle(buttons);
    return style == 3 || style == mb::YesNo;  // Yes/No/Cancel, Yes/No
}

QMessageBox::StandardButtons qtButtons(int buttons) {
    switch (buttonStyle(buttons)) {
        case 1:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case 2:
            return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        case 3:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case 4:
            return QMessageBox::Yes | QMessageBox::No;
        case 5:
            return QMessageBox::Retry | QMessageBox::Cancel;
        default:
            return QMessageBox::Ok;
    }
}

QMessageBox::Icon qtIcon(int buttons) {
    switch (buttons & 0x70) {
        case mb::Critical:
            return QMessageBox::Critical;
        case mb::Question:
            return QMessageBox::Question;
        case mb::Exclamation:
            return QMessageBox::Warning;
        case mb::Information:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

int classicAnswer(int qtButton) {
    switch (qtButton) {
        case QMessageBox::Ok:
            return mb::OK;
        case QMessageBox::Cancel:
            return mb::Cancel;
        case QMessageBox::Abort:
            return 3;
        case QMessageBox::Retry:
            return 4;
        case QMessageBox::Ignore:
            return 5;
        case QMessageBox::Yes:
            return mb::Yes;
        case QMessageBox::No:
            return mb::No;
        default:
            return mb::Cancel;
    }
}

class SilentProgress : public platform::ProgressReporter {
  public:
    bool Step(long long) override { return true; }
};

// The dialog is shown by hand after a fixed delay rather than by Qt's estimate, and
// updated and given events only every few dozen milliseconds: a task reports every step,
// and a repaint per step would cost more than the task.
class QtProgress : public platform::ProgressReporter {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kShowAfter{500};
    static constexpr std::chrono::milliseconds kUpdateEvery{40};

    QtProgress(const std::string& label, long long maximum)
        : dialog_(qt::q(label), QObject::tr("Cancel"), 0, toInt(maximum), dialogParent()),
          start_(Clock::now()),
          lastUpdate_(start_) {
        dialog_.setWindowTitle(qt::q(AppTitle()));
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setAutoReset(false);
        dialog_.setAutoClose(false);
        dialog_.setMinimumDuration(INT_MAX);  // never on Qt's own timer
        dialog_.hide();
    }
    ~QtProgress() override { dialog_.hide(); }

    bool Step(long long done) override {
        const auto now = Clock::now();
        if (now - lastUpdate_ < kUpdateEvery) return !cancelled_;
        lastUpdate_ = now;
        if (!dialog_.isVisible()) {
            if (now - start_ < kShowAfter) return true;
            dialog_.show();
        }
        dialog_.setValue(toInt(done));
        QCoreApplication::processEvents();
        cancelled_ = dialog_.wasCanceled();
        return !cancelled_;
    }

  private:
    static int toInt(long long v) { return static_cast<int>(std::clamp<long long>(v, 0, INT_MAX)); }
    QProgressDialog dialog_;
    Clock::time_point start_;
    Clock::time_point lastUpdate_;
    bool cancelled_ = false;
};

class ScriptedProgress : public platform::ProgressReporter {
  public:
    ScriptedProgress(ScriptedDialogs& owner, size_t run) : owner_(owner), run_(run) {}
    ~ScriptedProgress() override { owner_.progress[run_].open = false; }
    bool Step(long long done) override {
        auto& run = owner_.progress[run_];
        ++run.steps;
        run.last = done;
        return owner_.cancelAt < 0 || done < owner_.cancelAt;
    }

  private:
    ScriptedDialogs& owner_;
    size_t run_;
};

}  // namespace

std::unique_ptr<platform::ProgressReporter> DialogService::Progress(const std::string&, long long) {
    return std::make_unique<SilentProgress>();
}

// Qt reads the patterns from the trailing parentheses, so those are always written from
// the pattern half of each pair.
std::string QtFileFilter(const std::string& classic) {
    QStringList parts = qt::q(classic).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed().replace(';', ' ');
        if (description.endsWith(')')) {
            const qsizetype open = description.lastIndexOf('(');
            if (open >= 0) description = description.left(open).trimmed();
        }
        if (description.isEmpty()) description = patterns;
        filters << description + " (" + patterns + ")";
    }
    return qt::s(filters.join(";;"));
}

bool SaveMessageBoxSnapshot(const std::string& prompt, int buttons, const std::string& title,
                            const std::string& path) {
    QMessageBox box(qtIcon(buttons), qt::q(title.empty() ? AppTitle() : title), qt::q(prompt),
                    qtButtons(buttons));
    return qt::SaveWidgetSnapshot(&box, path);
}

int QtDialogs::MessageBox(const std::string& prompt, int buttons, const std::string& title) {
    QMessageBox box(qtIcon(buttons), qt::q(title.empty() ? AppTitle() : title), qt::q(prompt),
                    qtButtons(buttons), dialogParent());
    return classicAnswer(box.exec());
}

namespace {

std::optional<std::string> fileDialog(const OpenFileRequest& request, bool save) {
    QFileDialog dialog(dialogParent(), qt::q(request.title), qt::q(request.initDir));
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    const std::string filter = QtFileFilter(request.filter);
    if (!filter.empty()) dialog.setNameFilter(qt::q(filter));
    if (!request.defaultExt.empty()) {
        std::string ext = request.defaultExt;
        if (ext.front() == '.') ext.erase(0, 1);
        dialog.setDefaultSuffix(qt::q(ext));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return qt::s(dialog.selectedFiles().front());
}

}  // namespace

std::optional<std::string> QtDialogs::OpenFile(const OpenFileRequest& request) {
    return fileDialog(request, false);
}

std::optional<std::string> QtDialogs::SaveFile(const OpenFileRequest& request) {
    return fileDialog(request, true);
}

std::optional<std::string> QtDialogs::InputText(const std::string& prompt, const std::string& title,
                                                const std::string& initial) {
    bool ok = false;
    const QString typed = QInputDialog::getText(dialogParent(), qt::q(title), qt::q(prompt),
                                                QLineEdit::Normal, qt::q(initial), &ok);
    if (!ok) return std::nullopt;
    return qt::s(typed);
}

std::unique_ptr<platform::ProgressReporter> QtDialogs::Progress(const std::string& label,
                                                                long long maximum) {
    return std::make_unique<QtProgress>(label, maximum);
}

int ScriptedDialogs::MessageBox(const std::string& prompt, int buttons, const std::string& title) {
    prompts.push_back({prompt, buttons, title, {}});
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return isYesNoStyle(buttons) ? mb::Yes : mb::OK;
}

std::optional<std::string> ScriptedDialogs::InputText(const std::string& prompt,
                                                      const std::string& title,
                                                      const std::string&) {
    prompts.push_back({prompt, -2, title, {}});
    if (files.empty()) return std::nullopt;
    auto answer = files.front();
    files.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogs::OpenFile(const OpenFileRequest& request) {
    prompts.push_back({request.title, -1, request.title, request});
    if (files.empty()) return std::nullopt;
    auto answer = files.front();
    files.pop_front();
    return answer;
}

std::unique_ptr<platform::ProgressReporter> ScriptedDialogs::Progress(const std::string& label,
                                                                      long long maximum) {
    progress.push_back({label, maximum});
    return std::make_unique<ScriptedProgress>(*this, progress.size() - 1);
}

std::vector<std::string> ScriptedDialogs::texts() const {
    std::vector<std::string> out;
    out.reserve(prompts.size());
    for (const auto& p : prompts) out.push_back(p.text);
    return out;
}

// The engine's waits for a busy data file show as a progress dialog of this service, so a
// test scripts them like any other.
void showBusyWaits() {
    platform::SetBusyDisplay(
        [](long long limitMs) { return Dialogs().Progress(platform::kBusyWaitText, limitMs); });
}

void SetDialogService(std::shared_ptr<DialogService> s) {
    service = std::move(s);
    showBusyWaits();
}

DialogService& Dialogs() {
    if (!service) SetDialogService(std::make_shared<QtDialogs>());
    return *service;
}

int MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    return Dialogs().MessageBox(prompt, buttons, title.empty() ? AppTitle() : title);
}

std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                    const std::string& initial) {
    return Dialogs().InputText(prompt, title.empty() ? AppTitle() : title, initial);
}

}  // namespace controls
