// Both database files from one input, as fuzz_database reads them; every input that loads goes
// through the editors' forms, the lists and the export, and must then save as a plain save does.
#include "KordoFuzzForms.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KordoFuzzForms(data, size);
    return 0;
}
