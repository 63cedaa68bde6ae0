#include "platform/PageMemory.h"

#include "platform/AddressSanitizer.h"

#include <malloc.h>
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace ml {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Under the address sanitizer every block comes from the heap, where overruns are caught.
constexpr bool kHeapOnly = kAddressSanitizer;
constexpr std::size_t kPage = 4096;

std::size_t PageRounded(std::size_t bytes) {
    return (bytes + kPage - 1) / kPage * kPage;
}

// What AllocateBlock maps for a block of this size.
std::size_t MappedLength(std::size_t bytes) {
    std::size_t length = PageRounded(bytes);
    if (length % kHugePage >= kHugePage / 2)
        length = (length + kHugePage - 1) / kHugePage * kHugePage;
    return length;
}

// Both are only advice: where huge pages are off or used up, small ones serve, and a system
// without the second faults the pages in one by one as they are first written.
void HaveAllPages(void* first, std::size_t length) noexcept {
    madvise(first, length, MADV_HUGEPAGE);
    madvise(first, length, MADV_POPULATE_WRITE);
}

} // namespace

void* AllocateBlock(std::size_t bytes) {
    if (bytes < kLargeBlock || kHeapOnly) {
        if (void* block = std::calloc(bytes ? bytes : 1, 1))
            return block;
        throw std::bad_alloc();
    }
    // The block starts on a huge-page boundary, so that every whole huge page of it can be
    // one; the mapping is made a huge page longer and the spare ends are given back. A last
    // part of half a huge page or more is worth a huge page of its own.
    const std::size_t length = MappedLength(bytes);
    void* mapped = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > start)
        munmap(mapped, aligned - start);
    if (const std::size_t tail = start + kHugePage - aligned; tail > 0)
        munmap(reinterpret_cast<void*>(aligned + length), tail);
    void* block = reinterpret_cast<void*>(aligned);
    // The block is written whole right after, so having every page at once costs nothing
    // and spares a fault per page.
    HaveAllPages(block, length);
    return block;
}

void PrefaultPages(const void* begin, std::size_t bytes) noexcept {
    // A few pages fault in cheaply, and advice on them would only split the heap's mapping.
    if (bytes < kLargeBlock)
        return;
    const auto address = reinterpret_cast<std::uintptr_t>(begin);
    const std::uintptr_t first = address / kPage * kPage;
    HaveAllPages(reinterpret_cast<void*>(first), PageRounded(address + bytes - first));
}

void PrepareHeap(std::size_t bytes) noexcept {
    // The sanitizer's allocator keeps a heap of its own.
    if (kHeapOnly || bytes == 0)
        return;
    // The block must come from the heap itself, not from a mapping of its own, and stay
    // there once freed.
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(bytes + kLargeBlock));
    mallopt(M_TRIM_THRESHOLD, static_cast<int>(2 * bytes));
    if (void* block = std::malloc(bytes)) {
        PrefaultPages(block, bytes);
        std::free(block);
    }
    // Blocks too big for it get mappings of their own, which are given back whole when freed.
    mallopt(M_MMAP_THRESHOLD, static_cast<int>(kLargeBlock));
}

TPagesInAdvance::TPagesInAdvance(void* begin, std::size_t bytes) {
    if (bytes == 0)
        return;
    PrefaultPages(begin, bytes);
    Worker = std::thread([begin, bytes] {
        auto* bytesOf = static_cast<volatile std::uint8_t*>(begin);
        for (std::size_t offset = 0; offset < bytes; offset += kPage)
            bytesOf[offset] = bytesOf[offset];
    });
}

TPagesInAdvance& TPagesInAdvance::operator=(TPagesInAdvance&& other) noexcept {
    Wait();
    Worker = std::move(other.Worker);
    return *this;
}

void TPagesInAdvance::Wait() noexcept {
    if (Worker.joinable())
        Worker.join();
}

void FreeBlock(void* block, std::size_t bytes) noexcept {
    if (!block)
        return;
    if (bytes < kLargeBlock || kHeapOnly)
        std::free(block);
    else
        munmap(block, MappedLength(bytes));
}

} // namespace ml
