// Test build only: texts of a million bytes or more get no storage, so a large enough
// input makes a click run out of memory. Smaller requests are served as usual.
#include <cstdlib>
#include <new>

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (size >= 1000000) {
        return nullptr;
    }
    return std::malloc(size != 0 ? size : 1);
}
