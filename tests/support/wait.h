#pragma once
// Waiting in a test for what another thread brings about: the condition is checked again and
// again up to a bound, so that a fault fails the test instead of hanging it.
#include <chrono>
#include <thread>

namespace qbtest {

constexpr std::chrono::milliseconds kWaitBound{5000};

// How many times slower than the release build this build runs (the sanitizers' builds, an
// unoptimised one), and that build's name: the build sets both, and the bounds that wait for a
// whole run of the game scale by the first.
#ifndef QB_TEST_SLOWNESS
#define QB_TEST_SLOWNESS 1
#endif
#ifndef QB_TEST_BUILD_KIND
#define QB_TEST_BUILD_KIND "release"
#endif
constexpr int kSlowness = QB_TEST_SLOWNESS;
constexpr const char* kBuildKind = QB_TEST_BUILD_KIND;

// Checks the condition until it holds or the bound has passed, running `between` after each
// check that failed (a message pump, a key press); returns whether the condition held.
template <class Condition, class Between>
bool WaitUntil(Condition condition, Between between, std::chrono::milliseconds bound = kWaitBound)
{
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return condition();
        between();
    }
    return true;
}

// The same, resting a millisecond between checks.
template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds bound = kWaitBound)
{
    return WaitUntil(condition, [] { std::this_thread::sleep_for(std::chrono::milliseconds(1)); }, bound);
}

}  // namespace qbtest
