#pragma once
// Containers whose element access checks the index. A bad index never reads outside the
// storage and never stops the frame: it is written to the error-check log and the report file,
// WM_CLOSE is posted to the main window, and the access yields a usable element.
#include <algorithm>
#include <cstddef>
#include <iterator>
#include <list>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

namespace safe_container_detail {

// The failure path, out of line: "err V[%d] ( %d , %d )" or "err L[%d] ( %d , %d )" with the
// index, the length and the element size, to both logs, then WM_CLOSE to the main window.
void ReportBadIndex(char kind, int index, std::size_t length, std::size_t elementSize);

// A default-constructed object kept per element type (and per thread, so that failing
// threads never share one), made default again each time it is handed out so that nothing a
// previous caller wrote into it is seen by the next.
template <class T>
T& FreshFallback()
{
    thread_local T fallback{};
    if constexpr (std::is_move_assignable_v<T>) {
        fallback = T{};
    } else {
        std::destroy_at(&fallback);
        std::construct_at(&fallback);
    }
    return fallback;
}

}  // namespace safe_container_detail

template <class T>
class cSafeVector : public std::vector<T> {
public:
    using std::vector<T>::vector;
    using std::vector<T>::operator=;

    cSafeVector() = default;
    cSafeVector(const cSafeVector&) = default;
    cSafeVector(cSafeVector&&) noexcept = default;
    cSafeVector& operator=(cSafeVector&&) noexcept = default;

    // Element index when 0 <= index < size(); otherwise the report, then element 0, or a
    // default element when the vector is empty.
    T& At(int index)
    {
        if (static_cast<std::size_t>(index) < this->size()) return (*this)[static_cast<std::size_t>(index)];
        return AtFailed(index);
    }
    const T& At(int index) const
    {
        if (static_cast<std::size_t>(index) < this->size()) return (*this)[static_cast<std::size_t>(index)];
        return const_cast<cSafeVector*>(this)->AtFailed(index);
    }

    void Fill(const T& value)
    {
        for (T& element : *this) element = value;
    }

    // Removes every element equal to value, keeping the order of the others; true when any was.
    bool RemoveValue(const T& value)
    {
        // A copy, since value may be an element of this vector that the removal moves.
        const T target(value);
        const auto newEnd = std::remove(this->begin(), this->end(), target);
        if (newEnd == this->end()) return false;
        this->erase(newEnd, this->end());
        return true;
    }

    // Resizes to the source's length, then assigns element by element with T's own assignment.
    cSafeVector& operator=(const cSafeVector& source)
    {
        if (this == &source) return *this;
        this->resize(source.size());
        for (std::size_t i = 0; i < source.size(); ++i) (*this)[i] = source[i];
        return *this;
    }

private:
    [[gnu::cold, gnu::noinline]] T& AtFailed(int index)
    {
        safe_container_detail::ReportBadIndex('V', index, this->size(), sizeof(T));
        if (!this->empty()) return this->front();
        return safe_container_detail::FreshFallback<T>();
    }
};

template <class T>
class cSafeList : public std::list<T> {
public:
    using std::list<T>::list;
    using std::list<T>::operator=;

    // The element at position index from the front; otherwise the report, then a default
    // object that is not an element of the list.
    T& At(int index)
    {
        if (index >= 0 && static_cast<std::size_t>(index) < this->size())
            return *std::next(this->begin(), index);
        return AtFailed(index);
    }
    const T& At(int index) const { return const_cast<cSafeList*>(this)->At(index); }

private:
    [[gnu::cold, gnu::noinline]] T& AtFailed(int index)
    {
        safe_container_detail::ReportBadIndex('L', index, this->size(), sizeof(T));
        return safe_container_detail::FreshFallback<T>();
    }
};

// Inserts a copy of value so that it takes that position: 0 at the front, the length or more
// (a negative position counts as a huge one) at the back.
template <class T>
void ListInsertAt(std::list<T>& list, int position, const std::type_identity_t<T>& value)
{
    const std::size_t at = static_cast<unsigned int>(position);
    if (at >= list.size()) {
        list.push_back(value);
        return;
    }
    list.insert(std::next(list.begin(), static_cast<std::ptrdiff_t>(at)), value);
}
