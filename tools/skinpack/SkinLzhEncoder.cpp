#include "SkinLzhEncoder.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace {

constexpr int N = 4096;     // ring size
constexpr int F = 60;       // longest match
constexpr int MinMatch = 3; // shortest match worth coding
constexpr int NChar = 314;  // bytes 0..255, then lengths 3..60
constexpr int T = 2 * NChar - 1;
constexpr int Root = T - 1;
constexpr int Leading = N - F; // spaces the expander's ring starts with

class TBitWriter {
public:
  explicit TBitWriter(std::vector<uint8_t>& out) : out_(out) {}
  // Appends the low `count` bits of `bits`, most significant first (count <= 32).
  void Put(uint32_t bits, int count) {
    acc_ = (acc_ << count) | (bits & ((uint64_t(1) << count) - 1));
    pending_ += count;
    while (pending_ >= 8) {
      pending_ -= 8;
      out_.push_back(uint8_t(acc_ >> pending_));
    }
    acc_ &= (uint64_t(1) << pending_) - 1;
  }
  void Flush() {
    if (pending_ > 0) out_.push_back(uint8_t(acc_ << (8 - pending_)));
    acc_ = 0;
    pending_ = 0;
  }

private:
  std::vector<uint8_t>& out_;
  uint64_t acc_ = 0;
  int pending_ = 0;
};

// The adaptive code the expander keeps in step with: a Huffman tree whose node pairs are kept
// in ascending frequency order, updated after every symbol and rebuilt with halved
// frequencies once the root's count reaches 0x8000.
class TAdaptiveCode {
public:
  TAdaptiveCode() {
    for (int s = 0; s < NChar; ++s) {
      freq_[s] = 1;
      son_[s] = s + T;
      up_[s + T] = s;
    }
    for (int left = 0, node = NChar; node < T; left += 2, ++node) {
      freq_[node] = freq_[left] + freq_[left + 1];
      son_[node] = left;
      up_[left] = up_[left + 1] = node;
    }
    freq_[T] = 0xFFFF;
    up_[Root] = 0;
  }

  void Encode(int symbol, TBitWriter& out) {
    // Walk leaf to root, then send the path root first.
    uint8_t path[T];
    int depth = 0;
    for (int node = up_[symbol + T]; node != Root; node = up_[node])
      path[depth++] = uint8_t(node - son_[up_[node]]);
    while (depth > 0)
      out.Put(path[--depth], 1);
    Count(symbol);
  }

private:
  void Count(int symbol) {
    if (freq_[Root] == 0x8000) Halve();
    // Node 0 is a valid leaf position; the root's parent, 0, ends the walk.
    int node = up_[symbol + T];
    do {
      const int f = ++freq_[node];
      if (f > freq_[node + 1]) {
        // Move the node behind the last one that is still lighter, keeping the order.
        int last = node + 1;
        while (freq_[last + 1] < f)
          ++last;
        std::swap(freq_[node], freq_[last]);
        const int a = son_[node];
        const int b = son_[last];
        son_[node] = b;
        son_[last] = a;
        Reparent(a, last);
        Reparent(b, node);
        node = last;
      }
      node = up_[node];
    } while (node != 0);
  }

  void Reparent(int child, int parent) {
    up_[child] = parent;
    if (child < T) up_[child + 1] = parent;
  }

  void Halve() {
    int leaves = 0;
    for (int node = 0; node < T; ++node)
      if (son_[node] >= T) {
        freq_[leaves] = (freq_[node] + 1) / 2;
        son_[leaves] = son_[node];
        ++leaves;
      }
    for (int left = 0, node = NChar; node < T; left += 2, ++node) {
      const int f = freq_[left] + freq_[left + 1];
      int at = node;
      while (at > 0 && f < freq_[at - 1]) {
        freq_[at] = freq_[at - 1];
        son_[at] = son_[at - 1];
        --at;
      }
      freq_[at] = f;
      son_[at] = left;
    }
    for (int node = 0; node < T; ++node)
      Reparent(son_[node], node);
  }

  int freq_[T + 1];
  int up_[T + NChar];
  int son_[T];
};

// Prefix code of the upper 6 bits of a match position: its bits and their number.
struct TPositionPrefix {
  uint32_t bits;
  int length;
};

