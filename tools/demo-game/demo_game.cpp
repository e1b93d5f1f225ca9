#include "tools/demo-game/demo_game.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include "data/palette_data.h"
#include "data/system_data.h"
#include "data/world_map_data.h"
#include "platform/os/files.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPaletteWidth = 16;
constexpr int kPaletteHeight = 24;  // the colour block starts at row 8
constexpr int kDebugWidth = 128;    // 16 cells of 8 x 16 per row, 16 rows
constexpr int kDebugHeight = 256;
constexpr int kCubeColors = 216;

void PutU16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void PutU32(std::string& out, std::uint32_t value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// An 8-bit bitmap file (40-byte header, bottom-up, 256-colour table) from top-down indices.
std::string Bitmap8(int width, int height, const std::vector<std::uint8_t>& indices)
{
    const int stride = (width + 3) / 4 * 4;
    const std::uint32_t pixelBytes = static_cast<std::uint32_t>(stride * height);
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    std::string file = "BM";
    PutU32(file, offset + pixelBytes);
    PutU32(file, 0);
    PutU32(file, offset);
    PutU32(file, 40);
    PutU32(file, static_cast<std::uint32_t>(width));
    PutU32(file, static_cast<std::uint32_t>(height));
    PutU16(file, 1);
    PutU16(file, 8);
    PutU32(file, 0);  // no compression
    PutU32(file, pixelBytes);
    PutU32(file, 2835);
    PutU32(file, 2835);
    PutU32(file, 256);
    PutU32(file, 0);
    for (int i = 0; i < 256; ++i) PutU32(file, DemoPaletteColor(i));  // blue, green, red, 0
    for (int y = height - 1; y >= 0; --y) {
        std::string row(static_cast<std::size_t>(stride), '\0');
        for (int x = 0; x < width; ++x)
            row[static_cast<std::size_t>(x)] = static_cast<char>(indices[static_cast<std::size_t>(y * width + x)]);
        file += row;
    }
    return file;
}

std::string PaletteBitmap()
{
    std::vector<std::uint8_t> indices(kPaletteWidth * kPaletteHeight, 0);
    for (int i = 0; i < 256; ++i) indices[static_cast<std::size_t>((8 + i / 16) * kPaletteWidth + i % 16)] = static_cast<std::uint8_t>(i);
    return Bitmap8(kPaletteWidth, kPaletteHeight, indices);
}

std::string DebugBitmap()
{
    return Bitmap8(kDebugWidth, kDebugHeight, std::vector<std::uint8_t>(kDebugWidth * kDebugHeight, 0));
}

// Every key of the System data with its default value, the window mode set to a window.
std::string SystemIni(const cSystemData& system)
{
    std::string text;
    for (const cBootOptionData& option : system.m_BootOptions) {
        std::string value = option.m_nKind == 1 ? option.m_strValue : std::to_string(option.m_nValue);
        if (option.m_strKey == "WindowMode") value = "1";
        text += option.m_strKey + "=" + value + "\n";
    }
    return text + "Exit\n";
}

bool WriteFile(const std::string& path, const std::string& bytes, std::string& error)
{
    FILE* file = plat::OpenFile(path.c_str(), "wb");
    bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file && std::fclose(file) != 0) written = false;
    if (!written) error = "cannot write " + plat::NativePath(path.c_str());
    return written;
}

}  // namespace

std::uint32_t DemoPaletteColor(int index)
{
    if (index <= 0 || index > 255) return 0xFF00FF;
    if (index <= kCubeColors) {
        const int n = index - 1;
        const std::uint32_t r = static_cast<std::uint32_t>(n / 36 * 51), g = static_cast<std::uint32_t>(n / 6 % 6 * 51),
                            b = static_cast<std::uint32_t>(n % 6 * 51);
        return r << 16 | g << 8 | b;
    }
    const std::uint32_t grey = static_cast<std::uint32_t>((index - kCubeColors) * 255 / (255 - kCubeColors));
    return grey << 16 | grey << 8 | grey;
}

namespace {

// The 8-bit blend table: entry [a × 256 + b] is the palette colour nearest to the mean of
// colours a and b (index 0, the transparent colour, takes the other one).
std::string BlendTable()
{
    std::string table(65536, '\0');
    std::map<std::uint32_t, std::uint8_t> nearest;
    auto channel = [](std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
            const std::uint32_t ca = DemoPaletteColor(a), cb = DemoPaletteColor(b);
            int index = a == 0 ? b : a;
            if (a != 0 && b != 0) {
                const std::uint32_t mean = static_cast<std::uint32_t>((channel(ca, 16) + channel(cb, 16)) / 2) << 16 |
                                           static_cast<std::uint32_t>((channel(ca, 8) + channel(cb, 8)) / 2) << 8 |
                                           static_cast<std::uint32_t>((channel(ca, 0) + channel(cb, 0)) / 2);
                auto found = nearest.find(mean);
                if (found == nearest.end()) {
                    int best = 1, bestDistance = 1 << 30;
                    for (int i = 1; i < 256; ++i) {
                        const std::uint32_t c = DemoPaletteColor(i);
                        const int dr = channel(c, 16) - channel(mean, 16), dg = channel(c, 8) - channel(mean, 8),
                                  db = channel(c, 0) - channel(mean, 0);
                        const int distance = dr * dr + dg * dg + db * db;
                        if (distance < bestDistance) best = i, bestDistance = distance;
                    }
                    found = nearest.emplace(mean, static_cast<std::uint8_t>(best)).first;
                }
                index = found->second;
            }
            table[static_cast<std::size_t>(a) * 256 + static_cast<std::size_t>(b)] = static_cast<char>(index);
        }
    return table;
}

bool SaveRecord(cDataRecord& record, const std::string& path, std::string& error)
{
    if (record.Save(path.c_str())) return true;
    error = "cannot write " + plat::NativePath(path.c_str());
    return false;
}

}  // namespace

bool BuildDemoGame(const std::string& folder, std::string& error)
{
    std::error_code failure;
    fs::create_directories(folder, failure);
    const fs::path absolute = fs::absolute(folder, failure);
    std::string root;
    if (failure || !plat::ToProgramPath(absolute.lexically_normal().string(), root)) {
        error = "the folder " + folder + " cannot be made or has no CP932 name";
        return false;
    }
    if (!root.empty() && root.back() == '\\') root.pop_back();
    for (const char* sub : {"\\data", "\\bmp", "\\bmp\\plt", "\\bmp\\hbt"}) CreateDirectoryA((root + sub).c_str(), nullptr);

    cSystemData system;
    system.m_strTitle = kDemoGameTitle;
    // The story's world map is a new map of the editor.
    cWorldMapData worldMap;
    cPaletteData palette;
    if (!SaveRecord(system, root + "\\data\\System.dat", error) ||
        !SaveRecord(worldMap, root + "\\data\\WorldMap.dat", error) ||
        !SaveRecord(palette, root + "\\data\\CommonPalette.cplt4", error))
        return false;
    // One blend table per window colour of the options (8-bit displays read them).
    const std::string blendTable = BlendTable();
    for (int n = 0; n < 24; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "\\bmp\\hbt\\hbt%02d.dat", n);
        if (!WriteFile(root + name, blendTable, error)) return false;
    }
    return WriteFile(root + "\\System.ini", SystemIni(system), error) &&
           WriteFile(root + "\\bmp\\plt\\Palette.bmp", PaletteBitmap(), error) &&
           WriteFile(root + "\\bmp\\Debug.bmp", DebugBitmap(), error);
}
