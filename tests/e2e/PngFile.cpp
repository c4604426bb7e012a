#include "tests/e2e/PngFile.h"

#include <algorithm>
#include <array>

namespace velmora::e2e {

namespace {

const std::array<std::uint32_t, 256>& CrcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void PutBigEndian(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>((v >> shift) & 0xFF));
    }
}

void PutChunk(std::string& out, const char* type, std::string_view data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::string typed = type;
    typed.append(data);
    out += typed;
    // The checksum covers the type and the data, not the length.
    PutBigEndian(out, Crc32(typed));
}

// A zlib stream of uncompressed blocks: each holds at most 65535 bytes.
std::string StoredZlib(std::string_view raw) {
    std::string out = {'\x78', '\x01'};
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - pos, 65535);
        const bool last = pos + n == raw.size();
        out.push_back(last ? '\x01' : '\x00');
        out.push_back(static_cast<char>(n & 0xFF));
        out.push_back(static_cast<char>(n >> 8));
        out.push_back(static_cast<char>(~n & 0xFF));
        out.push_back(static_cast<char>((~n >> 8) & 0xFF));
        out.append(raw.substr(pos, n));
        pos += n;
    } while (pos < raw.size());
    PutBigEndian(out, Adler32(raw));
    return out;
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        c = CrcTable()[(c ^ b) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(std::string_view bytes) {
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (unsigned char byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

std::string EncodePng(int width, int height, std::string_view rgb) {
    if (width <= 0 || height <= 0 ||
        rgb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
        return {};
    }
    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header +=
        {'\x08', '\x02', '\x00', '\x00', '\x00'};  // 8 bits, RGB, deflate, no filter choice, no interlace

    const std::size_t row = static_cast<std::size_t>(width) * 3;
    std::string raw;
    raw.reserve((row + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back('\0');  // each row starts with its filter type: none
        raw.append(rgb.substr(static_cast<std::size_t>(y) * row, row));
    }

    std::string png = "\x89PNG\r\n\x1A\n";
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});
    return png;
}

}  // namespace velmora::e2e
