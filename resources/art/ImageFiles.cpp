#include "ImageFiles.h"

#include <cstdint>

namespace art {

namespace {

void Put16(std::string& out, std::uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Rows of both formats are padded to whole 32-bit words.
std::uint32_t RowBytes(int width, int bitsPerPixel) {
    return static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

void PutInfoHeader(std::string& out, int width, int height, int bitsPerPixel, std::uint32_t imageBytes) {
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(bitsPerPixel));
    Put32(out, 0);  // uncompressed
    Put32(out, imageBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
}

std::string IconImage(const Canvas& c) {
    const int w = c.Width();
    const int h = c.Height();
    const std::uint32_t maskRow = RowBytes(w, 1);
    std::string out;
    // An icon image states twice its height: the colour rows and then the mask rows.
    PutInfoHeader(out, w, h * 2, 32, RowBytes(w, 32) * h + maskRow * h);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            for (int ch = 0; ch < 4; ++ch) {
                out.push_back(static_cast<char>(c.Channel(x, y, ch)));
            }
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        std::string row(maskRow, '\0');
        for (int x = 0; x < w; ++x) {
            if (c.Channel(x, y, 3) == 0) {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
            }
        }
        out += row;
    }
    return out;
}

}  // namespace

std::string IconFile(const std::vector<Canvas>& images) {
    std::string out;
    Put16(out, 0);
    Put16(out, 1);  // icon, not cursor
    Put16(out, static_cast<std::uint32_t>(images.size()));
    std::vector<std::string> bodies;
    for (const Canvas& c : images) {
        bodies.push_back(IconImage(c));
    }
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<char>(images[i].Width() & 0xFF));  // 0 would mean 256
        out.push_back(static_cast<char>(images[i].Height() & 0xFF));
        out.push_back(0);  // no palette
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(bodies[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const std::string& body : bodies) {
        out += body;
    }
    return out;
}

std::string BitmapFile(const Canvas& c) {
    const std::uint32_t row = RowBytes(c.Width(), 24);
    const std::uint32_t imageBytes = row * static_cast<std::uint32_t>(c.Height());
    std::string out = "BM";
    Put32(out, 14 + 40 + imageBytes);
    Put32(out, 0);
    Put32(out, 14 + 40);
    PutInfoHeader(out, c.Width(), c.Height(), 24, imageBytes);
    for (int y = c.Height() - 1; y >= 0; --y) {
        std::string line(row, '\0');
        for (int x = 0; x < c.Width(); ++x) {
            for (int ch = 0; ch < 3; ++ch) {
                line[static_cast<std::size_t>(x * 3 + ch)] = static_cast<char>(c.Channel(x, y, ch));
            }
        }
        out += line;
    }
    return out;
}

}  // namespace art
