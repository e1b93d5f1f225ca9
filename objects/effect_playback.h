#pragma once
// The playback record of a chara effect or a screen effect. A template is made for every
// database entry, in a normal and a reversed form; a running effect is a copy of one plus the
// id, play mode and loop flag of its start.
#include <cstdint>

#include "shell/safe_container.h"

class cCharaEffectData;
class cScrEffectData;

// The database list a playback's entry lies in. The entry is kept as its list and index, not
// its address, so that a list that grows or is reloaded never leaves a playback pointing at
// freed memory.
enum EFFECTTABLE : int {
    EFFECTTABLE_NONE = 0,
    EFFECTTABLE_CHARA = 1,
    EFFECTTABLE_CHARA_REVERSED = 2,
    EFFECTTABLE_SCREEN = 3,
    EFFECTTABLE_SCREEN_REVERSED = 4,
};

class cEffectPlayback {
public:
    // Makes this the template of chara-effect entry id: from the reversed list when reversed
    // is 1 (whose start and end parameters are then swapped, for the kinds that have them),
    // else from the loaded list. Kinds 1..16 get their start value and step; other kinds only
    // the id and the entry.
    void InitCharaEffectTemplate(int id, int reversed);
    // The same for screen-effect entry id, kinds 1..13.
    void InitScreenEffectTemplate(int id, int reversed);

    // Begins playing entry id in `mode` (0 normal, 1 reverse, 2 round trip; any other plays
    // as normal); with loop set it never finishes.
    void StartCharaEffect(int id, int mode, int loop);
    void StartScreenEffect(int id, int mode, int loop);
    // The next leg: a round trip turns round; the template of the leg's direction is loaded.
    void RestartCharaEffect();
    void RestartScreenEffect();
    // One frame: 1 when the effect has finished (the value then stays past its end).
    int StepCharaEffect();
    // The same with the end points and the step given, compared on the value truncated to an
    // int.
    int StepScreenEffect(int from, int to, double step);
    // Takes the entry and the values of a template; id, mode, loop and reversed stay.
    void LoadTemplate(const cEffectPlayback& source);

    // The database entry played (checked access: a bad index reports and yields entry 0).
    cCharaEffectData& CharaEntry() const;
    cScrEffectData& ScrEntry() const;

    // A normal and a reversed template list.
    struct TEMPLATES {
        const cSafeVector<cEffectPlayback>& normal;
        const cSafeVector<cEffectPlayback>& reversed;
    };

    std::int16_t m_nId = 0;
    int m_nTable = EFFECTTABLE_NONE;
    int m_nEntry = 0;       // index into m_nTable
    int m_nMode = 0;        // 0 normal, 1 reverse, 2 round trip
    int m_bLoop = 0;
    int m_bReversed = 0;    // the leg now playing uses the reversed template
    int m_nReserved = 0;
    // The values a template holds. Chara effects: start and end, the value and its step, a
    // frame counter and a visibility toggle. Screen effects: two values, the step and two
    // counters; their end points come from the caller.
    int m_nFrom = 0;
    int m_nTo = 0;
    double m_dValue = 0.0;
    double m_dValue2 = 0.0;
    double m_dStep = 0.0;
    int m_nCounter = 0;
    int m_nCounter2 = 0;
    int m_nToggle = 0;

private:
    void Start(const TEMPLATES& templates, int id, int mode, int loop);
    void Restart(const TEMPLATES& templates);
    // Past the end: a looping effect or the first leg of a round trip starts its next leg.
    bool RestartAtEnd(const TEMPLATES& templates);
};
