// An installation folder for the window's tests: a small generated database in data/, in a temporary
// folder removed with the test.
#pragma once

#include "KordoGenerator.h"

#include <QTemporaryDir>
#include <QtGlobal>
#include <filesystem>

struct TInstallation {
    QTemporaryDir Dir;
    QString Data() const { return Dir.filePath("data"); }
    explicit TInstallation(int32_t people = 200, uint32_t seed = 3) {
        std::string error;
        if (!KordoGenerateFiles(std::filesystem::path(Data().toStdU16String()), {people, seed, false}, error))
            qFatal("cannot generate: %s", error.c_str());
    }
};
