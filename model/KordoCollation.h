// The one collation every sorted list and the search use: the user's locale (English where the system
// names none), case-insensitive, full Unicode (no 8-bit code page in between).
#pragma once

#include <QCollator>
#include <QLocale>

QLocale KordoCollationLocale();
const QCollator& KordoCollator();
