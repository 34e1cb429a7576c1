// kordo-pregame-editor: finds the installation, creates the windows and runs the event loop.
//
//   kordo-pregame-editor [--path INSTALL_DIR] [--demo] [--screenshot DIR] | --help | --version
#include "KordoDialogs.h"
#include "KordoGenerator.h"
#include "KordoInstallPath.h"
#include "frmMainUnit.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

#include "KordoScreenshots.h"

namespace {

// The demo installation: a generated database in the user's data folder, made once.
QString DemoInstallation(QString& error) {
    QString root = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath("demo");
    QString data = QDir(root).filePath("data");
    if (QFileInfo::exists(QDir(data).filePath("server_db.dat")) &&
        QFileInfo::exists(QDir(data).filePath("people_db.dat")))
        return root;
    std::string reason;
    if (!KordoGenerateFiles(std::filesystem::path(data.toStdU16String()), {20000, 1, false}, reason)) {
        error = QString::fromStdString(reason);
        return {};
    }
    return root;
}

// The command line of the editor.
struct TEditorOptions {
    QCommandLineParser Parser;
    QCommandLineOption Help = Parser.addHelpOption();
    QCommandLineOption Version = Parser.addVersionOption();
    QCommandLineOption Path{"path", "The game's installation folder (holding the data folder).",
                            "INSTALL_DIR"};
    QCommandLineOption Demo{"demo", "Start with a generated demo installation (made once)."};
    QCommandLineOption Screenshot{"screenshot", "Load, save the windows as PNG files into DIR and exit.",
                                  "DIR"};
    TEditorOptions() {
        Parser.setApplicationDescription("Editor for the pregame database of Kordo.");
        Parser.addOptions({Path, Demo, Screenshot});
    }
};

bool AsksForTextOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        QByteArray argument(argv[i]);
        if (argument == "-h" || argument == "-?" || argument == "--help" || argument == "--help-all" ||
            argument == "-v" || argument == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName("Kordo Pregame Editor");
    QCoreApplication::setOrganizationName("KordoPregameEditor");
    QCoreApplication::setApplicationVersion(KORDO_VERSION);
    if (AsksForTextOnly(argc, argv)) {
        // The help and the version are printed without creating a window, so they need no display.
        // The version line names the program as kordo-db's does.
        QCoreApplication textOnly(argc, argv);
        TEditorOptions options;
        if (options.Parser.parse(QCoreApplication::arguments()) && options.Parser.isSet(options.Version)) {
            std::printf("kordo-pregame-editor %s\n", KORDO_VERSION);
            return 0;
        }
        options.Parser.process(textOnly); // prints the help, or the mistake, and exits
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(KORDO_APP_ID);
    TEditorOptions options;
    options.Parser.process(app);
    // A batch run has nobody to click a message away: messages go to standard error instead.
    TKordoDialogs::SetUnattended(options.Parser.isSet(options.Screenshot));

    QString installPath;
    if (options.Parser.isSet(options.Path)) {
        installPath = options.Parser.value(options.Path);
    } else if (options.Parser.isSet(options.Demo)) {
        QString error;
        installPath = DemoInstallation(error);
        if (installPath.isEmpty()) {
            TKordoDialogs::Message(nullptr, "The demo database could not be created.", error);
            return 2;
        }
    } else {
        installPath = KordoRegistryInstallPath();
    }

    TfrmMain window(installPath);
    if (options.Parser.isSet(options.Screenshot)) {
        window.show();
        return KordoTakeScreenshots(window, options.Parser.value(options.Screenshot)) ? 0 : 2;
    }
    window.RestoreWindowState();
    window.show();
    // A folder named on the command line is what the user wants to see: it is loaded at once.
    if (options.Parser.isSet(options.Path) || options.Parser.isSet(options.Demo))
        window.LoadWhenShown();
    return QApplication::exec();
}
