#include "AllocationCounter.h"

#include <cerrno>
#include <cstdlib>
#include <new>

// JUCE's containers allocate with malloc rather than new, so on glibc the malloc family is
// counted too. Sanitizers bring their own malloc; under them their allocator hooks count it.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    #define KREL_SANITIZED_BUILD 1
#elif defined(__has_feature)
    #if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
        #define KREL_SANITIZED_BUILD 1
    #endif
#endif

#if defined(__GLIBC__) && ! defined(KREL_SANITIZED_BUILD)
    #define KREL_COUNT_MALLOC 1
extern "C" void* __libc_malloc (std::size_t);
extern "C" void* __libc_calloc (std::size_t, std::size_t);
extern "C" void* __libc_realloc (void*, std::size_t);
extern "C" void* __libc_memalign (std::size_t, std::size_t);
extern "C" void __libc_free (void*);
#endif

namespace
{
// Per thread, so that allocations of other threads never count.
thread_local bool armed = false;
thread_local int allocations = 0;
thread_local int releases = 0;

void countAllocation() noexcept
{
    if (armed)
        ++allocations;
}

void countRelease (void* p) noexcept
{
    if (armed && p != nullptr)
        ++releases;
}

void* rawAllocate (std::size_t size, std::size_t alignment) noexcept
{
#if KREL_COUNT_MALLOC
    return alignment == 0 ? __libc_malloc (size) : __libc_memalign (alignment, size);
#else
    return alignment == 0 ? std::malloc (size) : std::aligned_alloc (alignment, (size + alignment - 1) / alignment * alignment);
#endif
}

void rawRelease (void* p) noexcept
{
#if KREL_COUNT_MALLOC
    __libc_free (p);
#else
    std::free (p);
#endif
}

void* allocateOrThrow (std::size_t size, std::size_t alignment = 0)
{
    countAllocation();

    if (auto* p = rawAllocate (size == 0 ? 1 : size, alignment))
        return p;

    throw std::bad_alloc();
}

void* allocateOrNull (std::size_t size) noexcept
{
    countAllocation();
    return rawAllocate (size == 0 ? 1 : size, 0);
}

void release (void* p) noexcept
{
    countRelease (p);
    rawRelease (p);
}
} // namespace

ScopedAllocationCounter::ScopedAllocationCounter() noexcept
{
    allocations = 0;
    releases = 0;
    armed = true;
}

ScopedAllocationCounter::~ScopedAllocationCounter() noexcept { armed = false; }

int ScopedAllocationCounter::getAllocations() const noexcept { return allocations; }
int ScopedAllocationCounter::getReleases() const noexcept { return releases; }

void* operator new (std::size_t size) { return allocateOrThrow (size); }
void* operator new[] (std::size_t size) { return allocateOrThrow (size); }
void* operator new (std::size_t size, std::align_val_t alignment) { return allocateOrThrow (size, static_cast<std::size_t> (alignment)); }
void* operator new[] (std::size_t size, std::align_val_t alignment) { return allocateOrThrow (size, static_cast<std::size_t> (alignment)); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept { return allocateOrNull (size); }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept { return allocateOrNull (size); }

void operator delete (void* p) noexcept { release (p); }
void operator delete[] (void* p) noexcept { release (p); }
void operator delete (void* p, std::size_t) noexcept { release (p); }
void operator delete[] (void* p, std::size_t) noexcept { release (p); }
void operator delete (void* p, std::align_val_t) noexcept { release (p); }
void operator delete[] (void* p, std::align_val_t) noexcept { release (p); }
void operator delete (void* p, std::size_t, std::align_val_t) noexcept { release (p); }
void operator delete[] (void* p, std::size_t, std::align_val_t) noexcept { release (p); }
void operator delete (void* p, const std::nothrow_t&) noexcept { release (p); }
void operator delete[] (void* p, const std::nothrow_t&) noexcept { release (p); }

#if KREL_COUNT_MALLOC
extern "C" void* malloc (std::size_t size) noexcept
{
    countAllocation();
    return __libc_malloc (size);
}

extern "C" void* calloc (std::size_t count, std::size_t size) noexcept
{
    countAllocation();
    return __libc_calloc (count, size);
}

extern "C" void* realloc (void* p, std::size_t size) noexcept
{
    countAllocation();
    return __libc_realloc (p, size);
}

extern "C" void* aligned_alloc (std::size_t alignment, std::size_t size) noexcept
{
    countAllocation();
    return __libc_memalign (alignment, size);
}

extern "C" int posix_memalign (void** result, std::size_t alignment, std::size_t size) noexcept
{
    countAllocation();
    *result = __libc_memalign (alignment, size);
    return *result != nullptr ? 0 : ENOMEM;
}

extern "C" void free (void* p) noexcept
{
    countRelease (p);
    __libc_free (p);
}
#endif

#if KREL_SANITIZED_BUILD
// From the sanitizer runtime (sanitizer/allocator_interface.h, which gcc does not install).
extern "C" int __sanitizer_install_malloc_and_free_hooks (void (*) (const volatile void*, std::size_t),
                                                         void (*) (const volatile void*));

namespace
{
void onSanitizerMalloc (const volatile void*, std::size_t) { countAllocation(); }
void onSanitizerFree (const volatile void* p) { countRelease (const_cast<void*> (p)); }

[[maybe_unused]] const int sanitizerHooksInstalled = __sanitizer_install_malloc_and_free_hooks (onSanitizerMalloc, onSanitizerFree);
} // namespace
#endif
