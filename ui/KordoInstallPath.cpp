#include "KordoInstallPath.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringList>
#include <QTextStream>

namespace {

// Undoes the escapes of a quoted registry string: \\ \" and \xNNNN (up to four hex digits).
QString Unescape(QStringView quoted) {
    QString result;
    for (qsizetype i = 0; i < quoted.size(); ++i) {
        QChar c = quoted[i];
        if (c != u'\\' || i + 1 >= quoted.size()) {
            result += c;
            continue;
        }
        QChar next = quoted[++i];
        if (next == u'x') {
            qsizetype digits = 0;
            uint code = 0;
            while (digits < 4 && i + 1 < quoted.size() &&
                   QString("0123456789abcdefABCDEF").contains(quoted[i + 1])) {
                code = code * 16 + static_cast<uint>(QString(quoted[++i]).toUInt(nullptr, 16));
                ++digits;
            }
            result += QChar(static_cast<char16_t>(code));
        } else if (next == u'n') {
            result += u'\n';
        } else {
            result += next;
        }
    }
    return result;
}

// The quoted text starting at `from` (just after its opening quote) up to the unescaped closing quote.
QStringView QuotedAt(QStringView line, qsizetype from, qsizetype* end) {
    qsizetype i = from;
    while (i < line.size() && line[i] != u'"') {
        if (line[i] == u'\\')
            ++i;
        ++i;
    }
    *end = i;
    return line.mid(from, std::min(i, line.size()) - from);
}

} // namespace

QString KordoWineRegistryValue(const QString& registryText, const QString& key, const QString& name) {
    // Section lines join the key's parts with a doubled backslash: [Software\\Vendor\\Key] 1234
    QString section = "[" + QString(key).replace("\\", "\\\\") + "]";
    bool inSection = false;
    const QStringList lines = registryText.split('\n');
    for (QString line : lines) {
        line = line.trimmed();
        if (line.startsWith('[')) {
            inSection = line.startsWith(section, Qt::CaseInsensitive);
            continue;
        }
        if (!inSection || !line.startsWith('"'))
            continue;
        qsizetype end = 0;
        QString valueName = Unescape(QuotedAt(line, 1, &end));
        if (valueName.compare(name, Qt::CaseInsensitive) != 0 || end + 1 >= line.size() ||
            line[end + 1] != u'=')
            continue;
        QStringView rest = QStringView(line).mid(end + 2);
        if (rest.startsWith(u"str(2):"))
            rest = rest.mid(7);
        if (!rest.startsWith(u'"'))
            return {};
        return Unescape(QuotedAt(rest, 1, &end));
    }
    return {};
}

QString KordoWinePathToLocal(const QString& prefix, const QString& windowsPath) {
    if (windowsPath.size() < 2 || windowsPath[1] != u':' || !windowsPath[0].isLetter())
        return {};
    // Drive letters are links in dosdevices (c: to ../drive_c, z: to /); the system resolves them.
    QString drive = windowsPath.left(2).toLower();
    QString rest = windowsPath.mid(2);
    rest.replace('\\', '/');
    while (rest.startsWith('/'))
        rest.remove(0, 1);
    QString local = QDir(prefix).filePath("dosdevices/" + drive);
    return rest.isEmpty() ? local : local + "/" + rest;
}

QString KordoWinePrefix() {
    QString prefix = qEnvironmentVariable("WINEPREFIX");
    return prefix.isEmpty() ? QDir::home().filePath(".wine") : prefix;
}

QString KordoRegistryInstallPath() {
#ifdef Q_OS_WIN
    QSettings settings("HKEY_CURRENT_USER\\" + QString(KordoRegistryKey), QSettings::NativeFormat);
    return settings.value(KordoRegistryValue).toString();
#else
    QString prefix = KordoWinePrefix();
    QFile file(QDir(prefix).filePath("user.reg"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QString value =
        KordoWineRegistryValue(QTextStream(&file).readAll(), KordoRegistryKey, KordoRegistryValue);
    return value.isEmpty() ? QString() : KordoWinePathToLocal(prefix, value);
#endif
}
