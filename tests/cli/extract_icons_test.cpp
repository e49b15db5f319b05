// extract-icons.exe run as a program: its files against those the library's own
// extraction writes, its list, its failures and exit codes, folder walking, and its
// PNG output.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "icon_modules.h"
#include "iconres/extract_call.h"
#include "formats/icons/icon_decoder.h"
#include "tool_run.h"
#include "tests/suite_labels.h"

using namespace clitest;
using icontest::ReadWholeFile;
using icontest::TempFolder;
using icontest::WriteWholeFile;

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string SystemModule(const char* name) {
  char dir[MAX_PATH];
  const UINT n = GetSystemDirectoryA(dir, MAX_PATH);
  return std::string(dir, n) + "\\" + name;
}

bool WriteGeneratedModule(const std::string& path, int groups) {
  return iconmodules::WriteIconModule(icontest::FixtureDll(), path, groups);
}

bool WriteNeLibrary(const std::string& path) {
  return WriteWholeFile(path, iconmodules::BuildNeIconLibrary(iconmodules::SampleNeGroups()));
}

// "32x32 4-bit" for a bitmap image, "256x256 32-bit PNG" for a generated PNG (RGBA).
std::string ImageText(const iconmodules::Bytes& image) {
  if (image[1] == 'P') return "256x256 32-bit PNG";
  const int32_t width = static_cast<int32_t>(icontest::Read32(image, 4));
  const int32_t height = static_cast<int32_t>(icontest::Read32(image, 8)) / 2;
  return std::to_string(width) + "x" + std::to_string(height) + " " + std::to_string(icontest::Read16(image, 14)) +
         "-bit";
}

std::string ImagesText(const std::vector<iconmodules::Bytes>& images) {
  std::string text;
  for (const iconmodules::Bytes& image : images) text += (text.empty() ? "" : ", ") + ImageText(image);
  return text;
}

// Checks that each file of `written` equals group n of `module` written by ExtractFileIcon.
void ExpectSameAsLibrary(const std::string& module, const std::vector<std::pair<std::string, int32_t>>& written) {
  TempFolder ref;
  for (const auto& [file, n] : written) {
    SCOPED_TRACE(file);
    ASSERT_GT(icontest::ExtractTo(module, ref / "group.ico", n), 0);
    const std::vector<uint8_t> expected = ReadWholeFile(ref / "group.ico");
    const std::vector<uint8_t> actual = ReadWholeFile(file);
    EXPECT_EQ(actual.size(), expected.size());
    EXPECT_TRUE(actual == expected);
  }
}

}  // namespace

PURE_SUITE(ExtractIcons);

TEST(ExtractIcons, FilesEqualWhatTheLibraryWrites) {
  TempFolder in, out;
  ASSERT_TRUE(WriteGeneratedModule(in / "generated.dll", 45));
  ASSERT_TRUE(WriteNeLibrary(in / "library.icl"));
  const std::vector<std::pair<std::string, std::string>> modules = {{SystemModule("shell32.dll"), "shell32"},
                                                                    {SystemModule("comdlg32.dll"), "comdlg32"},
                                                                    {in / "generated.dll", "generated"},
                                                                    {in / "library.icl", "library"}};
  std::string arguments = "-j 3 -o " + Quoted(out.path());
  for (const auto& m : modules) arguments += " " + Quoted(m.first);
  const ToolRun run = RunTool(arguments);
  EXPECT_EQ(run.exitCode, 0u) << run.err;

  std::vector<std::string> expected;
  for (const auto& [module, title] : modules) {
    const int32_t groups = icontest::ExtractTo(module, in / "probe.ico", 1);
    ASSERT_GT(groups, 0) << module;
    std::vector<std::pair<std::string, int32_t>> written;
    for (int32_t n = 1; n <= groups; ++n) {
      expected.push_back(title + "-" + std::to_string(n) + ".ico");
      written.push_back({out / expected.back(), n});
    }
    ExpectSameAsLibrary(module, written);
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FilesUnder(out.path()), expected);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "4 files (4 with icons), " + std::to_string(expected.size()) + " icons written, 0 skipped, 0 failed\n");
}

