// Where a writer's bytes go: a file being written, or bytes in memory.  Writers that
// stream (the .ico writer) pass their output through a sink, so that a large file is
// never built whole in memory.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace iconres {

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Takes n bytes; false when they could not be written (the sink knows why).
  virtual bool Write(const void* data, size_t n) = 0;
};

// Collects the bytes in memory.
class VectorSink : public ByteSink {
 public:
  bool Write(const void* data, size_t n) override {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + n);
    return true;
  }
  std::vector<uint8_t> bytes;
};

// Produces a file's content into a sink; false when it could not.
using ContentWriter = std::function<bool(ByteSink&)>;

}  // namespace iconres
