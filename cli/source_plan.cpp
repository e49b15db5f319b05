#include "cli/source_plan.h"

#include <algorithm>
#include <map>
#include <memory>
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

Source Planned(const std::string& path, const std::string& out, const std::string& title) {
  Source s;
  s.path = path;
  s.outFolder = out;
  s.title = title;
  return s;
}

Source Failing(const std::string& path, const std::string& out, const std::string& error) {
  Source s = Planned(path, out, "");
  s.error = error;
  return s;
}

// Adds the entries of an open folder and then those of its subfolders (depth first) to
// plan.  Each subfolder is opened relative to its parent, which stays open meanwhile.
void WalkFolder(Folder& folder, const std::string& path, const std::string& out, std::vector<Source>* plan) {
  std::vector<FolderEntry> entries;
  std::string error;
  if (!folder.List(&entries, &error)) {
    plan->push_back(Failing(path, out, "unreadable folder: " + error));
    return;
  }
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  for (const FolderEntry& e : entries) {
    if (e.kind == FolderEntry::Folder) continue;
    Source s = Planned(JoinPath(path, e.name), out, TitleOf(e.name));
    s.walked = true;
    if (e.kind == FolderEntry::Skipped) s.skip = e.reason;
    if (e.kind == FolderEntry::Failed) s.error = e.reason;
    plan->push_back(std::move(s));
  }
  for (const FolderEntry& e : entries) {
    if (e.kind != FolderEntry::Folder) continue;
    const std::string subPath = JoinPath(path, e.name);
    std::unique_ptr<Folder> sub = folder.Open(e.name, &error);
    if (sub)
      WalkFolder(*sub, subPath, JoinPath(out, e.name), plan);
    else
      plan->push_back(Failing(subPath, out, "unreadable folder: " + error));
  }
}

// Makes every (output folder, title) pair distinct; see PlanSources.
void SeparateTitles(std::vector<Source>* plan) {
  using Key = std::pair<std::string, std::string>;
  auto keyOf = [](const Source& s) { return Key(s.outFolder, AsciiLower(s.title)); };
  std::map<Key, int> uses;
  auto writes = [](const Source& s) { return s.error.empty() && s.skip.empty(); };
  for (const Source& s : *plan)
    if (writes(s)) ++uses[keyOf(s)];
  for (Source& s : *plan)
    if (writes(s) && uses[keyOf(s)] > 1) s.title = FileNameOf(s.path);
  std::set<Key> taken;
  for (Source& s : *plan) {
    if (!writes(s)) continue;
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
  std::string error;
  for (const std::string& path : options.paths) {
    switch (KindOfPath(path)) {
      case PathKind::Missing:
        plan.push_back(Failing(path, options.outDir, "unreadable: no such file or folder"));
        break;
      case PathKind::Folder:
        if (!options.recursive) {
          plan.push_back(Failing(path, options.outDir, "is a folder (use -r to walk it)"));
        } else if (std::unique_ptr<Folder> folder = OpenFolder(path, &error)) {
          WalkFolder(*folder, path, options.outDir, &plan);
        } else {
          plan.push_back(Failing(path, options.outDir, "unreadable folder: " + error));
        }
        break;
      default:
        plan.push_back(Planned(path, options.outDir, TitleOf(FileNameOf(path))));
    }
  }
  std::set<std::string> kept;
  plan.erase(std::remove_if(plan.begin(), plan.end(), [&](const Source& s) { return !kept.insert(s.path).second; }),
             plan.end());
  SeparateTitles(&plan);
  return plan;
}

}  // namespace cli
