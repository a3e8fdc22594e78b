#include <QApplication>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "App.h"
#include "DatabaseCopy.h"
#include "DemoData.h"
#include "Dialogs.h"
#include "EngineError.h"
#include "ExportCommand.h"
#include "Form.h"
#include "Image.h"
#include "ImportCommand.h"
#include "ImportMdbCommand.h"
#include "MDIMain.h"
#include "PlotCommand.h"
#include "Records.h"
#include "RememberedLocation.h"
#include "ReviewCommand.h"
#include "Schema.h"
#include "Snapshot.h"
#include "Version.h"
#include "frmSplash.h"

namespace {

void usage(std::FILE* to) {
    std::fputs(
        "Usage: dataloader [OPTION]\n"
        "  (no option)               start the program\n"
        "  --snapshot DIR            render every window to PNG files in DIR, at 100 %,\n"
        "                            150 % and 200 % (NAME-150.png, NAME-200.png), and exit\n",
        to);
    std::fprintf(to, "%s\n", exporter::kExportUsage);
    std::fprintf(to, "%s\n", plot::kPlotUsage);
    std::fprintf(to, "%s\n", review::kReviewUsage);
    std::fprintf(to, "%s\n", accessdb::kImportMdbUsage);
    std::fprintf(to, "%s\n", import::kImportUsage);
    std::fputs(
        "  --new-database LOCATION   create an empty database for real use at LOCATION:\n"
        "                            a new file (never overwrites), or a server database\n"
        "                            (postgresql://host/dbname) that holds none of the tables\n"
        "  --copy-database FROM TO   copy every table, view and index of FROM into a new\n"
        "                            database at TO (file or server), all or nothing,\n"
        "                            checked against FROM\n"
        "  --demo-database PATH      create a demo database at PATH (never overwrites)\n"
        "  --version                 print the version\n"
        "  --help                    this text\n",
        to);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string option = argc > 1 ? argv[1] : "";
    if (option == "--version") {
        std::printf("dataloader %s\n", DATALOADER_VERSION);
        return 0;
    }
    if (option == "--help" || option == "-h") {
        usage(stdout);
        return 0;
    }
    if (option == "--demo-database" || option == "--new-database") {
        if (argc != 3 || argv[2][0] == '\0') {
            if (argc > 3)
                std::fprintf(stderr, "dataloader: unexpected argument '%s' after %s PATH\n",
                             argv[3], option.c_str());
            else
                std::fprintf(stderr, "dataloader: %s needs a path\n", option.c_str());
            std::fprintf(stderr, "Usage: dataloader %s PATH\n", option.c_str());
            return 2;
        }
        try {
            // Both refuse to overwrite an existing file and leave no half-made one behind.
            if (option == "--demo-database")
                store::CreateDemoDatabase(argv[2]);
            else
                store::CreateEmptyDatabase(argv[2]);
        } catch (const platform::EngineError& e) {
            std::fprintf(stderr, "dataloader: %s\n", e.Description().c_str());
            return 1;
        }
        // Said, so a script's log shows where the database went.
        std::printf("%s %s\n",
                    option == "--demo-database" ? "Made a demo database:"
                                                : "Made an empty database for real use:",
                    argv[2]);
        return 0;
    }
    if (option == "--copy-database") {
        if (argc != 4) {
            std::fputs("Usage: dataloader --copy-database FROM TO\n", stderr);
            return 2;
        }
        try {
            store::CopyDatabase(argv[2], argv[3], std::cerr);
        } catch (const platform::EngineError& e) {
            std::fprintf(stderr, "dataloader: %s\n", e.Description().c_str());
            return 1;
        } catch (const store::Refused& e) {
            std::fprintf(stderr, "dataloader: %s\n", e.what());
            return 1;
        }
        return 0;
    }
    if (option == "--export") {
        // No window: the core application only tells the program's folder.
        QCoreApplication application(argc, argv);
        const std::vector<std::string> args(argv + 2, argv + argc);
        return exporter::RunExportCommand(args, app::RememberedDataLocation, std::cout, std::cerr);
    }
    if (option == "--import-results") {
        QCoreApplication application(argc, argv);
        const std::vector<std::string> args(argv + 2, argv + argc);
        return import::RunImportCommand(
            args, [] { return app::ReadDataLocation(app::DataLocationFile()); }, std::cout,
            std::cerr);
    }
    if (option == "--plot") {
        // The chart is drawn off screen, so a script can plot without any display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication application(argc, argv);
        const std::vector<std::string> args(argv + 2, argv + argc);
        return plot::RunPlotCommand(args, app::RememberedDataLocation, std::cout, std::cerr);
    }
    if (option == "--review" || option == "--summary") {
        QCoreApplication application(argc, argv);
        const std::vector<std::string> args(argv + 2, argv + argc);
        return option == "--review" ? review::RunReviewCommand(args, app::RememberedDataLocation,
                                                               std::cout, std::cerr)
                                    : review::RunSummaryCommand(args, app::RememberedDataLocation,
                                                                std::cout, std::cerr);
    }
    if (option == "--import-mdb") {
        QCoreApplication application(argc, argv);
        const std::vector<std::string> args(argv + 2, argv + argc);
        return accessdb::RunImportMdbCommand(args, app::RememberedDataLocation, std::cout,
                                             std::cerr);
    }
    // An unknown option is reported before any window system is needed.
    if (!option.empty() && option != "--snapshot") {
        std::fprintf(stderr, "dataloader: unknown option %s\n", option.c_str());
        usage(stderr);
        return 2;
    }
    if (option == "--snapshot" && argc < 3) {
        std::fputs("dataloader: --snapshot needs a folder\n", stderr);
        return 2;
    }
    std::optional<QTemporaryDir> screen;
    if (option == "--snapshot") app::UseSnapshotScreen(screen.emplace().path().toStdString());

    QApplication application(argc, argv);
    QApplication::setApplicationName("dataloader");
    QApplication::setApplicationVersion(DATALOADER_VERSION);
    // Wayland desktops link the window to the installed entry, and so to its icon, by this.
    QGuiApplication::setDesktopFileName("dataloader");
    controls::SetAppTitle("Data Loader");
    controls::UseProgramIcon();

    // The windows go before the application they belong to.
    if (option == "--snapshot") {
        const int code = app::RunSnapshots(argv[2]);
        app::DropWindows();
        return code;
    }

    // Real dialogs from the start, so a wait for a busy data file shows even before the
    // first message.
    controls::SetDialogService(std::make_shared<controls::QtDialogs>());
    controls::FormInstance<app::frmSplash> splash;
    splash().Show();
    const int code = QApplication::exec();
    app::DropWindows();
    return code;
}
