#include "KordoExport.h"

#include "KordoCommandLine.h"

#include <iostream>

int RunExport(int, char**) {
    std::cerr << "kordo-db: export is not built yet\n";
    return ExitFailure;
}
