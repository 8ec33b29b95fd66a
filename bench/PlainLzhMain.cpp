// plain_lzh <file.skin> <out>: expands a skin file (32-bit expanded size, then the stream) with
// the plain expander of PlainLzh.h and writes the expanded bytes to <out>, as a short C program
// would: the yardstick process of the skin unpacking benchmark.
#include "PlainLzh.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: plain_lzh <file.skin> <out>\n");
    return 2;
  }
  FILE* in = std::fopen(argv[1], "rb");
  if (!in) return 1;
  std::fseek(in, 0, SEEK_END);
  const long stored = std::ftell(in);
  std::fseek(in, 0, SEEK_SET);
  if (stored < 4) return 1;
  unsigned char* data = static_cast<unsigned char*>(std::malloc(size_t(stored)));
  if (!data || std::fread(data, 1, size_t(stored), in) != size_t(stored)) return 1;
  std::fclose(in);
  const size_t size =
      size_t(data[0]) | size_t(data[1]) << 8 | size_t(data[2]) << 16 | size_t(data[3]) << 24;
  unsigned char* text = static_cast<unsigned char*>(std::malloc(size + plainlzh::F));
  if (!text) return 1;
  plainlzh::expand(data + 4, size_t(stored) - 4, text, size);
  FILE* out = std::fopen(argv[2], "wb");
  if (!out || std::fwrite(text, 1, size, out) != size || std::fclose(out) != 0) return 1;
  std::free(text);
  std::free(data);
  return 0;
}
