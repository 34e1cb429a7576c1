// Both database files from one input: read, write back, link, check and save.
#include "KordoFuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KordoFuzzDatabase(data, size);
    return 0;
}
