#pragma once
// The playback record of a chara effect or a screen effect. A template is made for every
// database entry, in a normal and a reversed form; a running effect is a copy of one.
#include <cstdint>

class cCharaEffectData;
class cScrEffectData;

class cEffectPlayback {
public:
    // Makes this the template of chara-effect entry id: from the reversed list when reversed
    // is 1 (whose start and end parameters are then swapped, for the kinds that have them),
    // else from the loaded list. Kinds 1..16 get their start value and step; other kinds only
    // the id and the entry.
    void InitCharaEffectTemplate(int id, int reversed);
    // The same for screen-effect entry id, kinds 1..13.
    void InitScreenEffectTemplate(int id, int reversed);

    std::int16_t m_nId = 0;
    cCharaEffectData* m_lpCharaEntry = nullptr;   // the chara effect's entry
    cScrEffectData* m_lpScrEntry = nullptr;       // the screen effect's entry
    int m_nMode = 0;        // 0 normal, 1 reverse, 2 round trip
    int m_bLoop = 0;
    int m_bReversed = 0;    // the leg now playing uses the reversed template
    int m_nReserved = 0;
    int m_nFrom = 0;        // chara effects: start and end value
    int m_nTo = 0;
    double m_dValue = 0.0;  // current value
    double m_dValue2 = 0.0; // screen effects: a second value
    double m_dStep = 0.0;   // value change per frame
    int m_nCounter = 0;
    int m_nToggle = 0;      // chara effects: visibility toggle; screen effects: a second counter
};
