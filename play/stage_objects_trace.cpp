// The stage's objects: how many charas and items it has, and a 64-bit FNV-1a hash over every
// chara (the players first), item, block cell and stage variable, so that two runs can be
// compared line by line.
#include <cstdint>

#include "objects/hero.h"
#include "play/play_scene.h"
#include "play/stage_objects_setup.h"
#include "play/trace_line.h"

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

void HashChara(cTraceHash& hash, const cChara& chara)
{
    hash.Value(chara.m_nSerial);
    hash.Value(TraceBits(chara.m_dX));
    hash.Value(TraceBits(chara.m_dY));
    hash.Value(TraceBits(chara.m_dVX));
    hash.Value(TraceBits(chara.m_dVY));
    hash.Value(chara.m_nHp);
    hash.Value(chara.m_nSp);
    hash.Value(chara.m_bDead);
    hash.Value(chara.m_nDirection);
    hash.Value(chara.m_bActive);
}

}  // namespace

void TraceObjectCounts(cTraceLine& line, const TRACEFRAME& frame)
{
    if (!frame.scene) return;
    const STAGECOUNTS counts = CountStageObjects(*frame.scene);
    line.Add("charas", counts.nCharas);
    line.Add("items", counts.nItems);
}

void TraceStageHash(cTraceLine& line, const TRACEFRAME& frame)
{
    if (!frame.scene) return;
    cTraceHash hash;
    for (const cHero& hero : Player) HashChara(hash, hero);
    HashStageObjects(*frame.scene, [&hash](const void* data, std::size_t size) { hash.Add(data, size); });
    for (int value : frame.scene->m_StageVars) hash.Value(value);
    line.AddHex("hash", hash.Result(), 16);
}