TPositionPrefix PrefixOf(int upper) {
  struct TBand {
    int firstUpper, firstPrefix, prefixesPerCode, length;
  };
  static constexpr TBand bands[] = {{48, 0xF0, 1, 8}, {24, 0xC0, 2, 7}, {12, 0x90, 4, 6},
                                    {4, 0x50, 8, 5},  {1, 0x20, 16, 4}, {0, 0x00, 32, 3}};
  for (const TBand& b : bands)
    if (upper >= b.firstUpper) {
      const int prefix = b.firstPrefix + (upper - b.firstUpper) * b.prefixesPerCode;
      return {uint32_t(prefix >> (8 - b.length)), b.length};
    }
  return {0, 3};
}

// Hash chains over the text the expander sees: the leading spaces, then the data.
class TMatcher {
public:
  TMatcher(const std::vector<uint8_t>& text, int maxChain)
      : text_(text), prev_(text.size(), -1), head_(new int32_t[HashSize]), maxChain_(maxChain) {
    std::fill(head_.get(), head_.get() + HashSize, -1);
  }

  void Insert(std::size_t pos) {
    if (pos + MinMatch > text_.size()) return;
    const unsigned h = Hash(pos);
    prev_[pos] = head_[h];
    head_[h] = int32_t(pos);
  }

  // Longest earlier match for `pos` within the ring's reach; the nearest wins a tie.
  int Find(std::size_t pos, int& distance) const {
    const int limit = int(std::min<std::size_t>(F, text_.size() - pos));
    if (limit < MinMatch) return 0;
    int best = 0;
    int chain = maxChain_;
    for (int32_t cand = head_[Hash(pos)]; cand >= 0 && chain-- > 0; cand = prev_[cand]) {
      const std::size_t d = pos - std::size_t(cand);
      if (d > std::size_t(N)) break;
      const uint8_t* a = &text_[cand];
      const uint8_t* b = &text_[pos];
      if (a[best] != b[best]) continue;
      int len = 0;
      while (len < limit && a[len] == b[len])
        ++len;
      if (len > best) {
        best = len;
        distance = int(d);
        if (len == limit) break;
      }
    }
    return best >= MinMatch ? best : 0;
  }

private:
  static constexpr unsigned HashBits = 15;
  static constexpr unsigned HashSize = 1u << HashBits;
  unsigned Hash(std::size_t pos) const {
    const uint32_t v =
        uint32_t(text_[pos]) | uint32_t(text_[pos + 1]) << 8 | uint32_t(text_[pos + 2]) << 16;
    return (v * 2654435761u) >> (32 - HashBits);
  }

  const std::vector<uint8_t>& text_;
  std::vector<int32_t> prev_;
  std::unique_ptr<int32_t[]> head_;
  int maxChain_;
};

} // namespace

std::vector<uint8_t> TLZHEncoder::Encode(std::span<const uint8_t> data) const {
  // The positions are 32-bit; stored skins are far smaller anyway.
  if (data.size() > 0x7FFFFFFF - std::size_t(Leading))
    throw std::length_error("data too large to compress");
  std::vector<uint8_t> text(Leading + data.size(), ' ');
  if (!data.empty()) std::memcpy(text.data() + Leading, data.data(), data.size());

  std::vector<uint8_t> out;
  out.reserve(data.size() / 2 + 16);
  TBitWriter bits(out);
  auto code = std::make_unique<TAdaptiveCode>();
  TMatcher matcher(text, std::max(1, maxChain_));
  for (std::size_t pos = 0; pos < std::size_t(Leading); ++pos)
    matcher.Insert(pos);

  std::size_t pos = Leading;
  while (pos < text.size()) {
    int distance = 0;
    const int len = matcher.Find(pos, distance);
    if (len == 0) {
      code->Encode(text[pos], bits);
      matcher.Insert(pos);
      ++pos;
      continue;
    }
    code->Encode(256 + len - MinMatch, bits);
    const int p = distance - 1; // 0..4095
    const TPositionPrefix prefix = PrefixOf(p >> 6);
    bits.Put(prefix.bits, prefix.length);
    bits.Put(uint32_t(p & 0x3F), 6);
    for (int k = 0; k < len; ++k)
      matcher.Insert(pos + std::size_t(k));
    pos += std::size_t(len);
  }
  bits.Flush();
  return out;
}
