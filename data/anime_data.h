#pragma once
// The animation records of the databases: animation frames, animations (entries of
// "Anime.dat" and the slots of an animation set) and animation sets ("AnimeSet.dat").
#include <cstdint>
#include <string>

#include "data/data_record.h"
#include "shell/safe_container.h"

// One frame of an animation: the picture cell shown, for a time in tenths of a second.
class cAnimeFrameData : public cDataRecordOf<cAnimeFrameData> {
public:
    void RegisterFields(DWORD version) override;

    int m_nFrame = 0;
    int m_nDuration = 1;  // tenths of a second
    int m_bLock = 0;      // from this frame on, the animation refuses unforced changes
};

class cAnimeData : public cDataRecordOf<cAnimeData> {
public:
    // Name "", one frame {0, 1, 0}, m_byExtra 1.
    cAnimeData();
    void RegisterFields(DWORD version) override;

    // Fields and strings cleared, exactly one frame (the first kept), m_byExtra 1.
    void SetDefaults();

    std::string m_strName;
    cSafeVector<cAnimeFrameData> m_Frames;
    // Stored and written back; nothing in the runtime depends on them.
    std::int16_t m_shExtraA = 0;
    std::uint8_t m_byExtra = 1;
    std::int16_t m_shExtraB = 0;
};

class cAnimeSetData : public cDataRecordOf<cAnimeSetData> {
public:
    // The defaults of SetDefaults.
    cAnimeSetData();
    void RegisterFields(DWORD version) override;
    void Read(cDataReader& reader) override;

    // Fields cleared, offsets 4, 8, 0, four default slots named for the chara states.
    void SetDefaults();

    std::string m_strName;
    // Added to the chara's base image row while it is in the state each belongs to.
    int m_nRowOffsetA = 4;
    int m_nRowOffsetB = 8;
    int m_nRowOffsetC = 0;
    cSafeVector<cAnimeData> m_Slots;

    static constexpr int kSlots = 4;
};
