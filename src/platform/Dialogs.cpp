#include "Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "App.h"
#include "QtGlue.h"

namespace platform {

namespace {

std::shared_ptr<DialogService> service;

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

}  // namespace

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

int QtDialogs::MessageBox(const std::string& prompt, int buttons, const std::string& title) {
    QMessageBox box(qtIcon(buttons), qt::q(title.empty() ? AppTitle() : title), qt::q(prompt),
                    qtButtons(buttons), QApplication::activeWindow());
    return classicAnswer(box.exec());
}

std::optional<std::string> QtDialogs::OpenFile(const OpenFileRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), qt::q(request.title), qt::q(request.initDir));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
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

int ScriptedDialogs::MessageBox(const std::string& prompt, int buttons, const std::string& title) {
    prompts.push_back({prompt, buttons, title, {}});
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return isYesNoStyle(buttons) ? mb::Yes : mb::OK;
}

std::optional<std::string> ScriptedDialogs::OpenFile(const OpenFileRequest& request) {
    prompts.push_back({request.title, -1, request.title, request});
    if (files.empty()) return std::nullopt;
    auto answer = files.front();
    files.pop_front();
    return answer;
}

std::vector<std::string> ScriptedDialogs::texts() const {
    std::vector<std::string> out;
    out.reserve(prompts.size());
    for (const auto& p : prompts) out.push_back(p.text);
    return out;
}

void SetDialogService(std::shared_ptr<DialogService> s) { service = std::move(s); }

DialogService& Dialogs() {
    if (!service) service = std::make_shared<QtDialogs>();
    return *service;
}

int MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    return Dialogs().MessageBox(prompt, buttons, title.empty() ? AppTitle() : title);
}

}  // namespace platform
