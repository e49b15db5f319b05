// The module reader against the platform's resource functions, over every module of
// the prefix's system folders (32-bit and 64-bit; read whole, and for the first group
// alone as a thumbnail reads it), and over modules built here: NE icon libraries and a
// module whose icons live in a .mun file.  The .ico file written from each group
// describes every image as the image's own header does.
#include <gtest/gtest.h>

#include "extract_call.h"
#include "formats/icons/ico_builder.h"
#include "iconres/ico_reader.h"
#include "iconres/module_cache.h"
#include "icon_test_support.h"
#include "icon_modules.h"
#include "platform_module_icons.h"
#include "formats/icons/icon_directory.h"
#include "tests/suite_labels.h"

using namespace iconres;
using namespace icontest;

namespace {

std::string NameOf(const ResourceName& name) {
  if (name.isId) return "#" + std::to_string(name.id);
  std::string ansi;
  for (char16_t c : name.text) ansi.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return ansi;
}

std::string BytesOf(const ModuleIcons& icons, ByteRange r) {
  return std::string(reinterpret_cast<const char*>(icons.at(r)), r.length);
}

// Each directory entry of a written .ico file against the header of the image it
// names: sides of 256 and more are 0, planes and bit count are the image's own.
void ExpectEntriesDescribeTheirImages(const std::vector<uint8_t>& file, const std::string& group) {
  const auto entries = rt::ParseIconDirectory(file.data(), file.size(), rt::IconDirectoryKind::IconFile);
  ASSERT_TRUE(entries) << group;
  for (size_t i = 0; i < entries->size(); ++i) {
    const rt::IconDirectoryEntry& e = (*entries)[i];
    const std::optional<IconImageHeader> h = ReadIconImageHeader(file.data() + e.offset, e.byteSize);
    ASSERT_TRUE(h) << group << " image " << i;
    EXPECT_EQ(e.width, h->width < 256 ? h->width : 0) << group << " image " << i;
    EXPECT_EQ(e.height, h->height < 256 ? h->height : 0) << group << " image " << i;
    EXPECT_EQ(e.planes, h->planes) << group << " image " << i;
    EXPECT_EQ(e.bitCount, h->bitCount) << group << " image " << i;
  }
}

}  // namespace

PURE_SUITE(ModuleResources);

