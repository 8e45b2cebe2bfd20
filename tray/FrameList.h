#pragma once

#include "resources/Icons.h"

#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace vostrel {

// Storage for the animation's icons. Icon ids are 16-bit, so a longer list
// than one icon for each id is refused as running out of memory rather
// than grown without bound.
template <typename T> struct FrameAllocator {
    using value_type = T;
    static constexpr std::size_t kMaxIcons = 0x10000;
    FrameAllocator() = default;
    template <typename U> FrameAllocator(const FrameAllocator<U>&) {}
    T* allocate(std::size_t n)
    {
        if (n > kMaxIcons)
            throw std::bad_alloc();
        return std::allocator<T>().allocate(n);
    }
    void deallocate(T* p, std::size_t n) { std::allocator<T>().deallocate(p, n); }
    template <typename U> bool operator==(const FrameAllocator<U>&) const { return true; }
};
using FrameList = std::vector<res::IconHandle, FrameAllocator<res::IconHandle>>;

} // namespace vostrel
