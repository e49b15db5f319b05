#include "cli/icon_export.h"

#include <cstdio>
#include <memory>
#include <new>
#include <stdexcept>

#include "cli/file_io.h"
#include "cli/png_export.h"
#include "formats/icons/ico_builder.h"

namespace cli {
namespace {

std::string GroupText(const Source& source, size_t number, const iconres::ResourceName& name) {
  return ShownPath(source.path) + ": icon " + std::to_string(number) + " (" + NameText(name) + ")";
}

// A file without icons: a failure when it was named, skipped when a walk found it.
void NoIcons(const Source& source, const std::string& why, FileReport* report) {
  const std::string shown = ShownPath(source.path);
  if (source.walked)
    report->skipped = shown + ": skipped: " + why;
  else
    report->failures.push_back(shown + ": " + why);
}

void Export(const Source& source, const Options& options, FileReport* report) {
  const std::string shown = ShownPath(source.path);
  if (!source.error.empty()) {
    report->failures.push_back(shown + ": " + source.error);
    return;
  }
  if (!source.skip.empty()) return NoIcons(source, source.skip, report);
  std::shared_ptr<const iconres::ModuleIcons> icons;
  std::string error;
  switch (ReadModuleFile(source.path, &icons, &error)) {
    case ReadOutcome::Unreadable:
      report->failures.push_back(shown + ": unreadable: " + error);
      return;
    case ReadOutcome::NotRegular:
      return NoIcons(source, "not a regular file", report);
    case ReadOutcome::NotModule:
      return NoIcons(source, "not a module", report);
    case ReadOutcome::Damaged:
      report->failures.push_back(shown + ": damaged module: " + error);
      return;
    case ReadOutcome::Read:
      break;
  }
  if (icons->groups.empty()) return NoIcons(source, "no icons", report);
  report->hasIcons = true;
  bool folderReady = false;
  std::string folderError;
  for (size_t i = 0; i < icons->groups.size(); ++i) {
    const size_t number = i + 1;
    const iconres::ResourceName& name = icons->groups[i].name;
    std::string why;
    const std::optional<iconres::IconImageSet> set = iconres::MakeIconImageSet(icons, i, &why);
    if (!set) {
      report->failures.push_back(GroupText(source, number, name) + ": " + why);
      continue;
    }
    if (options.list) {
      report->listLines.push_back(shown + "\t" + std::to_string(number) + "\t" + NameText(name) + "\t" +
                                  ImagesText(*set));
      ++report->written;
      continue;
    }
    // Writes one file into the source's output folder, made on the first write.
    auto write = [&](const std::string& fileName, const iconres::ContentWriter& content) {
      const std::string target = JoinPath(source.outFolder, fileName);
      if (!folderReady && folderError.empty()) folderReady = MakeFolders(source.outFolder, &folderError);
      if (!folderReady) {
        report->failures.push_back(ShownPath(target) + ": write failed: " + folderError);
      } else if (!WriteFileAtomically(target, content, &error)) {
        report->failures.push_back(ShownPath(target) + ": write failed: " + error);
      } else {
        ++report->written;
      }
    };
    if (options.png) {
      const std::vector<size_t> chosen = ChooseImages(*set, options.size);
      const std::vector<std::string> names = PngFileNames(source.title, number, *set, chosen);
      for (size_t k = 0; k < chosen.size(); ++k) {
        const iconres::IconImageEntry& image = set->images[chosen[k]];
        std::vector<uint8_t> png;
        if (!PngOfImage(image, &png, &error)) {
          report->failures.push_back(GroupText(source, number, name) + ": image " + std::to_string(chosen[k] + 1) +
                                     " (" + std::to_string(image.width) + "x" + std::to_string(image.height) +
                                     "): cannot be converted: " + error);
          continue;
        }
        write(names[k], [&png](iconres::ByteSink& out) { return out.Write(png.data(), png.size()); });
      }
      continue;
    }
    if (iconres::IconFileSize(*set) > iconres::kMaxIconFileSize) {
      report->failures.push_back(GroupText(source, number, name) + ": too large for an .ico file");
      continue;
    }
    // Streamed from the module's bytes: memory does not grow with the file.
    write(source.title + "-" + std::to_string(number) + ".ico",
          [&set](iconres::ByteSink& out) { return iconres::StreamIconFile(*set, out); });
  }
}

}  // namespace

FileReport ExportFile(const Source& source, const Options& options) {
  FileReport report;
  try {
    Export(source, options, &report);
  } catch (const std::bad_alloc&) {
    report.failures.push_back(ShownPath(source.path) + ": out of memory");
  } catch (const std::exception& e) {
    report.failures.push_back(ShownPath(source.path) + ": failed: " + e.what());
  }
  return report;
}

std::string NameText(const iconres::ResourceName& name) {
  if (name.isId) return std::to_string(name.id);
  std::string text = "\"";
  for (char16_t c : name.text) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      text += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(c));
      text += escaped;
    }
  }
  return text + "\"";
}

std::string ImagesText(const iconres::IconImageSet& set) {
  std::string text;
  for (const iconres::IconImageEntry& e : set.images) {
    if (!text.empty()) text += ", ";
    text += std::to_string(e.width) + "x" + std::to_string(e.height) + " " + std::to_string(e.colorBits) + "-bit";
    if (!e.IsDib()) text += " PNG";
  }
  return text.empty() ? "no images" : text;
}

}  // namespace cli
