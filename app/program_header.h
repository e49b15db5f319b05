// The application's program image: the ProgramHeader with its constant block, the
// form description of the main window, the six libraries and the DLL declarations.
#pragma once
#include "runtime/program_image.h"

namespace app {

// Builds the header once (the constant block is prepared with it; the form description
// is the build's main_window_form_bytes) and returns it.
const rt::ProgramHeader& ProgramHeader();

}  // namespace app
