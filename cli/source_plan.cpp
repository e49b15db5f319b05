#include "cli/source_plan.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "cli/file_io.h"

namespace cli {
namespace {

std::string AsciiLower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// Adds the files under root (depth first) to plan.
void WalkFolder(const std::string& root, const std::string& outRoot, std::vector<Source>* plan) {
  std::vector<std::pair<std::string, std::string>> pending = {{root, outRoot}};  // folder, its output folder
  while (!pending.empty()) {
    const auto [folder, out] = pending.back();
    pending.pop_back();
    std::vector<FolderEntry> entries;
    std::string error;
    if (!ListFolder(folder, &entries, &error)) {
      plan->push_back({folder, out, "", "unreadable folder: " + error});
      continue;
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    for (const FolderEntry& e : entries)
      if (e.kind == PathKind::File) plan->push_back({JoinPath(folder, e.name), out, TitleOf(e.name), ""});
    for (auto e = entries.rbegin(); e != entries.rend(); ++e)
      if (e->kind == PathKind::Folder) pending.push_back({JoinPath(folder, e->name), JoinPath(out, e->name)});
  }
}

// Makes every (output folder, title) pair distinct; see PlanSources.
void SeparateTitles(std::vector<Source>* plan) {
  using Key = std::pair<std::string, std::string>;
  auto keyOf = [](const Source& s) { return Key(s.outFolder, AsciiLower(s.title)); };
  std::map<Key, int> uses;
  for (const Source& s : *plan)
    if (s.error.empty()) ++uses[keyOf(s)];
  for (Source& s : *plan)
    if (s.error.empty() && uses[keyOf(s)] > 1) s.title = FileNameOf(s.path);
  std::set<Key> taken;
  for (Source& s : *plan) {
    if (!s.error.empty()) continue;
    const std::string base = s.title;
    for (int n = 2; !taken.insert(keyOf(s)).second; ++n) s.title = base + "~" + std::to_string(n);
  }
}

}  // namespace

std::string TitleOf(const std::string& fileName) {
  const size_t dot = fileName.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

std::vector<Source> PlanSources(const Options& options) {
  std::vector<Source> plan;
  for (const std::string& path : options.paths) {
    switch (KindOfPath(path)) {
      case PathKind::Missing:
        plan.push_back({path, options.outDir, "", "unreadable: no such file or folder"});
        break;
      case PathKind::Folder:
        if (options.recursive)
          WalkFolder(path, options.outDir, &plan);
        else
          plan.push_back({path, options.outDir, "", "is a folder (use -r to walk it)"});
        break;
      default:
        plan.push_back({path, options.outDir, TitleOf(FileNameOf(path)), ""});
    }
  }
  std::set<std::string> kept;
  plan.erase(std::remove_if(plan.begin(), plan.end(), [&](const Source& s) { return !kept.insert(s.path).second; }),
             plan.end());
  SeparateTitles(&plan);
  return plan;
}

}  // namespace cli
