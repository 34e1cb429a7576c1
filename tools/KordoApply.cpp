#include "KordoApply.h"

#include "KordoCommandLine.h"

#include <iostream>

int RunApply(int, char**) {
    std::cerr << "kordo-db: apply is not built yet\n";
    return ExitFailure;
}
