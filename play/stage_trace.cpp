#include "play/stage_trace.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "data/save_data.h"
#include "objects/hero.h"
#include "platform/os/random.h"
#include "play/game_manager.h"
#include "play/play_scene.h"
#include "play/stage_objects_setup.h"

namespace {

// FNV-1a over the bytes of values, in the order given.
class cTraceHash {
public:
    void Add(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (std::size_t i = 0; i < size; ++i) {
            m_nValue ^= bytes[i];
            m_nValue *= 1099511628211ull;
        }
    }
    template <class T>
    void Value(T value)
    {
        Add(&value, sizeof value);
    }
    std::uint64_t Result() const { return m_nValue; }

private:
    std::uint64_t m_nValue = 14695981039346656037ull;
};

std::uint64_t Bits(double value)
{
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void HashChara(cTraceHash& hash, const cChara& chara)
{
    hash.Value(chara.m_nSerial);
    hash.Value(Bits(chara.m_dX));
    hash.Value(Bits(chara.m_dY));
    hash.Value(Bits(chara.m_dVX));
    hash.Value(Bits(chara.m_dVY));
    hash.Value(chara.m_nHp);
    hash.Value(chara.m_nSp);
    hash.Value(chara.m_bDead);
    hash.Value(chara.m_nDirection);
    hash.Value(chara.m_bActive);
}

std::uint64_t StageHash(const cPlayScene& scene)
{
    cTraceHash hash;
    for (const cHero& hero : Player) HashChara(hash, hero);
    HashStageObjects(scene, [&hash](const void* data, std::size_t size) { hash.Add(data, size); });
    for (int value : scene.m_StageVars) hash.Value(value);
    return hash.Result();
}

}  // namespace

std::string StageTraceLine(int frame, const std::vector<int>& sounds)
{
    char line[512];
    const cPlayScene* scene = g_lpPlayScene.load();
    std::string soundList;
    for (int n : sounds) soundList += (soundList.empty() ? "" : ",") + std::to_string(n);
    if (soundList.empty()) soundList = "-";
    if (!scene || Player.empty()) {
        std::snprintf(line, sizeof line, "frame=%d scene=%d state=- seed=%08x se=%s", frame,
                      g_GameManager.m_nScene, plat::RandomState(), soundList.c_str());
        return line;
    }
    const cHero& hero = Player.At(0);
    const STAGECOUNTS counts = CountStageObjects(*scene);
    std::snprintf(line, sizeof line,
                  "frame=%d scene=%d state=%d setups=%d substeps=%d pframe=%d seed=%08x x=%016" PRIx64 " y=%016" PRIx64 " vx=%016" PRIx64
                  " vy=%016" PRIx64 " scrx=%016" PRIx64 " scry=%016" PRIx64 " hp=%d sp=%d dead=%d lrud=%d%d%d%d time=%d score=%d lives=%d charas=%d items=%d"
                  " shots=%d se=%s hash=%016" PRIx64,
                  frame, g_GameManager.m_nScene, scene->m_nState, scene->m_nSetUpCount, scene->m_nSubStepTotal, scene->m_nFrame,
                  plat::RandomState(),
                  Bits(hero.m_dX), Bits(hero.m_dY), Bits(hero.m_dVX), Bits(hero.m_dVY), Bits(scene->m_ScrollX.m_dPos),
                  Bits(scene->m_ScrollY.m_dPos), hero.m_nHp, hero.m_nSp,
                  hero.m_bDead, hero.m_bContactLeft, hero.m_bContactRight, hero.m_bContactUp, hero.m_bContactDown,
                  scene->m_nTimeLeft, g_SaveData.m_nScore, g_SaveData.m_nLives, counts.nCharas, counts.nItems,
                  static_cast<int>(scene->m_Shots.size()), soundList.c_str(), StageHash(*scene));
    return line;
}
