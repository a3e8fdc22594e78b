#include "UserGuide.h"

#include <QFile>
#include <QTextBrowser>

#include "WindowPlace.h"

namespace app {

QTextBrowser* ShowUserGuide(QWidget* owner) {
    auto* guide = owner->findChild<QTextBrowser*>("UserGuide", Qt::FindDirectChildrenOnly);
    if (!guide) {
        guide = new QTextBrowser(owner);
        guide->setObjectName("UserGuide");
        guide->setWindowFlag(Qt::Window);
        guide->setWindowTitle("User Guide");
        guide->setOpenExternalLinks(true);
        QFile readme(":/README.md");
        readme.open(QIODevice::ReadOnly);
        guide->setMarkdown(QString::fromUtf8(readme.readAll()));
        guide->resize(800, 600);
        controls::PlaceWindow(guide, "UserGuide", controls::ScreenArea(guide));
    }
    guide->show();
    guide->raise();
    guide->activateWindow();
    return guide;
}

}  // namespace app
