// The System data: the demo's title and its built-in sound effects, and System.ini with every
// key at its default.
#include <string>

#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_game.h"

namespace {

// Every key of the System data with its default value; in a window, under Direct3D without
// the drawing-mode question, so that a whole-program test starts without a dialog.
std::string SystemIni(const cSystemData& system)
{
    std::string text;
    for (const cBootOptionData& option : system.m_BootOptions) {
        std::string value = option.m_nKind == 1 ? option.m_strValue : std::to_string(option.m_nValue);
        if (option.m_strKey == "WindowMode" || option.m_strKey == "Direct3D") value = "1";
        text += option.m_strKey + "=" + value + "\n";
    }
    return text + "Exit\n";
}

}  // namespace

void AddDemoSystem(DEMOGAME& game)
{
    game.system.m_strTitle = kDemoGameTitle;
    // F1 and F2 save the attempt just played, or the one before it, as a replay.
    game.system.m_bRecordReplay = 1;
    static const char* const kEffects[] = {"wave\\Cursor.wav", "wave\\Decide.wav", "wave\\Jump.wav", "wave\\Coin.wav",
                                           "wave\\Hit.wav"};
    for (int i = 0; i < static_cast<int>(game.system.m_SoundFiles.size()); ++i) game.system.m_SoundFiles[i] = kEffects[i % 5];
    game.files.push_back({"System.ini", SystemIni(cSystemData())});
}
