#pragma once

// Counts the heap allocations and releases made on the calling thread while it lives.
// The counting happens in this test binary's replacement of the global operator new/delete.
class ScopedAllocationCounter
{
public:
    ScopedAllocationCounter() noexcept;
    ~ScopedAllocationCounter() noexcept;

    ScopedAllocationCounter (const ScopedAllocationCounter&) = delete;
    ScopedAllocationCounter& operator= (const ScopedAllocationCounter&) = delete;

    int getAllocations() const noexcept;
    int getReleases() const noexcept;
};
