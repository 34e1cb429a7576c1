// Finding the game's installation folder: the current user's registry key on Windows, the same key
// in the Wine prefix's user.reg on Linux.
#pragma once

#include <QString>

// The registry key and value that hold the installation folder.
inline const char* const KordoRegistryKey = "Software\\Vantrel Ltd\\Installs\\Kordo";
inline const char* const KordoRegistryValue = "Path";

// The folder the registry names, as a path of this system; empty when the key or value is missing.
QString KordoRegistryInstallPath();

// The value of a string entry in the text of a Wine registry file (user.reg): the section of the key
// (names compared without regard to case) and its "name"="value" line, with the file's escapes
// undone. Empty when absent.
QString KordoWineRegistryValue(const QString& registryText, const QString& key, const QString& name);

// A Windows path as a path under the Wine prefix, through the prefix's dosdevices drive links;
// empty when it names no drive.
QString KordoWinePathToLocal(const QString& prefix, const QString& windowsPath);

// The Wine prefix in use: $WINEPREFIX, else ~/.wine.
QString KordoWinePrefix();
