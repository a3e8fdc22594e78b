#include "App.h"

#include <QClipboard>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "QtGlue.h"

namespace controls {

namespace {

std::string app_title = "Data Loader";
std::function<void()> end_handler;

QClipboard* clipboard() {
    return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr;
}

}  // namespace

std::string AppTitle() { return app_title; }

void SetAppTitle(const std::string& title) { app_title = title; }

void SetEndHandler(std::function<void()> handler) { end_handler = std::move(handler); }

void End() {
    if (end_handler) {
        end_handler();
        throw ProgramEnded{};
    }
    // At once: no unload handling, no static destructors touching a dead QApplication.
    std::fflush(nullptr);
    std::_Exit(0);
}

namespace Clipboard {

void Clear() {
    if (auto* c = clipboard()) c->clear();
}

void SetText(const std::string& text) {
    if (auto* c = clipboard()) c->setText(qt::q(text));
}

std::string GetText() {
    auto* c = clipboard();
    return c ? qt::s(c->text()) : std::string();
}

}  // namespace Clipboard

}  // namespace controls
