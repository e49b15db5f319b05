// ResolveShortcut: reads a shell shortcut (.lnk) and returns the command line it
// starts (target path, then a space and the arguments when there are any).
//
// Arguments: 1 shortcut path (text; ".lnk" is appended when the lower-cased path
// holds no ".lnk"); then caller variables by reference, each filled only when that
// many arguments were passed and its tag matches: 2 target path, 3 arguments,
// 4 working folder, 5 icon location "file,index", 8 description (text variables);
// 6 show command (integer variable; 7 = minimised without activation reads 2);
// 7 hot key (integer variable: the hot-key word; or text variable: "Ctrl + " etc.
// then the key character).
// Result: a new text owned by the caller, empty when the shortcut cannot be read.
// Text variables get new texts from library 5's link; their old texts are freed there.
// COM must be initialised on the calling thread.
#pragma once
#include <cstdint>
#include <string>

#include "runtime/values.h"

namespace iconres {

// The text form of a hot-key word: modifier names in the order Ctrl, Shift, Alt,
// Ext, each followed by " + ", then the virtual-key byte as one character.
std::string HotKeyText(uint16_t hotKey);

// The show command as reported: minimised without activation (7) reads as minimised (2).
int32_t ReportedShowCommand(int32_t show);

// The file that is opened for a given path.
std::string ShortcutFileName(const std::string& path);

void __cdecl ResolveShortcut(rt::ResultRecord* result, int32_t argc, rt::ArgRecord* args);

}  // namespace iconres
