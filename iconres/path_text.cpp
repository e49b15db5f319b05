#include "iconres/path_text.h"

#include <vector>

namespace iconres {
namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Start offsets of the characters of text.
std::vector<size_t> CharacterStarts(const std::string& text) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size();) {
    starts.push_back(i);
    i += (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
  }
  return starts;
}

}  // namespace

std::string LowerText(const std::string& text) {
  std::string out = text;
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(c)) {
      ++i;  // the trail byte is part of this character
    } else if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

std::string LastThreeLower(const std::string& text) {
  std::vector<size_t> starts = CharacterStarts(text);
  if (starts.size() < 3) return {};
  size_t from = starts[starts.size() - 3];
  if (text.size() - from != 3) return {};
  return LowerText(text.substr(from));
}

std::string FolderOf(const std::string& path) {
  size_t cut = std::string::npos;
  for (size_t i : CharacterStarts(path))
    if (path[i] == '\\' || path[i] == '/') cut = i;
  if (cut == std::string::npos) return ".";
  if (cut == 0 || (cut == 2 && path[1] == ':')) return path.substr(0, cut + 1);  // a root keeps its backslash
  return path.substr(0, cut);
}

std::string FileNameOf(const std::string& path) {
  size_t from = 0;
  for (size_t i : CharacterStarts(path))
    if (path[i] == '\\' || path[i] == '/') from = i + 1;
  return path.substr(from);
}

}  // namespace iconres
