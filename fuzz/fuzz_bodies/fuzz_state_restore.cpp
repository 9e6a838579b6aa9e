#include "fuzz/fuzz_bodies/fuzz_bodies.h"
#include "fuzz/fuzz_bodies/processor_rig.h"
#include "public.sdk/source/common/memorystream.h"

namespace velt::corvane::fuzz {

int fuzzStateRestore(const uint8_t* data, size_t size) {
    using namespace Steinberg;
    ProcessorRig* rig = ProcessorRig::shared();
    if (!rig || size > 0x7FFFFFFF) return 0;
    // The stream only reads; it never owns or writes the fuzzer's bytes.
    MemoryStream in(const_cast<uint8_t*>(data), static_cast<TSize>(size));
    rig->processor().setState(&in);
    MemoryStream out;
    rig->processor().getState(&out);
    // What was saved must restore as well.
    out.seek(0, IBStream::kIBSeekSet, nullptr);
    rig->processor().setState(&out);
    return 0;
}

}  // namespace velt::corvane::fuzz
