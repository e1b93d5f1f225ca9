#pragma once
// Notices to the editor (WM_COPYDATA to its window of class "Quillbramwood_Editor"): a Unix
// datagram socket of that name in $XDG_RUNTIME_DIR (or /tmp). Each notice is one datagram of
// three 32-bit little-endian values: dwData, the notice's int, the game's process id.
#include <cstdint>
#include <string>

namespace plat {

// The socket's path.
std::string EditorSocketPath();

// Sends one notice; a missing or closed socket makes it a no-op. True when it was delivered.
bool SendEditorNotice(std::uint32_t dwData, std::int32_t value);

}  // namespace plat
