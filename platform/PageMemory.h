#pragma once
// Memory for the big buffers of a show (pictures, frames, area maps): taken from the system
// in whole pages, zero-filled, and marked so that the system may back it with huge pages.
//
// A full-screen picture is millions of bytes that are all written once when a picture
// loads. In small pages each first write costs the system a page fault, thousands of them per
// buffer, and that is most of the time a show takes to put up its first frame; with huge
// pages it is a few. Buffers below kLargeBlock come from the ordinary heap.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>

namespace ml {

// From this size on a block gets pages of its own.
inline constexpr std::size_t kLargeBlock = std::size_t{1} << 20;

// A zero-filled block of `bytes` bytes; throws std::bad_alloc when there is no memory.
void* AllocateBlock(std::size_t bytes);
// Gives back a block AllocateBlock made for the same byte count.
void FreeBlock(void* block, std::size_t bytes) noexcept;

// Has the pages of memory that is about to be written whole at once (huge ones where they
// fit), instead of taking a fault for each as it is first written; ranges below kLargeBlock
// are left to fault in. Only advice: without it they fault in as before.
void PrefaultPages(const void* begin, std::size_t bytes) noexcept;

// Has every page of a range that will be written whole mapped in, by another thread touching
// them while this one goes on with other work: where memory cannot have huge pages (memory
// shared with the X server), the first touch of each small page is what writing it costs most.
// The contents stay as they are. Wait() returns when it is done; it must have returned before
// the range is written or given back, and the destructor waits as well.
class TPagesInAdvance {
public:
    TPagesInAdvance() = default;
    TPagesInAdvance(void* begin, std::size_t bytes);
    ~TPagesInAdvance() { Wait(); }
    TPagesInAdvance(TPagesInAdvance&&) = default;
    TPagesInAdvance& operator=(TPagesInAdvance&& other) noexcept;
    void Wait() noexcept;

private:
    std::thread Worker;
};

// Takes the heap's first `bytes` bytes from the system in one call, in huge pages where the
// system allows, and keeps them for the allocations to come. Starting a window makes tens of
// thousands of small allocations (the toolkit's objects, the interface description, the
// decoders' buffers) that would otherwise each find fresh pages. Only advice, like the rest.
void PrepareHeap(std::size_t bytes) noexcept;

// A standard allocator over AllocateBlock, for containers that can grow big.
template <class T> struct TPageAllocator {
    using value_type = T;
    TPageAllocator() = default;
    template <class U> TPageAllocator(const TPageAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(AllocateBlock(n * sizeof(T))); }
    void deallocate(T* p, std::size_t n) noexcept { FreeBlock(p, n * sizeof(T)); }
    template <class U> bool operator==(const TPageAllocator<U>&) const noexcept { return true; }
};

// Owns one block.
struct TBlockDeleter {
    std::size_t Bytes = 0;
    void operator()(void* block) const noexcept { FreeBlock(block, Bytes); }
};
using TBlock = std::unique_ptr<std::uint8_t[], TBlockDeleter>;

inline TBlock MakeBlock(std::size_t bytes) {
    return TBlock(static_cast<std::uint8_t*>(AllocateBlock(bytes)), TBlockDeleter{bytes});
}

} // namespace ml
