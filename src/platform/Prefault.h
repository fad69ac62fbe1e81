#pragma once

#include <cstddef>

// Asks the kernel to back a freshly allocated range with memory in one call, instead of one
// page fault per 4 KB page on first touch: for a 10 MB buffer that is thousands of faults, and
// on a virtual machine each costs microseconds. Only a hint; does nothing where unsupported.
void PrefaultForWriting(void* data, std::size_t size);

// Reserves room for count elements and prefaults it, for vectors filled right away.
template <typename Vector>
void ReservePrefaulted(Vector& vector, std::size_t count)
{
    vector.reserve(count);
    PrefaultForWriting(vector.data(), count * sizeof(typename Vector::value_type));
}