TEST(ModuleResources, EveryModuleOfTheSystemFoldersReadsAsThePlatformReadsIt) {
  // This program is 32-bit: system32 is the 32-bit folder for it, sysnative the 64-bit
  // one.  Two modules built byte by byte (as the fuzz seeds are) join them.  Besides
  // mixed groups they hold group 13 in German and neutral and group 14 in German and
  // Japanese only, each language with its own images under the same ids: the lookup
  // picks neutral for one, the directory's first language for the other.  Their
  // resource section's raw size ends exactly where the last image ends.
  TempFolder built;
  std::vector<std::vector<iconmodules::Bytes>> mixed;
  for (int n = 0; n < 12; ++n) mixed.push_back(iconmodules::MixedGroupImages(n));
  auto resources = [&mixed] {
    using iconmodules::BitmapImage;
    using iconmodules::IconResources;
    std::vector<iconmodules::PeResource> all;
    auto add = [&all](const std::vector<iconmodules::PeResource>& more) {
      all.insert(all.end(), more.begin(), more.end());
    };
    add(IconResources({{BitmapImage(32, 4, 50)}}, 0x407, 13, 200));
    add(IconResources({{BitmapImage(16, 32, 51), BitmapImage(32, 8, 52)}}, 0, 13, 200));
    add(IconResources({{BitmapImage(48, 32, 53)}}, 0x407, 14, 210));
    add(IconResources({{BitmapImage(32, 1, 54)}}, 0x411, 14, 210));
    add(IconResources(mixed));
    return all;
  };
  for (bool plus : {false, true}) {
    const std::string name = plus ? "built64.dll" : "built32.dll";
    ASSERT_TRUE(WriteWholeFile(built / name, iconmodules::BuildPeModule(resources(), plus)));
  }
  int modules = 0, withIcons = 0, groups = 0, images = 0, pe32Plus = 0;
  auto check = [&](const std::string& path) {
    SCOPED_TRACE(path);
    const std::optional<std::vector<testref::PlatformGroup>> reference = testref::PlatformIconGroups(path);
    if (!reference) return;  // not a module for the platform either
    ++modules;
    std::shared_ptr<const ModuleIcons> icons = CachedModuleIcons(path);
    ASSERT_TRUE(icons);
    if (icons->format == ModuleFormat::Pe32Plus) ++pe32Plus;
    ASSERT_EQ(icons->groups.size(), reference->size());
    withIcons += reference->empty() ? 0 : 1;
    if (!reference->empty()) {
      // Read for a thumbnail, with only the first group: that group, whole.
      const std::vector<uint8_t> file = ReadWholeFile(path);
      MemorySource source(file.data(), file.size());
      std::optional<ModuleIcons> first = ReadModuleIcons(source, PlatformLanguageOrder(), nullptr, 1);
      ASSERT_TRUE(first);
      ASSERT_EQ(first->groups.size(), 1u);
      EXPECT_EQ(BytesOf(*first, first->groups[0].directory), reference->front().directory);
      std::optional<IconImageSet> set = MakeIconImageSet(std::make_shared<const ModuleIcons>(std::move(*first)), 0);
      ASSERT_TRUE(set);
      ASSERT_EQ(set->count(), reference->front().images.size());
      for (size_t i = 0; i < set->images.size(); ++i)
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(set->images[i].data()), set->images[i].length()),
                  reference->front().images[i]);
    }
    for (size_t g = 0; g < reference->size(); ++g) {
      const ModuleIconGroup& group = icons->groups[g];
      const testref::PlatformGroup& expected = (*reference)[g];
      ASSERT_EQ(NameOf(group.name), expected.name) << "group " << g;
      ASSERT_EQ(BytesOf(*icons, group.directory), expected.directory) << "group " << expected.name;
      std::optional<IconImageSet> set = MakeIconImageSet(icons, g);
      ASSERT_TRUE(set) << "group " << expected.name;
      ASSERT_EQ(set->count(), expected.images.size());
      for (size_t i = 0; i < expected.images.size(); ++i)
        ASSERT_EQ(std::string(reinterpret_cast<const char*>(set->images[i].data()), set->images[i].length()), expected.images[i])
            << "group " << expected.name << " image " << i;
      ExpectEntriesDescribeTheirImages(BuildIconFile(*set), expected.name);
      ++groups;
      images += static_cast<int>(expected.images.size());
    }
  };
  for (const std::string& folder : {WindowsFolder() + "\\system32", WindowsFolder() + "\\sysnative", built.path()})
    for (const std::string& path : ModulesIn(folder)) {
      check(path);
      if (HasFatalFailure()) return;
    }
  std::printf("%d modules (%d PE32+), %d with icons, %d groups, %d images\n", modules, pe32Plus, withIcons, groups,
              images);
  EXPECT_GT(modules, 100);
  EXPECT_GT(pe32Plus, 50);
  EXPECT_GT(groups, 100);

  // The module read last, rewritten in place at the same size with other image bytes
  // and a newer write time, is read again.
  const std::string last = built / "built64.dll";
  ASSERT_TRUE(CachedModuleIcons(last));
  WIN32_FILE_ATTRIBUTE_DATA before;
  ASSERT_TRUE(GetFileAttributesExA(last.c_str(), GetFileExInfoStandard, &before));
  for (std::vector<iconmodules::Bytes>& group : mixed)
    for (iconmodules::Bytes& image : group) image.back() ^= 0xFF;
  const iconmodules::Bytes rewritten = iconmodules::BuildPeModule(resources(), true);
  ASSERT_EQ(rewritten.size(), before.nFileSizeLow);
  ASSERT_TRUE(WriteWholeFile(last, rewritten));
  const uint64_t later = (uint64_t(before.ftLastWriteTime.dwHighDateTime) << 32 | before.ftLastWriteTime.dwLowDateTime) +
                         10 * 10000000ull;  // ten seconds on
  const FILETIME written = {static_cast<DWORD>(later), static_cast<DWORD>(later >> 32)};
  HANDLE file = CreateFileA(last.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
  CloseHandle(file);
  check(last);

  // The same module with the section's raw data ending one byte before its last image
  // does: that image lies partly in memory the loader fills with zeros, so the group
  // that names it (group 12) loads as nothing, and only that group.
  const std::string cut = built / "cut.dll";
  ASSERT_TRUE(WriteWholeFile(cut, iconmodules::BuildPeModule(resources(), false, 1)));
  std::shared_ptr<const ModuleIcons> icons = CachedModuleIcons(cut);
  ASSERT_TRUE(icons);
  ASSERT_EQ(icons->groups.size(), 14u);
  for (size_t g = 0; g < icons->groups.size(); ++g) EXPECT_EQ(MakeIconImageSet(icons, g).has_value(), g != 11) << g;
}

