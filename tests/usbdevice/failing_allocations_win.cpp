// The test build of dravik.dll can be told to fail every allocation, as a machine out of memory would: its
// exports must then answer their failure codes, never let std::bad_alloc reach a host that cannot catch it.

#include <cstdlib>
#include <new>

namespace {
bool failing = false;
}

extern "C" __declspec(dllexport) void CannedFailAllocations(int on) {
    failing = on != 0;
}

void* operator new(std::size_t size) {
    if (failing)
        throw std::bad_alloc();
    if (void* block = std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
