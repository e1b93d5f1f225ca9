#pragma once
// Helpers of the record tests: reading and writing images in memory, and the process-wide
// settings of record files kept as a test found them.
#include <string>

#include "data/database.h"
#include "data/data_record.h"
#include "data/system_data.h"
#include "shell/shared_flags.h"

namespace qbtest {

// Reads a whole file image into record; 1 when it was read, as Load reports.
inline int ReadImage(cDataRecord& record, const std::string& image)
{
    cDataReader reader(image);
    return record.LoadFrom(reader);
}

// The file image that record writes.
inline std::string WriteImage(cDataRecord& record)
{
    cDataWriter writer;
    record.Write(writer);
    return writer.Image();
}

// The number of entries of the BGM list that System data checks its screen BGM against.
inline void SetBgmRecords(std::size_t count)
{
    g_Database.m_Bgms.resize(count);
}

// Sets the CR switch, the data version and the length of the BGM list for a test and puts
// back what they were.
class cDataSettingsScope {
public:
    explicit cDataSettingsScope(int stripCR = 1, std::size_t bgmRecords = g_Database.m_Bgms.size())
        : m_nStripCR(g_bStripCR), m_nDataVersion(g_nDataVersion), m_nBgmRecords(g_Database.m_Bgms.size())
    {
        g_bStripCR = stripCR;
        g_nDataVersion = kDataVersion;
        SetBgmRecords(bgmRecords);
    }
    ~cDataSettingsScope()
    {
        g_bStripCR = m_nStripCR;
        g_nDataVersion = m_nDataVersion;
        SetBgmRecords(m_nBgmRecords);
    }
    cDataSettingsScope(const cDataSettingsScope&) = delete;
    cDataSettingsScope& operator=(const cDataSettingsScope&) = delete;

private:
    int m_nStripCR;
    DWORD m_nDataVersion;
    std::size_t m_nBgmRecords;
};

// Sets the editor-launch flag and the System data's keep switch, and puts both back.
class cTestPlayScope {
public:
    cTestPlayScope(int editor, int keep) : m_nEditor(g_bEditorLaunch.load()), m_nKeep(g_SystemData.m_bKeepMarkedFlows)
    {
        g_bEditorLaunch.store(editor);
        g_SystemData.m_bKeepMarkedFlows = keep;
    }
    ~cTestPlayScope()
    {
        g_bEditorLaunch.store(m_nEditor);
        g_SystemData.m_bKeepMarkedFlows = m_nKeep;
    }
    cTestPlayScope(const cTestPlayScope&) = delete;
    cTestPlayScope& operator=(const cTestPlayScope&) = delete;

private:
    int m_nEditor;
    int m_nKeep;
};

}  // namespace qbtest
