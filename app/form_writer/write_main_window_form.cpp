// Build step: writes the main window's form description, serialised with the runtime's
// writer from the declaration in app/main_window_form.cpp, as a C++ source file that
// defines kMainWindowForm (app/main_window_form_bytes.h).
//   main_window_form_writer OUTPUT.cpp
// The file is written under a temporary name and renamed, so a failed run leaves no
// half-written source behind.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window_form.h"

namespace {

std::string SourceText(const std::vector<uint8_t>& form) {
  std::string text =
      "// Written by main_window_form_writer from app/main_window_form.cpp; do not edit.\n"
      "#include \"app/main_window_form_bytes.h\"\n\n"
      "namespace app {\n\n"
      "extern const uint8_t kMainWindowForm[] = {";
  char number[8];
  for (size_t i = 0; i < form.size(); ++i) {
    text += i % 16 == 0 ? "\n   " : "";
    std::snprintf(number, sizeof number, " %u,", form[i]);
    text += number;
  }
  text += "\n};\nextern const uint32_t kMainWindowFormLength = " + std::to_string(form.size()) + ";\n\n}  // namespace app\n";
  return text;
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".part";
  FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  if (!MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: main_window_form_writer OUTPUT.cpp\n");
    return 2;
  }
  const std::vector<uint8_t> form = app::MainWindowFormDescription();
  if (!WriteWholeFile(argv[1], SourceText(form))) {
    std::fprintf(stderr, "main_window_form_writer: cannot write %s\n", argv[1]);
    return 1;
  }
  std::printf("main window form description: %u bytes\n", static_cast<unsigned>(form.size()));
  return 0;
}
