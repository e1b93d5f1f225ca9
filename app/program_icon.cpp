#include "app/program_icon.h"

#include <array>
#include <cstdint>

#include "platform/ui/icon.h"

namespace {

constexpr int kSide = 32;

// A "Q" of gold on a dark blue ground with a green tail: 16 x 16 cells of 2 x 2 pixels.
constexpr const char* kPicture[16] = {
    "....BBBBBBBB....",
    "..BBBBBBBBBBBB..",
    ".BBBYYYYYYYYBBB.",
    ".BBYYBBBBBBYYBB.",
    "BBYYBBBBBBBBYYBB",
    "BBYBBBBBBBBBBYBB",
    "BBYBBBBBBBBBBYBB",
    "BBYBBBBBBBBBBYBB",
    "BBYBBBBBBBBBBYBB",
    "BBYBBBBBBGBBBYBB",
    "BBYYBBBBBBGBYYBB",
    ".BBYYBBBBBBGYBB.",
    ".BBBYYYYYYYYGBB.",
    "..BBBBBBBBBBBGG.",
    "....BBBBBBBB..GG",
    "................",
};

constexpr std::uint32_t Colour(char cell)
{
    switch (cell) {
    case 'B': return 0xFF1A2A5Au;
    case 'Y': return 0xFFF2C230u;
    case 'G': return 0xFF3FA34Du;
    default: return 0x00000000u;  // clear
    }
}

constexpr std::array<std::uint32_t, kSide * kSide> MakePicture()
{
    std::array<std::uint32_t, kSide * kSide> pixels{};
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) pixels[static_cast<std::size_t>(y * kSide + x)] = Colour(kPicture[y / 2][x / 2]);
    return pixels;
}

constexpr std::array<std::uint32_t, kSide * kSide> s_Picture = MakePicture();

}  // namespace

void RegisterProgramIcon() { plat::SetProgramIconPicture(s_Picture.data(), kSide, kSide); }
