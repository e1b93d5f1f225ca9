#include "data/world_map_data.h"

#include <algorithm>
#include <cstdint>

#include "shell/error_box.h"

namespace {

constexpr int kDefaultChips = 10;
constexpr int kBlockedDefaultChips = 5;

// The shift of the smallest power of two not below width (width >= 1).
int PitchShiftOf(int width)
{
    int shift = 0;
    for (int n = width - 1; n > 0; n /= 2) ++shift;
    return shift;
}

// Whether a grid of width x height fits: both at least 1 and height x pitch within the limit.
bool IsHoldableSize(int width, int height)
{
    if (width < 1 || height < 1) return false;
    const std::int64_t pitch = std::int64_t{1} << PitchShiftOf(width);
    return pitch * height <= kMaxWorldMapCells;
}

bool IsOnMap(int x, int y, int width, int height)
{
    return x >= 0 && y >= 0 && x < width && y < height;
}

}  // namespace

cWorldMapData::cWorldMapData()
{
    SetDefaults();
}

void cWorldMapData::RegisterFields(DWORD)
{
    ClearTables();
    AddField4(&m_nWidth, 1, "nWidth");
    AddField4(&m_nHeight, 1, "nHeight");
    AddField4(&m_nPitch, 1, "nPitch");
    AddField4(&m_nPitchShift, 1, "nPitchShift");
    AddField4(&m_nStartX, 1, "nStartX");
    AddField4(&m_nStartY, 1, "nStartY");
    AddField4(&m_nBackColor, 1, "nBackColor");
    AddField4(&m_bPicture, 1, "bPicture");
    AddString(&m_strName, "strName");
    AddString(&m_strPicture, "strPicture");
    AddRecordList(&m_Chips, "Chips");
    AddValueList(&m_Grid, "Grid");
    AddRecordList(&m_Points, "Points");
    AddRecordList(&m_DefaultPoints, "DefaultPoints");
}

void cWorldMapData::Read(cDataReader& reader)
{
    cDataRecord::Read(reader);
    if (reader.Failed()) return;
    if (!IsHoldableSize(m_nWidth, m_nHeight)) {
        reader.Fail("world map size " + std::to_string(m_nWidth) + " x " + std::to_string(m_nHeight) +
                    " is not a size a map can have");
        return;
    }
    // Normalize pads a grid shorter than the size: a damaged file must not make a large one.
    const std::size_t cells = static_cast<std::size_t>(m_nHeight) << PitchShiftOf(m_nWidth);
    if (cells > m_Grid.capacity() && !reader.Charge(cells * sizeof(int), "the grid of the map's size")) return;
    Normalize();
}

void cWorldMapData::Write(cDataWriter& writer)
{
    Normalize();
    cDataRecord::Write(writer);
}

void cWorldMapData::SetDefaults()
{
    Clear();
    m_strName = "ワールド";
    m_nStartX = 9;
    m_nStartY = 7;
    m_nBackColor = 16;
    m_bPicture = 0;
    m_Chips.resize(kDefaultChips);
    for (int i = 0; i < kDefaultChips; ++i) {
        cWorldChipData& chip = m_Chips[static_cast<std::size_t>(i)];
        chip.m_nPicture = i;
        chip.m_bBlocked = i < kBlockedDefaultChips ? 1 : 0;
        chip.m_strName = i < kBlockedDefaultChips ? "通行不可" : "通行可";
    }
    SetSize(20, 15);
    m_Points.clear();
    m_DefaultPoints.clear();
    m_DefaultPoints.emplace_back();
    m_DefaultPoints.back().m_strName = "デフォルト";
}

int cWorldMapData::SetSize(int width, int height)
{
    if (width <= 0 || height <= 0) {
        DebugErrorBoxF("SetSize()で 0 を指定しました！");
        return 0;
    }
    if (!IsHoldableSize(width, height)) return 0;
    const cSafeVector<int> before = m_Grid;
    const int beforeWidth = m_nWidth, beforeHeight = m_nHeight, beforeShift = m_nPitchShift;
    if (!before.empty())
        DebugErrorBoxF("nBeforeWidth = %d,nBeforePitch = %d,nBeforePitch_Shift = %d", m_nWidth, m_nPitch,
                       m_nPitchShift);
    m_nWidth = width;
    m_nHeight = height;
    m_nPitchShift = PitchShiftOf(width);
    m_nPitch = 1 << m_nPitchShift;
    m_Grid.assign(static_cast<std::size_t>(height) * static_cast<std::size_t>(m_nPitch), 0);
    if (beforeShift < 0 || beforeShift > 30) return 1;  // a layout no grid could have had
    const int rows = std::min(beforeHeight, height), columns = std::min(beforeWidth, width);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            m_Grid[(static_cast<std::size_t>(y) << m_nPitchShift) + static_cast<std::size_t>(x)] =
                before.At(static_cast<int>((static_cast<std::int64_t>(y) << beforeShift) + x));
    return 1;
}

void cWorldMapData::Normalize()
{
    if (IsHoldableSize(m_nWidth, m_nHeight)) {
        // The layout follows the width, whatever pitch a file stored: a stored shift of 32 or
        // more would shift out of range, and a wrong one would put cells in other rows.
        m_nPitchShift = PitchShiftOf(m_nWidth);
        m_nPitch = 1 << m_nPitchShift;
        m_Grid.resize(static_cast<std::size_t>(m_nHeight) * static_cast<std::size_t>(m_nPitch), 0);
    }
    m_nStartX = std::clamp(m_nStartX, 0, std::max(m_nWidth - 1, 0));
    m_nStartY = std::clamp(m_nStartY, 0, std::max(m_nHeight - 1, 0));
    std::erase_if(m_Points, [this](const cWorldPointData& point) {
        return !IsOnMap(point.m_nX, point.m_nY, m_nWidth, m_nHeight);
    });
}

cWorldPointData* cWorldMapData::FindPointAt(int x, int y)
{
    for (cWorldPointData& point : m_Points) {
        if (point.m_nX == x && point.m_nY == y) return &point;
    }
    return nullptr;
}

int cWorldMapData::ChipAt(int x, int y) const
{
    if (!IsOnMap(x, y, m_nWidth, m_nHeight) || m_nPitchShift < 0 || m_nPitchShift > 30) return 0;
    const std::size_t cell = (static_cast<std::size_t>(y) << m_nPitchShift) + static_cast<std::size_t>(x);
    if (cell >= m_Grid.size()) return 0;
    const int chip = m_Grid[cell];
    return chip >= 0 && static_cast<std::size_t>(chip) < m_Chips.size() ? chip : 0;
}

int cWorldMapData::HasStage(const std::string& key) const
{
    for (const cWorldPointData& point : m_Points) {
        for (const cWorldStageData& stage : point.m_Stages) {
            if (WorldStageKey(stage.m_strStageFile) == key) return 1;
        }
    }
    return 0;
}

std::string WorldStageKey(const std::string& stageFile)
{
    // '.', '-' and '1' cannot be the second byte of a double-byte character.
    std::string name = stageFile;
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    const std::size_t series = name.rfind("-1");
    if (series != std::string::npos) return name.substr(0, series) + ".";
    return name + ".";
}
