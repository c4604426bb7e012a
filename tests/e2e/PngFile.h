#pragma once
// A minimal PNG writer for the tests' screenshots: 8-bit RGB, no filtering, and zlib "stored" blocks, so it
// needs no compression library. The files are larger than they could be and every viewer reads them.
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::e2e {

std::uint32_t Crc32(std::string_view bytes);
std::uint32_t Adler32(std::string_view bytes);

// `rgb` holds height rows of width pixels, three bytes each, top row first. Empty when the sizes do not
// match the data or are not positive.
std::string EncodePng(int width, int height, std::string_view rgb);

}  // namespace velmora::e2e
