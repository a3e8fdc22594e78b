#include "TestSupport.h"

#include <QApplication>
#include <QWidget>

#include "App.h"
#include "BusyWait.h"
#include "Connection.h"
#include "UserSettings.h"

namespace testing_support {

std::shared_ptr<controls::ScriptedDialogs> ScriptDialogs() {
    auto dialogs = std::make_shared<controls::ScriptedDialogs>();
    controls::SetDialogService(dialogs);
    return dialogs;
}

void ResetProgram() {
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    store::setDb(nullptr);
    platform::SetBusyLimit(platform::kDefaultBusyLimit);
    ScriptDialogs();
    controls::SetEndHandler([] {});
    platform::ClearUserSettings();
    QApplication::processEvents();  // the deferred deletes of unloaded windows
}

}  // namespace testing_support
