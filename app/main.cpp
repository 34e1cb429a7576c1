// kordo-pregame-editor: finds the installation, creates the windows and runs the event loop.
//
//   kordo-pregame-editor [--path INSTALL_DIR] [--demo] [--screenshot DIR]
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

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kordo Pregame Editor");
    QApplication::setOrganizationName("KordoPregameEditor");

    QCommandLineParser parser;
    parser.setApplicationDescription("Editor for the pregame database of Kordo.");
    parser.addHelpOption();
    QCommandLineOption pathOption("path", "The game's installation folder (holding the data folder).",
                                  "INSTALL_DIR");
    QCommandLineOption demoOption("demo", "Start with a generated demo installation (made once).");
    QCommandLineOption screenshotOption("screenshot",
                                        "Load, save the windows as PNG files into DIR and exit.", "DIR");
    parser.addOptions({pathOption, demoOption, screenshotOption});
    parser.process(app);
    // A batch run has nobody to click a message away: messages go to standard error instead.
    TKordoDialogs::SetUnattended(parser.isSet(screenshotOption));

    QString installPath;
    if (parser.isSet(pathOption)) {
        installPath = parser.value(pathOption);
    } else if (parser.isSet(demoOption)) {
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
    window.show();
    if (parser.isSet(screenshotOption))
        return KordoTakeScreenshots(window, parser.value(screenshotOption)) ? 0 : 2;
    return QApplication::exec();
}
