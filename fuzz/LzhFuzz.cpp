// Expansion of arbitrary bit streams: the library's expander must agree with the plain
// byte-at-a-time one and stay within its bounds. Input: 2-byte little-endian expected size,
// then the stream.
#include "SkinLzh.h"
#include "SkinLzhReference.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int32_t expected = int32_t(data[0] | data[1] << 8);
  const std::span<const uint8_t> stream(data + 2, size - 2);

  TLZH lzh;
  const std::vector<uint8_t> fast = lzh.Expand(expected, stream);
  if (fast.size() < std::size_t(expected) || fast.size() >= std::size_t(expected) + TLZH::F) {
    std::fprintf(stderr, "expanded %zu bytes for %d\n", fast.size(), int(expected));
    std::abort();
  }
  const std::vector<uint8_t> reference = TLZHReference().ExpandBuffer(expected, stream);
  if (fast != reference) {
    std::fprintf(stderr, "expanders disagree\n");
    std::abort();
  }
  return 0;
}
