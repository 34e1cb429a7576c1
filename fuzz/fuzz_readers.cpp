// The wide string, the sub-lists and every table's reader, one chosen by the input's first byte.
#include "KordoFuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KordoFuzzReaders(data, size);
    return 0;
}
