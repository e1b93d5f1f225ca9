#include "shell/key_config.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/os/files.h"
#include "platform/input/keyboard.h"

KEYCONFIG g_KeyConfig{};

bool ReadKeyConfig(const char* path, KEYCONFIG& config)
{
    std::unique_ptr<FILE, int (*)(FILE*)> file(plat::OpenRegularFile(path), std::fclose);
    if (!file) return false;
    unsigned char image[sizeof(KEYCONFIG)];
    const std::size_t got = std::fread(image, 1, sizeof(image), file.get());
    std::memcpy(&config, image, got);
    config.nEntries = std::clamp(config.nEntries, 0, KEYCONFIG_ENTRIES);
    config.nJoysticks = std::clamp(config.nJoysticks, 0, KEYCONFIG_JOYSTICKS);
    return true;
}

void DefaultKeyConfig(KEYCONFIG& config)
{
    static constexpr WORD kCodes[KEYCONFIG_ENTRIES] = {
        VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, 'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F',
    };
    for (int i = 0; i < KEYCONFIG_ENTRIES; ++i) {
        config.Entry[i].nDevice = KEYCONFIG_KEYBOARD;
        config.Entry[i].wCode = kCodes[i];
    }
    config.nEntries = KEYCONFIG_ENTRIES;
    config.nJoysticks = 1;
    config.bUse = 0;
}
