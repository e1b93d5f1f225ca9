#pragma once
// Loading from a path where a named pipe may stand, without hanging the test: the load runs on
// a thread of its own, and when it has not ended within the bound, a writer that opens and
// closes the pipe lets a held open go, so that the thread always ends.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <optional>
#include <thread>
#include <type_traits>

namespace qbtest {

// The load's result, or nothing when it did not end within the bound. native is the Linux
// path of the pipe (or of whatever stands where the load looks).
template <class Load>
auto LoadWithin(const std::filesystem::path& native, Load load,
                std::chrono::milliseconds bound = std::chrono::seconds(10))
    -> std::optional<std::invoke_result_t<Load&>>
{
    using Result = std::invoke_result_t<Load&>;
    std::promise<Result> result;
    std::future<Result> done = result.get_future();
    std::thread loader([&result, &load] { result.set_value(load()); });
    const bool ended = done.wait_for(bound) == std::future_status::ready;
    for (int tries = 0; !ended && tries < 100; ++tries) {
        const int fd = open(native.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) close(fd);
        if (done.wait_for(std::chrono::milliseconds(100)) == std::future_status::ready) break;
    }
    loader.join();
    if (!ended) return std::nullopt;
    return done.get();
}

}  // namespace qbtest
