#include "KordoCollation.h"

QLocale KordoCollationLocale() {
    static const QLocale locale = [] {
        QLocale system = QLocale::system();
        // The C locale collates by code point, which would put every accented name after Z.
        if (system.language() == QLocale::C)
            return QLocale(QLocale::English, QLocale::UnitedStates);
        return system;
    }();
    return locale;
}

const QCollator& KordoCollator() {
    static const QCollator collator = [] {
        QCollator c{KordoCollationLocale()};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}
