// Calls ExtractFileIcon the way program code does: four argument records, tag 0 for
// an omitted one, through the uniform command signature.
#pragma once
#include <optional>
#include <string>

#include "iconres/extract_file_icon.h"
#include "runtime/values.h"

namespace icontest {

struct ExtractArgs {
  std::optional<std::string> source;
  std::optional<int32_t> kind;
  std::optional<std::string> target;
  std::optional<int32_t> number;
};

inline int32_t CallExtract(const ExtractArgs& a) {
  rt::ArgRecord args[4] = {
      a.source ? rt::TextArg(a.source->c_str()) : rt::OmittedArg(),
      a.kind ? rt::IntArg(*a.kind) : rt::OmittedArg(),
      a.target ? rt::TextArg(a.target->c_str()) : rt::OmittedArg(),
      a.number ? rt::IntArg(*a.number) : rt::OmittedArg(),
  };
  rt::ResultRecord result = {0, 0, 0};
  rt::CommandFunction command = &iconres::ExtractFileIcon;
  command(&result, 4, args);
  EXPECT_EQ(result.tag, rt::TagInt);
  EXPECT_EQ(result.high, 0u);
  return static_cast<int32_t>(result.value);
}

// Kind 0: write group `number` of `source` to `target`.
inline int32_t ExtractTo(const std::string& source, const std::string& target, int32_t number) {
  return CallExtract({source, 0, target, number});
}

}  // namespace icontest