TEST(ModuleResources, NeIconLibraryExtractsToExactIconFiles) {
  TempFolder dir;
  const std::vector<iconmodules::NeGroup> library = iconmodules::SampleNeGroups();
  const std::string path = dir / "sample.icl";
  ASSERT_TRUE(WriteWholeFile(path, iconmodules::BuildNeIconLibrary(library)));
  for (size_t n = 1; n <= library.size(); ++n) {
    SCOPED_TRACE("group " + std::to_string(n));
    const std::string target = dir / ("sample-" + std::to_string(n) + ".ico");
    ASSERT_EQ(ExtractTo(path, target, static_cast<int32_t>(n)), static_cast<int32_t>(library.size()));
    std::optional<IconImageSet> back = ReadIconFile(target);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->count(), library[n - 1].images.size());
    for (size_t i = 0; i < back->images.size(); ++i)
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(back->images[i].data()), back->images[i].length()),
                testref::AsWrittenToIco(std::string(library[n - 1].images[i].begin(), library[n - 1].images[i].end())))
          << "image " << i;  // exactly the image, none of the table's alignment padding
    // The file ends with its last image.
    EXPECT_EQ(ReadWholeFile(target).size(), iconmodules::IcoFileSize(library[n - 1].images));
  }
}

TEST(ModuleResources, ModuleWithoutIconsIsReadFromItsMunFile) {
  // A module without icon groups, and icons for it in <Windows>\SystemResources\<name>.mun.
  TempFolder dir;
  const std::string name = "munprobe" + std::to_string(GetCurrentProcessId()) + ".dll";
  const std::string module = dir / name;
  ASSERT_TRUE(CopyFileA(FixtureDll().c_str(), module.c_str(), FALSE));
  const std::string resources = WindowsFolder() + "\\SystemResources";
  CreateDirectoryA(resources.c_str(), nullptr);
  const std::string mun = resources + "\\" + name + ".mun";
  const std::vector<uint8_t> big = MakeDib(32, 32, 4), small = MakeDib(16, 16, 32);
  ASSERT_TRUE(MakeModule(mun, {Icon(1, big), Icon(2, small),
                               Group(1, MakeGroup({{1, static_cast<uint32_t>(big.size())},
                                                   {2, static_cast<uint32_t>(small.size())}}))}));

  EXPECT_EQ(ExtractTo(module, dir / "m.ico", 1), 1);
  std::optional<IconImageSet> back = ReadIconFile(dir / "m.ico");
  ASSERT_TRUE(back);
  EXPECT_EQ(back->count(), 2u);

  // Without the .mun file the module has no icons, and the cache sees the change.
  ASSERT_TRUE(DeleteFileA(mun.c_str()));
  EXPECT_EQ(ExtractTo(module, dir / "n.ico", 1), 0);
  // The reader holds no file open: the module can be renamed while it is cached.
  EXPECT_TRUE(MoveFileA(module.c_str(), (dir / "renamed.dll").c_str()));
  RemoveDirectoryA(resources.c_str());
}

TEST(ModuleResources, GroupsTooLargeToWriteFailCleanly) {
  // One image named 65,535 times, in a module and in an .ico file: the group is read,
  // but its file would pass the size limit, so the call fails and leaves nothing behind.
  TempFolder dir;
  const std::string module = dir / "crafted.dll", ico = dir / "crafted.ico";
  ASSERT_TRUE(iconmodules::WriteCraftedModule(FixtureDll(), module));
  ASSERT_TRUE(WriteWholeFile(ico, iconmodules::CraftedIcoFile()));
  for (const std::string& source : {module, ico}) {
    SCOPED_TRACE(source);
    EXPECT_EQ(ExtractTo(source, dir / "out.ico", 1), 0);
    EXPECT_FALSE(FileExists(dir / "out.ico"));
  }
  EXPECT_EQ(FilesIn(dir.path()).size(), 2u);
}
