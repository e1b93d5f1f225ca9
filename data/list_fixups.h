#pragma once
// Changes that version fix-ups make to lists whose length the format fixes.
#include <cstddef>

#include "shell/safe_container.h"

// Sets entry i of a list kept at a fixed length n: the list is first made n long, the entries
// from i on move up by one (the last one is lost) and value takes index i.
template <class T>
void InsertFixed(cSafeVector<T>& list, std::size_t n, std::size_t i, const T& value)
{
    list.resize(n);
    if (i >= n) return;
    for (std::size_t k = n - 1; k > i; --k) list[k] = list[k - 1];
    list[i] = value;
}
