#include "LinePool.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define LINEPOOL_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LINEPOOL_HEAP 1
#endif
#endif

namespace linepool {

#if !defined(LINEPOOL_HEAP)
namespace {

const size_t kStep = 8;
const size_t kLargestPooled = 256;  // longer texts come from the heap
const size_t kChunk = 64 * 1024;

class TFixedPool {
public:
    void* Get(size_t size) {
        if (!free_) Grow(size);
        void* p = free_;
        free_ = *static_cast<void**>(p);
        live_++;
        return p;
    }
    void Put(void* p) {
        *static_cast<void**>(p) = free_;
        free_ = p;
        if (--live_ == 0) Release();
    }

private:
    void Grow(size_t size) {
        char* chunk = static_cast<char*>(std::malloc(kChunk));
        if (!chunk) throw std::bad_alloc();
        size_ = size;
        chunks_.push_back(chunk);
        Thread(chunk);
    }
    void Thread(char* chunk) {
        for (size_t off = 0; off + size_ <= kChunk; off += size_) {
            *reinterpret_cast<void**>(chunk + off) = free_;
            free_ = chunk + off;
        }
    }
    // All blocks are back: keep one chunk, so that emptying and refilling a
    // one-line text does not go to the heap each time.
    void Release() {
        if (chunks_.size() <= 1) return;
        for (size_t i = 1; i < chunks_.size(); i++) std::free(chunks_[i]);
        chunks_.resize(1);
        free_ = nullptr;
        Thread(chunks_[0]);
    }
    void* free_ = nullptr;
    size_t size_ = 0;
    size_t live_ = 0;
    std::vector<char*> chunks_;
};

// Editors run on the GUI thread, but tests and tools may not: one lock.
std::atomic_flag lock = ATOMIC_FLAG_INIT;
struct TLock {
    TLock() {
        while (lock.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~TLock() { lock.clear(std::memory_order_release); }
};

size_t Rounded(size_t size) { return (size + kStep - 1) / kStep * kStep; }

TFixedPool& NodePool() {
    static TFixedPool* pool = new TFixedPool;  // never destroyed: nodes may outlive statics
    return *pool;
}

TFixedPool& TextPool(size_t rounded) {
    static TFixedPool* pools = new TFixedPool[kLargestPooled / kStep + 1];
    return pools[rounded / kStep];
}

}  // namespace
#endif

#if defined(LINEPOOL_HEAP)

void* AllocNode(size_t size) { return ::operator new(size); }
void FreeNode(void* p, size_t) { ::operator delete(p); }
char* AllocText(size_t size) { return new char[size]; }
void FreeText(char* p, size_t) { delete[] p; }
size_t TextFootprint(size_t size) { return size; }

#else

void* AllocNode(size_t size) {
    TLock l;
    return NodePool().Get(Rounded(size));
}

void FreeNode(void* p, size_t) {
    if (!p) return;
    TLock l;
    NodePool().Put(p);
}

char* AllocText(size_t size) {
    size_t r = Rounded(size);
    if (r > kLargestPooled) return new char[size];
    TLock l;
    return static_cast<char*>(TextPool(r).Get(r));
}

void FreeText(char* p, size_t size) {
    if (!p) return;
    size_t r = Rounded(size);
    if (r > kLargestPooled) {
        delete[] p;
        return;
    }
    TLock l;
    TextPool(r).Put(p);
}

size_t TextFootprint(size_t size) { return Rounded(size); }

#endif

}  // namespace linepool