TEST(ExtractIcons, ListShowsEachGroupsImagesAndWritesNothing) {
  // The first file takes longest, so one worker is still on it while others finish
  // the rest: the list must still come in the order of the files.
  TempFolder in, cwd;
  const int kGroups = 200;
  ASSERT_TRUE(WriteGeneratedModule(in / "generated.dll", kGroups));
  ASSERT_TRUE(WriteNeLibrary(in / "library.icl"));
  std::string expected;
  for (int n = 0; n < kGroups; ++n)
    expected += in / "generated.dll" + "\t" + std::to_string(n + 1) + "\t" + std::to_string(n + 1) + "\t" +
                ImagesText(iconmodules::MixedGroupImages(n)) + "\n";
  // The named group's quote, backslash and byte 0xC0 come escaped.
  const std::vector<iconmodules::NeGroup> ne = iconmodules::SampleNeGroups();
  for (size_t n = 0; n < ne.size(); ++n) {
    const std::string name = ne[n].name.empty() ? std::to_string(n + 1) : "\"NA\\u0022ME\\u005CD\\u00C0\"";
    expected += in / "library.icl" + "\t" + std::to_string(n + 1) + "\t" + name + "\t" + ImagesText(ne[n].images) + "\n";
  }
  for (const char* jobs : {"-j 1", "-j 4"}) {
    SCOPED_TRACE(jobs);
    const ToolRun run =
        RunTool(std::string("--list ") + jobs + " " + Quoted(in / "generated.dll") + " " + Quoted(in / "library.icl"),
                cwd.path());
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "2 files (2 with icons), " + std::to_string(kGroups + ne.size()) +
                           " icons listed, 0 skipped, 0 failed\n");
  }
  EXPECT_TRUE(FilesUnder(cwd.path()).empty());
}

TEST(ExtractIcons, FailuresAreNamedWithTheirReasonsAndExitCodes) {
  TempFolder in, out;
  const std::string missing = in / "missing.dll", text = in / "notes.txt", plain = in / "plain.dll",
                    good = in / "good.dll", blocker = in / "blocker";
  ASSERT_TRUE(WriteWholeFile(text, {'h', 'e', 'l', 'l', 'o', '\r', '\n'}));
  ASSERT_TRUE(CopyFileA(icontest::FixtureDll().c_str(), plain.c_str(), FALSE));
  ASSERT_TRUE(WriteGeneratedModule(good, 3));
  ASSERT_TRUE(WriteWholeFile(blocker, {'x'}));
  const std::vector<std::string> inputs = FilesUnder(in.path());

  // Each bad file named on the command line fails with its reason, a device among them;
  // the good one is still written.
  ToolRun run = RunTool("-o " + Quoted(out.path()) + " " + Quoted(missing) + " " + Quoted(text) + " " + Quoted(plain) +
                        " NUL " + Quoted(good));
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(Lines(run.err), (std::vector<std::string>{missing + ": unreadable: no such file or folder",
                                                      text + ": not a module", plain + ": no icons",
                                                      "NUL: not a regular file",
                                                      "5 files (1 with icons), 3 icons written, 0 skipped, 4 failed"}));
  EXPECT_EQ(FilesUnder(out.path()), (std::vector<std::string>{"good-1.ico", "good-2.ico", "good-3.ico"}));

  // An output folder that cannot be made: every icon fails by name, nothing is left behind.
  run = RunTool("-o " + Quoted(blocker) + " " + Quoted(good));
  EXPECT_EQ(run.exitCode, 1u);
  const std::vector<std::string> lines = Lines(run.err);
  ASSERT_EQ(lines.size(), 4u) << run.err;
  for (int n = 1; n <= 3; ++n) {
    const std::string named = blocker + "\\good-" + std::to_string(n) + ".ico: write failed: cannot create folder ";
    EXPECT_EQ(lines[n - 1].compare(0, named.size(), named), 0) << lines[n - 1];
  }
  EXPECT_EQ(lines[3], "1 files (1 with icons), 0 icons written, 0 skipped, 3 failed");
  EXPECT_EQ(ReadWholeFile(blocker), std::vector<uint8_t>{'x'});
  EXPECT_EQ(FilesUnder(in.path()), inputs);

  // A folder needs -r.
  run = RunTool("-o " + Quoted(out.path()) + " " + Quoted(in.path()));
  EXPECT_EQ(run.exitCode, 1u);
  EXPECT_EQ(Lines(run.err), (std::vector<std::string>{in.path() + ": is a folder (use -r to walk it)",
                                                      "1 files (0 with icons), 0 icons written, 0 skipped, 1 failed"}));

  // Usage errors write nothing.
  TempFolder untouched;
  for (const std::string& arguments :
       std::vector<std::string>{"", "-j 0 " + Quoted(good), "-j", "-o", "--bogus " + Quoted(good), "-0 " + Quoted(good),
                                "--files-from"}) {
    run = RunTool("-o " + Quoted(untouched.path()) + " " + arguments);
    EXPECT_EQ(run.exitCode, 2u) << arguments;
    EXPECT_EQ(run.err.compare(0, 15, "extract-icons: "), 0) << run.err;
  }
  EXPECT_TRUE(FilesUnder(untouched.path()).empty());
}

