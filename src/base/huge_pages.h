// Large buffers backed by huge pages where the system offers them on request (Linux with
// transparent huge pages set to "madvise"): a buffer of tens of megabytes, such as the terrain
// grid or the object imprint, then costs a few dozen page faults when first written instead of
// thousands, which was most of a level load's time.
#pragma once

#include <cstddef>
#include <vector>

namespace vallorn {

// Asks for huge pages over the whole 2 MB pages inside [data, data + bytes); call it before
// the buffer is first written. Does nothing for a smaller buffer or on other systems.
void PreferHugePages(const void* data, size_t bytes);

// Makes room for `count` elements in `v`, asking for huge pages when it has to allocate.
template <typename T>
void ReserveLarge(std::vector<T>& v, size_t count) {
    if (v.capacity() >= count) return;
    v.reserve(count);
    PreferHugePages(v.data(), count * sizeof(T));
}

}  // namespace vallorn
