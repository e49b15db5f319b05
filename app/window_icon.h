// The main window's icon: an .ico file with one 16 x 16 image of 32 bits per pixel.
#pragma once
#include <cstdint>
#include <vector>

namespace app {

constexpr size_t kWindowIconFileSize = 1150;  // 6 + 16 + 40 + 16*16*4 + 16*4
std::vector<uint8_t> WindowIconFile();

}  // namespace app
