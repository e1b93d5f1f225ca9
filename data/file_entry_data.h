#pragma once
// The database entries that name one file: pictures ("Picture.dat"), sound effects
// ("Sound.dat") and BGM ("Bgm.dat").
#include <string>

#include "data/data_record.h"

template <class T>
class cFileEntryData : public cDataRecordOf<T> {
public:
    void RegisterFields(DWORD version) override
    {
        this->ClearTables();
        if (version >= 151) this->AddField4(&m_nReserved, 1, "nReserved");
        this->AddString(&m_strName, "strName");
        this->AddString(&m_strFile, "strFile");
    }
    void Read(cDataReader& reader) override
    {
        cDataRecord::Read(reader);
        if (reader.Version() < 153) m_nReserved = 0;
    }

    std::string m_strName;
    int m_nReserved = 0;
    std::string m_strFile;
};

// The picture the picture command shows.
class cPictureData : public cFileEntryData<cPictureData> {};
// The WAVE file of a sound effect.
class cSoundData : public cFileEntryData<cSoundData> {};
// The BGM file handed to the BGM player.
class cBgmData : public cFileEntryData<cBgmData> {};
