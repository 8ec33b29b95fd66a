// A plain byte-at-a-time LZHUF expander: a 16-bit bit buffer refilled one byte per call of a
// read function, one call of a write function per output byte. Written separately from the
// library's decoder: the tests and the fuzzer compare the two, and the benchmark uses this
// one as its baseline.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <vector>

class TLZHReference {
public:
  // Returns the number of bytes delivered into *b (anything but 1 means "no byte").
  using ReadFn = std::function<int(uint8_t* b)>;
  using WriteFn = std::function<void(uint8_t b)>;

  void Expand(int32_t expectedSize, const ReadFn& read, const WriteFn& write) {
    read_ = &read;
    bitBuf_ = 0;
    bitCount_ = 0;
    StartTree();
    for (int i = 0; i < 4155; ++i)
      ring_[i] = i < 4036 ? ' ' : 0;
    int r = 4036;
    int32_t count = 0;
    while (count < expectedSize) {
      const int c = DecodeChar();
      if (c < 256) {
        write(uint8_t(c));
        ring_[r] = uint8_t(c);
        r = (r + 1) & 0xFFF;
        ++count;
      } else {
        const int source = (r - DecodePosition() - 1) & 0xFFF;
        const int length = c - 253;
        for (int k = 0; k < length; ++k) {
          const uint8_t b = ring_[(source + k) & 0xFFF];
          write(b);
          ring_[r] = b;
          r = (r + 1) & 0xFFF;
          ++count;
        }
      }
    }
    read_ = nullptr;
  }

  // Convenience: expands from a byte buffer through the two functions.
  std::vector<uint8_t> ExpandBuffer(int32_t expectedSize, std::span<const uint8_t> input) {
    std::size_t pos = 0;
    std::vector<uint8_t> out;
    Expand(
        expectedSize,
        [&](uint8_t* b) {
          if (pos >= input.size()) return 0;
          *b = input[pos++];
          return 1;
        },
        [&](uint8_t b) { out.push_back(b); });
    return out;
  }

private:
  void Refill() {
    while (bitCount_ <= 8) {
      uint8_t b = 0;
      if ((*read_)(&b) != 1) b = 0;
      bitBuf_ = uint16_t(bitBuf_ | (b << (8 - bitCount_)));
      bitCount_ = uint8_t(bitCount_ + 8);
    }
  }
  int GetBit() {
    Refill();
    const int bit = (bitBuf_ & 0x8000) ? 1 : 0;
    bitBuf_ = uint16_t(bitBuf_ << 1);
    bitCount_ = uint8_t(bitCount_ - 1);
    return bit;
  }
  int GetByte() {
    Refill();
    const int byte = bitBuf_ >> 8;
    bitBuf_ = uint16_t(bitBuf_ << 8);
    bitCount_ = uint8_t(bitCount_ - 8);
    return byte;
  }

  void StartTree() {
    for (int s = 0; s < 314; ++s) {
      freq_[s] = 1;
      son_[s] = int16_t(s + 627);
      prnt_[s + 627] = int16_t(s);
    }
    int i = 0;
    for (int j = 314; j <= 626; ++j, i += 2) {
      freq_[j] = uint16_t(freq_[i] + freq_[i + 1]);
      son_[j] = int16_t(i);
      prnt_[i] = prnt_[i + 1] = int16_t(j);
    }
    freq_[627] = 0xFFFF;
    prnt_[626] = 0;
  }

  void Reconstruct() {
    int j = 0;
    for (int node = 0; node < 627; ++node) {
      if (son_[node] >= 627) {
        freq_[j] = uint16_t((freq_[node] + 1) / 2);
        son_[j] = son_[node];
        ++j;
      }
    }
    int i = 0;
    for (j = 314; j < 627; ++j, i += 2) {
      const uint16_t f = uint16_t(freq_[i] + freq_[i + 1]);
      int k = j - 1;
      while (f < freq_[k])
        --k;
      ++k;
      for (int m = j; m > k; --m) {
        freq_[m] = freq_[m - 1];
        son_[m] = son_[m - 1];
      }
      freq_[k] = f;
      son_[k] = int16_t(i);
    }
    for (int k = 0; k < 627; ++k) {
      const int v = son_[k];
      if (v >= 627) {
        prnt_[v] = int16_t(k);
      } else {
        prnt_[v] = int16_t(k);
        prnt_[v + 1] = int16_t(k);
      }
    }
  }

  void Update(int s) {
    if (freq_[626] == 0x8000) Reconstruct();
    int c = prnt_[s + 627];
    do {
      const uint16_t k = ++freq_[c];
      if (k > freq_[c + 1]) {
        int l = c + 1;
        while (freq_[l + 1] < k)
          ++l;
        freq_[c] = freq_[l];
        freq_[l] = k;
        const int i = son_[c];
        prnt_[i] = int16_t(l);
        if (i < 627) prnt_[i + 1] = int16_t(l);
        const int j = son_[l];
        son_[l] = int16_t(i);
        prnt_[j] = int16_t(c);
        if (j < 627) prnt_[j + 1] = int16_t(c);
        son_[c] = int16_t(j);
        c = l;
      }
      c = prnt_[c];
    } while (c != 0);
  }

  int DecodeChar() {
    int c = son_[626];
    while (c < 627)
      c = son_[c + GetBit()];
    c -= 627;
    Update(c);
    return c;
  }

  static int PositionCode(int i) {
    if (i < 0x20) return 0;
    if (i < 0x50) return 1 + (i - 0x20) / 16;
    if (i < 0x90) return 4 + (i - 0x50) / 8;
    if (i < 0xC0) return 12 + (i - 0x90) / 4;
    if (i < 0xF0) return 24 + (i - 0xC0) / 2;
    return 48 + (i - 0xF0);
  }
  static int PositionLength(int i) {
    if (i < 0x20) return 3;
    if (i < 0x50) return 4;
    if (i < 0x90) return 5;
    if (i < 0xC0) return 6;
    if (i < 0xF0) return 7;
    return 8;
  }

  int DecodePosition() {
    int i = GetByte();
    const int upper = PositionCode(i) << 6;
    for (int n = PositionLength(i) - 2; n > 0; --n)
      i = ((i << 1) + GetBit()) & 0xFFFF;
    return upper | (i & 0x3F);
  }

  const ReadFn* read_ = nullptr;
  uint16_t bitBuf_ = 0;
  uint8_t bitCount_ = 0;
  uint8_t ring_[4155];
  uint16_t freq_[628];
  int16_t prnt_[941];
  int16_t son_[627];
};
