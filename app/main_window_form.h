// The form description of the main window: one window record with sixteen elements
// (the window, nine components and six menu items), written with the runtime's form
// description writer from the declaration in main_window_form.cpp.
#pragma once
#include <cstdint>
#include <vector>

#include "formats/records/form_description.h"

namespace app {

// The window table as declared (routine references as offsets from CodeBase()).
rt::WindowTable MainWindowTable();
// Its serialised form, as the ProgramHeader carries it.
std::vector<uint8_t> MainWindowFormDescription();

}  // namespace app
