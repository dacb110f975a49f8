// Memory the program frees is overwritten before it goes back to the heap: whatever goes on using a freed object
// then reads nonsense and crashes at once, where it would otherwise seem to work on what was left behind.

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <new>

void* operator new(std::size_t size) {
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    if (!p)
        return;
    std::memset(p, 0xDD, _msize(p));
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}
