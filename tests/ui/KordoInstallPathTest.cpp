#include "KordoInstallPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class KordoInstallPathTest : public QObject {
    Q_OBJECT
private slots:
    void readsTheValueOfTheKeysSection() {
        QString registry = "WINE REGISTRY Version 2\n"
                           "[Software\\\\Other] 1700000000\n"
                           "\"Path\"=\"C:\\\\Wrong\"\n"
                           "\n"
                           "[Software\\\\Vantrel Ltd\\\\Installs\\\\KORDO] 1700000001\n"
                           "#time=1d9\n"
                           "\"Other\"=\"x\"\n"
                           "\"path\"=\"C:\\\\Games\\\\K\\xf6rdo \\\"Gold\\\"\"\n";
        QCOMPARE(KordoWineRegistryValue(registry, KordoRegistryKey, KordoRegistryValue),
                 QString("C:\\Games\\Kördo \"Gold\""));
        QCOMPARE(KordoWineRegistryValue(registry, "Software\\Missing", "Path"), QString());
    }

    void mapsWindowsPathsThroughTheDriveLinks() {
        QCOMPARE(KordoWinePathToLocal("/p", "C:\\Games\\Kordo"), QString("/p/dosdevices/c:/Games/Kordo"));
        QCOMPARE(KordoWinePathToLocal("/p", "z:\\home\\me"), QString("/p/dosdevices/z:/home/me"));
        QCOMPARE(KordoWinePathToLocal("/p", "\\\\server\\share"), QString());
    }

    void findsTheInstallationInAPrefix() {
        QTemporaryDir prefix;
        QDir(prefix.path()).mkpath("drive_c/Games/Kordo");
        QDir(prefix.path()).mkpath("dosdevices");
        QVERIFY(QFile::link("../drive_c", prefix.filePath("dosdevices/c:")));
        QFile reg(prefix.filePath("user.reg"));
        QVERIFY(reg.open(QIODevice::WriteOnly));
        reg.write("[Software\\\\Vantrel Ltd\\\\Installs\\\\Kordo] 1\n\"Path\"=\"C:\\\\Games\\\\Kordo\"\n");
        reg.close();
        qputenv("WINEPREFIX", prefix.path().toUtf8());
        QString found = KordoRegistryInstallPath();
        QVERIFY(QFileInfo(found).isDir());
        QCOMPARE(QFileInfo(found).canonicalFilePath(),
                 QFileInfo(prefix.filePath("drive_c/Games/Kordo")).canonicalFilePath());
        qputenv("WINEPREFIX", prefix.filePath("nowhere").toUtf8());
        QCOMPARE(KordoRegistryInstallPath(), QString());
    }
};

QTEST_MAIN(KordoInstallPathTest)
#include "KordoInstallPathTest.moc"
