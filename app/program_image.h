// The application's program image: the ProgramHeader with its constant block, the
// form description of the main window, the six libraries and the DLL declarations.
#pragma once
#include "runtime/program_image.h"

namespace app {

// Builds the image once (the form description is written from its declaration here,
// before the runtime reads it) and returns the header.
const rt::ProgramHeader& ProgramHeader();

}  // namespace app
