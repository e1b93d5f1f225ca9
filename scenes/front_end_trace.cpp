#include "scenes/front_end_trace.h"

#include <algorithm>
#include <functional>

#include "platform/os/random.h"
#include "play/game_manager.h"
#include "play/menu_cursor.h"
#include "play/trace_line.h"
#include "sound/bgm.h"
#include "sound/direct_sound.h"

namespace {

// The items joined by commas; "-" for none.
template <class ITEMS, class TEXT>
std::string Joined(const ITEMS& items, TEXT text)
{
    std::string joined;
    for (const auto& item : items) joined += (joined.empty() ? "" : ",") + text(item);
    return joined.empty() ? "-" : joined;
}

// Each entry of the stack, bottom first, as column:row.
std::string CursorStack()
{
    return Joined(g_MenuCursor.m_Entries,
                  [](const CURSORPOS& c) { return std::to_string(c.nColumn) + ":" + std::to_string(c.nRow); });
}

// The volume of the first copy of every loaded sound effect: one value when they are all alike.
std::string SoundVolumes()
{
    std::vector<int> volumes;
    for (DSSOUNDDATA& sound : g_SoundTable)
        if (!sound.lpBuffers.empty()) volumes.push_back(DS_GetVolume(sound, 0));
    const bool alike = std::adjacent_find(volumes.begin(), volumes.end(), std::not_equal_to<>()) == volumes.end();
    if (alike && !volumes.empty()) return std::to_string(volumes.front());
    return Joined(volumes, [](int v) { return std::to_string(v); });
}

std::string MusicSlot()
{
    const int slot = g_Bgm.CurrentSlot();
    return slot == -2 ? "off" : std::to_string(slot);
}

}  // namespace

bool FrontEndTraceLine(const FRONTENDFRAME& frame, std::string& line)
{
    const cGameManager& manager = g_GameManager;
    // A scene whose fade-out handed over in this frame has made the next one current; it is
    // made at the next frame, so the frame was still this one's.
    int type = manager.m_nScene;
    if (!manager.Scene(type)) type = manager.m_nPrevScene;
    const cScene* scene = manager.Scene(type);
    if (!scene || type == SCENE_PLAY) return false;
    cTraceLine trace;
    trace.Add("frame", frame.frame);
    trace.Add("scene", type);
    trace.Add("state", scene->m_nState);
    trace.Add("sub", scene->m_nSubState);
    trace.AddText("cursor", CursorStack());
    trace.Add("gmode", manager.m_nGameMode);
    trace.Add("pmode", manager.m_nPlayMode);
    trace.AddHex("seed", plat::RandomState(), 8);
    trace.AddText("se", Joined(frame.sounds, [](int n) { return std::to_string(n); }));
    trace.AddText("bgm", Joined(frame.bgm, [](const std::pair<int, int>& r) {
                      return std::to_string(r.first) + ":" + std::to_string(r.second);
                  }));
    trace.AddText("files", Joined(frame.files, [](const std::string& path) { return path; }));
    trace.AddText("vol", SoundVolumes());
    trace.AddText("music", MusicSlot());
    line = trace.Text();
    return true;
}
