#pragma once

#include <array>
#include <cassert>

namespace vespin {

// A fixed array indexed Lo..Hi, so that the game's tables keep their own
// numbering (columns 1..8, foundations 5..8) and an index outside it is
// caught in debug builds instead of reading a neighbour.
template <typename T, int Lo, int Hi>
struct IndexedArray {
    static_assert(Lo <= Hi);
    std::array<T, Hi - Lo + 1> items{};

    static constexpr int first() { return Lo; }
    static constexpr int last() { return Hi; }

    constexpr T &operator[](int i)
    {
        assert(i >= Lo && i <= Hi);
        return items[std::size_t(i - Lo)];
    }
    constexpr const T &operator[](int i) const
    {
        assert(i >= Lo && i <= Hi);
        return items[std::size_t(i - Lo)];
    }
    constexpr void fill(const T &value) { items.fill(value); }
    constexpr bool operator==(const IndexedArray &) const = default;
};

} // namespace vespin
