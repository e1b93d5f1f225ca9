#pragma once
// The attackers that cannot hurt a chara again yet: each entry holds the attacker's serial
// number, which the stage never hands out twice, so a new object can never inherit the
// immunity of one that went away. The same attacker may stand more than once; each entry runs
// out on its own.
#include <cstddef>

#include "shell/safe_container.h"

struct HITIMMUNITY {
    int nSerial = 0;
    int nSteps = 0;   // sub-steps left
};

class cHitImmunityList {
public:
    // Room for the entries a chara has at once in a crowded stage, taken when the chara is set
    // up, so that the hits of a sub-step do not allocate.
    static constexpr std::size_t kReserved = 8;
    cHitImmunityList() { m_Entries.reserve(kReserved); }

    void Add(int serial, int steps) { m_Entries.push_back({serial, steps}); }
    // One sub-step: every entry loses one, and those at 0 or below go.
    void Tick();
    bool Contains(int serial) const;
    const cSafeVector<HITIMMUNITY>& Entries() const { return m_Entries; }

private:
    cSafeVector<HITIMMUNITY> m_Entries;
};
