#include "tests/fuzz/fuzz_target.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzz {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

void WriteSeed(const std::string& folder, const char* name, const std::vector<uint8_t>& bytes) {
  const std::string path = folder + "/" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

}  // namespace fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  static const char kFlag[] = "--write-seeds=";
  for (int i = 1; i < *argc; ++i) {
    if (std::strncmp((*argv)[i], kFlag, sizeof kFlag - 1) == 0) {
      fuzz::WriteSeeds((*argv)[i] + sizeof kFlag - 1);
      std::exit(0);
    }
  }
  return 0;
}
