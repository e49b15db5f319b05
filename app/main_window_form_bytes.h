// The main window's form description as the program image carries it: the bytes that
// the build wrote from the declaration in main_window_form.cpp (app/form_writer).
#pragma once
#include <cstdint>

namespace app {

extern const uint8_t kMainWindowForm[];
extern const uint32_t kMainWindowFormLength;

}  // namespace app
