// A stand-in for an external integer sorter: insertion sort that moves the positions along.
#include <cstdint>

extern "C" {
int SortDwordsCalls = 0;
}

extern "C" void SortDwords(int32_t* first, int32_t* last, int32_t* positions, int32_t)
{
    ++SortDwordsCalls;
    const int64_t n = last - first + 1;
    for (int64_t i = 1; i < n; ++i) {
        const int32_t key = first[i];
        const int32_t pos = positions[i];
        int64_t j = i - 1;
        for (; j >= 0 && first[j] > key; --j) {
            first[j + 1] = first[j];
            positions[j + 1] = positions[j];
        }
        first[j + 1] = key;
        positions[j + 1] = pos;
    }
}
