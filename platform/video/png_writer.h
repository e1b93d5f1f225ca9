#pragma once
// A minimal PNG encoder for saved frames: 8-bit RGB, no filtering, stored (uncompressed)
// deflate blocks, with its own CRC-32 and Adler-32.
#include <cstdint>
#include <string>
#include <vector>

namespace plat {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t Adler32(const std::uint8_t* data, std::size_t size, std::uint32_t adler = 1);

// The PNG file of a width × height picture of 0xAARRGGBB pixels (alpha dropped), top-down.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::uint32_t* argb);

// Writes it to a program path (through OpenFile); false when the file cannot be written.
bool WritePngFile(const char* path, int width, int height, const std::uint32_t* argb);

}  // namespace plat
