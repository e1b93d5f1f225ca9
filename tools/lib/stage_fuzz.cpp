#include "tools/lib/stage_fuzz.h"

#include <cstdlib>

#include "data/stage_data.h"
#include "tools/lib/data_fuzz.h"

int FuzzStage(const std::uint8_t* data, std::size_t size)
{
    FuzzDataFileOfKind("stage", data, size);
    // What play relies on after any read that succeeds.
    cStageData stage;
    cDataReader reader(data, size);
    if (!stage.LoadFrom(reader)) return 0;
    if (stage.m_nWidth <= 0 || stage.m_nHeight <= 0 || stage.m_nSubSteps < 1) std::abort();
    if (stage.m_nScrollRight > stage.m_nWidth - 1 || stage.m_nScrollBottom > stage.m_nHeight - 1) std::abort();
    if (stage.m_PaletteBlocks.size() < 2 || stage.m_PaletteCharas.size() < 2 || stage.m_PaletteItems.size() < 2) std::abort();
    if (stage.m_ResultFlags.size() < 5) std::abort();
    return 0;
}
