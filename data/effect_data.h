#pragma once
// The effect records of the databases: effects drawn at a place of the stage ("Effect.dat"),
// chara effects ("CharaEffect.dat") and screen effects ("ScrEffect.dat").
#include <string>

#include "data/data_record.h"
#include "shell/safe_container.h"

class cEffectFrameData : public cDataRecordOf<cEffectFrameData> {
public:
    void RegisterFields(DWORD version) override;

    int m_nFrame = 0;
    int m_nDuration = 1;  // tenths of a second
};

class cEffectData : public cDataRecordOf<cEffectData> {
public:
    // 32 x 32, not scaled with the chara, no frames.
    cEffectData();
    void RegisterFields(DWORD version) override;
    void Read(cDataReader& reader) override;

    // Fields cleared, 32 x 32, switch off; the frames are left as they are.
    void SetDefaults();

    std::string m_strName;
    int m_nReserved = 0;
    std::string m_strFile;
    int m_nWidth = 32;   // dots
    int m_nHeight = 32;
    int m_bScaleWithChara = 0;  // a hit effect on a chara takes the chara's scale
    cSafeVector<cEffectFrameData> m_Frames;
};

// A chara effect or a screen effect: a kind and five parameters whose meaning the effect
// playback gives per kind; the first is always the duration in tenths of a second.
template <class T>
class cEffectKindData : public cDataRecordOf<T> {
public:
    void RegisterFields(DWORD) override
    {
        this->ClearTables();
        this->AddField4(&m_nKind, 1, "nKind");
        this->AddField4(m_nParams, kParams, "nParams");
        this->AddString(&m_strName, "strName");
    }

    static constexpr int kParams = 5;

    std::string m_strName;
    int m_nKind = 0;  // 0 none
    int m_nParams[kParams] = {};
};

// Kinds 1 to 16.
class cCharaEffectData : public cEffectKindData<cCharaEffectData> {
public:
    void Read(cDataReader& reader) override;
};

// Kinds 1 to 13.
class cScrEffectData : public cEffectKindData<cScrEffectData> {
public:
    void Read(cDataReader& reader) override;
};
