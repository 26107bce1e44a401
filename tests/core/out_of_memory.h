// The tests' answer to a text that cannot be made: an exception carrying the byte count,
// so a test can see that the fatal path was taken and with how many bytes.
#pragma once

#include <cstdint>

struct TextOutOfMemory {
    std::int64_t bytesRequested;
};
