#include "tests/core/out_of_memory.h"

#include "text/text.h"

[[noreturn]] void velmora::textOutOfMemory(std::int64_t bytesRequested) {
    throw TextOutOfMemory{bytesRequested};
}
