// libFuzzer entry point; BILLIARDS_FUZZ_TARGET names the target function.
#include "targets/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    return fuzz::BILLIARDS_FUZZ_TARGET(data, size);
}
