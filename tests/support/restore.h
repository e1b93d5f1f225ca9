#pragma once
// A scope guard that puts a program-wide value back as it was when the guard was made, however
// the test ends: a failed ASSERT returns early and must not leak its settings into later tests.
#include <atomic>

namespace qbtest {

template <class T>
class cRestore {
public:
    explicit cRestore(T& value) : m_Value(value), m_Saved(value) {}
    ~cRestore() { m_Value = m_Saved; }
    cRestore(const cRestore&) = delete;
    cRestore& operator=(const cRestore&) = delete;

private:
    T& m_Value;
    T m_Saved;
};

template <class T>
class cRestore<std::atomic<T>> {
public:
    explicit cRestore(std::atomic<T>& value) : m_Value(value), m_Saved(value.load()) {}
    ~cRestore() { m_Value.store(m_Saved); }
    cRestore(const cRestore&) = delete;
    cRestore& operator=(const cRestore&) = delete;

private:
    std::atomic<T>& m_Value;
    T m_Saved;
};

}  // namespace qbtest
