#include "platform/os/editor_notice.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/os/instance_lock.h"

namespace plat {

std::string EditorSocketPath() { return cInstanceLock::Folder() + "/Quillbramwood_Editor"; }

bool SendEditorNotice(std::uint32_t dwData, std::int32_t value)
{
    const std::string path = EditorSocketPath();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    unsigned char datagram[12];
    const std::uint32_t values[3] = {dwData, static_cast<std::uint32_t>(value),
                                     static_cast<std::uint32_t>(::getpid())};
    for (int i = 0; i < 3; ++i)
        for (int b = 0; b < 4; ++b) datagram[i * 4 + b] = static_cast<unsigned char>(values[i] >> (8 * b));
    const ssize_t sent = ::sendto(fd, datagram, sizeof datagram, MSG_DONTWAIT,
                                  reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::close(fd);
    return sent == static_cast<ssize_t>(sizeof datagram);
}

}  // namespace plat