TEST(ExtractIcons, RecursiveRunMirrorsFoldersWhateverTheThreadCount) {
  TempFolder in, ref;
  ASSERT_TRUE(WriteGeneratedModule(in / "a.dll", 3));
  ASSERT_TRUE(CreateDirectoryA((in / "sub").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((in / "sub\\deep").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA((in / "empty").c_str(), nullptr));
  ASSERT_TRUE(WriteGeneratedModule(in / "sub\\a.dll", 2));
  ASSERT_TRUE(WriteGeneratedModule(in / "sub\\x.dll", 1));
  ASSERT_TRUE(WriteGeneratedModule(in / "sub\\X.exe", 2));
  ASSERT_TRUE(WriteNeLibrary(in / "sub\\deep\\icons.dat"));  // a module whatever its extension
  ASSERT_TRUE(WriteNeLibrary(ref / "icons.icl"));
  ASSERT_TRUE(WriteWholeFile(in / "sub\\readme.txt", {'r', 'e', 'a', 'd'}));

  // A file that a walk finds without icons is skipped, not failed, and named only with -v.
  TempFolder out1, out4;
  const ToolRun one = RunTool("-r -j 1 -o " + Quoted(out1.path()) + " " + Quoted(in.path()));
  const ToolRun four = RunTool("-r -v -j 4 -o " + Quoted(out4.path()) + " " + Quoted(in.path()));
  const std::string summary = "6 files (5 with icons), 13 icons written, 1 skipped, 0 failed";
  EXPECT_EQ(one.exitCode, 0u);
  EXPECT_EQ(Lines(one.err), (std::vector<std::string>{summary}));
  EXPECT_EQ(four.exitCode, 0u);
  EXPECT_EQ(Lines(four.err), (std::vector<std::string>{in / "sub\\readme.txt" + ": skipped: not a module", summary}));

  // Titles that would meet in one folder ("x", "X") keep their whole file names.
  std::vector<std::string> expected = {"a-1.ico",         "a-2.ico",         "a-3.ico",       "sub\\a-1.ico",
                                       "sub\\a-2.ico",    "sub\\x.dll-1.ico", "sub\\X.exe-1.ico", "sub\\X.exe-2.ico"};
  for (int n = 1; n <= 5; ++n) expected.push_back("sub\\deep\\icons-" + std::to_string(n) + ".ico");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FilesUnder(out1.path()), expected);
  EXPECT_EQ(FilesUnder(out4.path()), expected);
  for (const std::string& f : expected) EXPECT_TRUE(ReadWholeFile(out1 / f) == ReadWholeFile(out4 / f)) << f;

  ExpectSameAsLibrary(in / "sub\\X.exe", {{out1 / "sub\\X.exe-1.ico", 1}, {out1 / "sub\\X.exe-2.ico", 2}});
  std::vector<std::pair<std::string, int32_t>> library;
  for (int n = 1; n <= 5; ++n) library.push_back({out1 / ("sub\\deep\\icons-" + std::to_string(n) + ".ico"), n});
  ExpectSameAsLibrary(ref / "icons.icl", library);
}

// A write killed part way leaves nothing: each new file is marked for deletion until it
// is complete (the library's writer, which the tool shares).  The write is one group of
// 65,535 entries, a file of 252 MiB, killed once a few MiB of it are on disk.
TEST(ExtractIcons, KilledWriteLeavesNothing) {
  TempFolder in, out, streams;
  ASSERT_TRUE(WriteWholeFile(in / "repeated.dll", iconmodules::RepeatedEntryModule()));
  const HANDLE tool = StartTool("-j 1 -o " + Quoted(out.path()) + " " + Quoted(in / "repeated.dll"), "", streams);
  ASSERT_NE(tool, nullptr);
  const std::string written = out / "repeated-1.ico";
  WIN32_FILE_ATTRIBUTE_DATA seen = {};
  for (int i = 0; i < 6000 && WaitForSingleObject(tool, 0) == WAIT_TIMEOUT; ++i) {
    if (GetFileAttributesExA(written.c_str(), GetFileExInfoStandard, &seen) && seen.nFileSizeLow > (4u << 20)) break;
    Sleep(5);
  }
  const bool killed = TerminateProcess(tool, 9) != FALSE;
  WaitForSingleObject(tool, 10000);
  DWORD code = 0;
  GetExitCodeProcess(tool, &code);
  CloseHandle(tool);
  ASSERT_TRUE(killed && code == 9) << "the write ended before it was killed (" << code << ")";
  EXPECT_GT(seen.nFileSizeLow, 4u << 20);
  EXPECT_LT(seen.nFileSizeLow, 252u << 20);
  EXPECT_TRUE(FilesUnder(out.path()).empty());
}

TEST(ExtractIcons, PngOutputWritesTheChosenImagesByName) {
  // Three groups: two 32x32 images of 4 and 32 bits; 48x48 and 16x16; a 256-pixel PNG
  // (RGBA, so written through as it is) and a 32x32 bitmap.
  TempFolder in;
  const std::vector<std::vector<iconmodules::Bytes>> groups = {
      iconmodules::MixedGroupImages(0), iconmodules::MixedGroupImages(1), iconmodules::MixedGroupImages(9)};
  ASSERT_TRUE(WriteWholeFile(in / "m.dll", iconmodules::BuildPeIconModule(groups, false)));
  struct Case {
    std::string size;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      {"", {"m-1-32x32-32bit.png", "m-1-32x32-4bit.png", "m-2-16x16.png", "m-2-48x48.png", "m-3-256x256.png",
            "m-3-32x32.png"}},
      {"--size all", {"m-1-32x32-32bit.png", "m-1-32x32-4bit.png", "m-2-16x16.png", "m-2-48x48.png",
                      "m-3-256x256.png", "m-3-32x32.png"}},
      {"--size largest", {"m-1-32x32.png", "m-2-48x48.png", "m-3-256x256.png"}},
      {"--size 16", {"m-1-32x32.png", "m-2-16x16.png", "m-3-32x32.png"}},
      {"--size 40", {"m-1-32x32.png", "m-2-48x48.png", "m-3-256x256.png"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    TempFolder out;
    const ToolRun run = RunTool("--png " + c.size + " -o " + Quoted(out.path()) + " " + Quoted(in / "m.dll"));
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.err,
              "1 files (1 with icons), " + std::to_string(c.files.size()) + " images written, 0 skipped, 0 failed\n");
    EXPECT_EQ(FilesUnder(out.path()), c.files);
    // The PNG image is written through byte for byte; a bitmap image gives the pixels
    // the decoder makes of it.
    if (icontest::FileExists(out / "m-3-256x256.png")) {
      EXPECT_TRUE(ReadWholeFile(out / "m-3-256x256.png") == groups[2][0]);
    }
    if (icontest::FileExists(out / "m-1-32x32-4bit.png")) {
      const std::vector<uint8_t> png = ReadWholeFile(out / "m-1-32x32-4bit.png");
      iconres::RgbaImage written;
      std::string error;
      ASSERT_TRUE(iconres::DecodePng(png.data(), png.size(), &written, &error)) << error;
      iconres::DecodedIcon source;
      ASSERT_TRUE(iconres::DecodeIconImage(groups[0][0].data(), groups[0][0].size(), nullptr, &source, &error));
      EXPECT_EQ(written.width, 32);
      EXPECT_TRUE(written.pixels == source.image.pixels);
    }
  }
  // --size needs --png and a valid size.
  for (const std::string& arguments : {std::string("--size 32"), std::string("--png --size 0"),
                                       std::string("--png --size big"), std::string("--png --size")}) {
    TempFolder out;
    const ToolRun run = RunTool(arguments + " -o " + Quoted(out.path()) + " " + Quoted(in / "m.dll"));
    EXPECT_EQ(run.exitCode, 2u) << arguments;
    EXPECT_TRUE(FilesUnder(out.path()).empty());
  }
}
