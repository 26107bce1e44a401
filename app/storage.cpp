// Where texts get their storage. The library's nothrow operator new[] wraps the throwing
// one and so brings the whole exception machinery into a program that never throws;
// this one asks the C heap directly. Kept alone in its file so that a test build can put
// its own in its place.
#include <cstdlib>
#include <new>

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size != 0 ? size : 1);
}
