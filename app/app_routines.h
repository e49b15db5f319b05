// The application's routines.  Event routines follow the dispatcher's convention
// (runtime/event_dispatch.h): __stdcall, 32-bit word arguments, a uint64_t result whose
// high word says whether the routine answered; none of these answers.
#pragma once
#include <windows.h>

#include <cstdint>

namespace app {

// Program globals (texts, empty at start), released by the exit routine.
extern char* g_currentIconSource;    // the file whose icons the list shows
extern char* g_browseInitialFolder;  // the folder the folder browser preselects

// program_entry.cpp
int32_t __stdcall ProgramEntry();
void __stdcall ExitRoutine();

// main_window_handlers.cpp
uint64_t __stdcall OnWindowCreated();
uint64_t __stdcall OnAbout();

// load_icons.cpp
void LoadIconsFromFile(char** path);
char* AssociatedProgramOf(const char* file);  // new text
uint64_t __stdcall OnBrowseClicked();
uint64_t __stdcall OnLoadClicked();
uint64_t __stdcall OnFilesDropped(char** droppedText);

// extract_icons.cpp
uint64_t __stdcall OnListRightClicked();
uint64_t __stdcall ExtractAllIcons();
uint64_t __stdcall ExtractSelectedIcons();

// browse_for_folder.cpp
struct OptionalFlag {
  bool value = false;
  bool given = false;
};
// Returns a new text: the chosen folder, or null when the dialog was cancelled.
// title null stands for the omitted title.
char* BrowseForFolder(char** initialFolder, char** title, OptionalFlag includeFiles = {},
                      OptionalFlag showEditBox = {}, OptionalFlag newDialogStyle = {});
int32_t __stdcall BrowseCallback(HWND dialog, UINT message, LPARAM parameter, LPARAM data);

// file_title.cpp: the file name without folder and extension, as a new text.
char* FileTitleOf(char** path);

// timed_message.cpp: caption null stands for the omitted caption ("提示：").
void ShowTimedMessage(char** message, char** caption, int32_t milliseconds);

}  // namespace app
