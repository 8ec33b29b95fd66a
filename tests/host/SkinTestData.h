// Deterministic test data for the LZH and archive tests and the benchmark.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace skintest {

// xorshift64*: the same bytes on every machine and every run.
class Random {
public:
  explicit Random(uint64_t seed) : s_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
  uint64_t Next() {
    s_ ^= s_ >> 12;
    s_ ^= s_ << 25;
    s_ ^= s_ >> 27;
    return s_ * 2685821657736338717ull;
  }
  uint32_t Below(uint32_t n) { return uint32_t(Next() % n); }

private:
  uint64_t s_;
};

inline std::vector<uint8_t> RandomBytes(std::size_t n, uint64_t seed) {
  Random rnd(seed);
  std::vector<uint8_t> out(n);
  for (uint8_t& b : out)
    b = uint8_t(rnd.Next() >> 56);
  return out;
}

// INI-like text: section headers and key = value lines drawn from a small vocabulary.
inline std::string TextLike(std::size_t n, uint64_t seed) {
  static const char* const words[] = {
      "Buttons",   "Image", "Left",  "Right",   "Top",       "Bottom", "Trans", "Stretch",
      "FontColor", "Count", "Frame", "Caption", "Scrollbar", "Menu",   "Color", "Tile"};
  Random rnd(seed);
  std::string out;
  while (out.size() < n) {
    if (rnd.Below(8) == 0) {
      out += "\r\n[";
      out += words[rnd.Below(16)];
      out += "]\r\n";
    }
    out += words[rnd.Below(16)];
    out += words[rnd.Below(16)];
    out += "=";
    out += std::to_string(rnd.Below(rnd.Below(2) ? 10 : 100000));
    out += "\r\n";
  }
  out.resize(n);
  return out;
}

// Something like a 24-bit bitmap: rows of smooth gradients with flat runs and noise.
inline std::vector<uint8_t> ImageLike(std::size_t n, uint64_t seed) {
  Random rnd(seed);
  std::vector<uint8_t> out;
  out.reserve(n);
  out.push_back('B');
  out.push_back('M');
  while (out.size() < n) {
    const uint32_t kind = rnd.Below(4);
    const uint32_t len = 3 * (1 + rnd.Below(200));
    const uint8_t r = uint8_t(rnd.Next()), g = uint8_t(rnd.Next()), b = uint8_t(rnd.Next());
    for (uint32_t i = 0; i < len && out.size() < n; i += 3) {
      if (kind == 0) { // flat colour (magenta key colour, often)
        out.push_back(255), out.push_back(0), out.push_back(255);
      } else if (kind == 1) { // gradient
        out.push_back(uint8_t(r + i / 3)), out.push_back(uint8_t(g + i / 6)),
            out.push_back(uint8_t(b - i / 3));
      } else if (kind == 2) {
        out.push_back(r), out.push_back(g), out.push_back(b);
      } else {
        out.push_back(uint8_t(rnd.Next())), out.push_back(uint8_t(rnd.Next() >> 8)),
            out.push_back(b);
      }
    }
  }
  out.resize(n);
  return out;
}

// Text-like, binary and runs in turns of 1 to 32 KiB.
inline std::vector<uint8_t> Mixed(std::size_t n, uint64_t seed) {
  Random rnd(seed);
  std::vector<uint8_t> out;
  out.reserve(n);
  while (out.size() < n) {
    const std::size_t len = std::min<std::size_t>(1024 + rnd.Below(31 * 1024), n - out.size());
    switch (rnd.Below(4)) {
    case 0: {
      const std::string t = TextLike(len, rnd.Next());
      out.insert(out.end(), t.begin(), t.end());
      break;
    }
    case 1: {
      const std::vector<uint8_t> r = RandomBytes(len, rnd.Next());
      out.insert(out.end(), r.begin(), r.end());
      break;
    }
    case 2:
      out.insert(out.end(), len, uint8_t(rnd.Next()));
      break;
    default: {
      const std::vector<uint8_t> img = ImageLike(len, rnd.Next());
      out.insert(out.end(), img.begin(), img.end());
    }
    }
  }
  return out;
}

} // namespace skintest
