// Renders the main window and each of its pages to PNG files, for the documentation.
#pragma once

#include <QString>

class TfrmMain;

// Loads the data, then writes main-*.png into folder. False when loading or writing fails.
bool KordoTakeScreenshots(TfrmMain& window, const QString& folder);
