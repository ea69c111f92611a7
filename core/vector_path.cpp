#include "core/vector_path.h"

#include <algorithm>
#include <atomic>

namespace quintor {

namespace {

std::atomic<VectorPath> limit{VectorPath::avx2};

VectorPath detected() {
#if defined(__x86_64__) || defined(__i386__)
    static const VectorPath found = [] {
        __builtin_cpu_init();
        // The AVX2 kernels count bits with popcnt as well; every AVX2 processor has it.
        if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt"))
            return VectorPath::avx2;
#if defined(__SSE2__)
        return VectorPath::sse2;
#else
        return VectorPath::scalar;
#endif
    }();
    return found;
#else
    return VectorPath::scalar;
#endif
}

} // namespace

VectorPath vectorPath() {
    return std::min(detected(), limit.load(std::memory_order_relaxed));
}

void limitVectorPath(VectorPath widest) {
    limit.store(widest, std::memory_order_relaxed);
}

const char* vectorPathName(VectorPath path) {
    switch (path) {
    case VectorPath::avx2:
        return "AVX2";
    case VectorPath::sse2:
        return "SSE2";
    case VectorPath::scalar:
        break;
    }
    return "scalare";
}

} // namespace quintor
