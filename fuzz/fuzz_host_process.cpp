#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_bodies/fuzz_bodies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return velt::corvane::fuzz::fuzzHostProcess(data, size);
}
