#include "SkinLzh.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

constexpr int N = TLZH::N;
constexpr int NChar = TLZH::NChar;
constexpr int T = TLZH::T;
constexpr int R = TLZH::R;
constexpr unsigned RingMask = N - 1;

struct PositionTables {
  std::array<uint8_t, 256> code{};
  std::array<uint8_t, 256> length{};
};

// Position codes: (number of 8-bit prefixes sharing one upper value, first upper value, count
// of upper values, code length) for each band of the prefix code.
constexpr PositionTables MakePositionTables() {
  struct Band {
    int prefixesPerCode, firstCode, codeCount, length;
  };
  constexpr Band bands[] = {{32, 0, 1, 3},  {16, 1, 3, 4},  {8, 4, 8, 5},
                            {4, 12, 12, 6}, {2, 24, 24, 7}, {1, 48, 16, 8}};
  PositionTables t;
  int i = 0;
  for (const Band& b : bands)
    for (int c = 0; c < b.codeCount; ++c)
      for (int k = 0; k < b.prefixesPerCode; ++k, ++i) {
        t.code[i] = uint8_t(b.firstCode + c);
        t.length[i] = uint8_t(b.length);
      }
  return t;
}

constexpr PositionTables kPositions = MakePositionTables();
static_assert(kPositions.code[0x1F] == 0 && kPositions.code[0x20] == 1 &&
              kPositions.code[0x3F] == 2 && kPositions.code[0xF5] == 53 &&
              kPositions.code[0xFF] == 63 && kPositions.length[0xEF] == 7);

// Reads the stream most significant bit first; bytes past the end read as zero. Keeps up to
// 64 bits buffered so that most bits cost a shift and no memory access.
class BitReader {
public:
  explicit BitReader(std::span<const uint8_t> input)
      : p_(input.data()), end_(input.data() + input.size()) {}

  unsigned Bit() {
    if (count_ == 0) Refill();
    const unsigned b = unsigned(buf_ >> 63);
    buf_ <<= 1;
    --count_;
    return b;
  }

  unsigned Byte() {
    if (count_ < 8) Refill();
    const unsigned b = unsigned(buf_ >> 56);
    buf_ <<= 8;
    count_ -= 8;
    return b;
  }

private:
  void Refill() {
    while (count_ <= 56) {
      const uint64_t b = p_ < end_ ? *p_++ : 0;
      buf_ |= b << (56 - count_);
      count_ += 8;
    }
  }

  const uint8_t* p_;
  const uint8_t* end_;
  uint64_t buf_ = 0;
  unsigned count_ = 0;
};

// The adaptive Huffman tree over the 314 symbols. Node n's children are son[n] and
// son[n] + 1; a son value of T or more marks a leaf holding symbol son - T. parent[T + s] is
// the leaf of symbol s.
struct HuffmanTree {
  uint16_t freq[T + 1];
  int16_t parent[T + NChar];
  int16_t son[T];

  void Start() {
    for (int s = 0; s < NChar; ++s) {
      freq[s] = 1;
      son[s] = int16_t(s + T);
      parent[s + T] = int16_t(s);
    }
    for (int i = 0, j = NChar; j <= R; i += 2, ++j) {
      freq[j] = uint16_t(freq[i] + freq[i + 1]);
      son[j] = int16_t(i);
      parent[i] = parent[i + 1] = int16_t(j);
    }
    freq[T] = 0xFFFF;
    parent[R] = 0;
  }

  // Halves every leaf frequency and builds the inner nodes again in frequency order.
  void Rebuild() {
    int j = 0;
    for (int node = 0; node < T; ++node)
      if (son[node] >= T) {
        freq[j] = uint16_t((freq[node] + 1) >> 1);
        son[j] = son[node];
        ++j;
      }
    for (int i = 0, j2 = NChar; j2 < T; i += 2, ++j2) {
      const unsigned f = unsigned(freq[i]) + freq[i + 1];
      int k = j2 - 1;
      while (f < freq[k])
        --k;
      ++k;
      std::memmove(&freq[k + 1], &freq[k], sizeof(freq[0]) * size_t(j2 - k));
      std::memmove(&son[k + 1], &son[k], sizeof(son[0]) * size_t(j2 - k));
      freq[k] = uint16_t(f);
      son[k] = int16_t(i);
    }
    for (int k = 0; k < T; ++k) {
      const int v = son[k];
      parent[v] = int16_t(k);
      if (v < T) parent[v + 1] = int16_t(k);
    }
  }

  // The last node from `from` on whose frequency is below k, given that freq[from] is. The
  // frequencies ascend with the node index (and freq[T] is 0xFFFF), so long runs of equal
  // counts are crossed by doubling steps and a binary search instead of one by one.
  int LastBelow(int from, unsigned k) const {
    int lo = from; // freq[lo] < k
    if (freq[lo + 1] >= k) return lo;
    int step = 1;
    int hi = lo + 1;
    while (freq[hi] < k) {
      lo = hi;
      step *= 2;
      hi = lo + step < T ? lo + step : T;
    }
    while (hi - lo > 1) { // freq[lo] < k <= freq[hi]
      const int mid = lo + (hi - lo) / 2;
      if (freq[mid] < k)
        lo = mid;
      else
        hi = mid;
    }
    return lo;
  }

  // Moves node c, whose count has just become k, behind the last lighter node l, with its
  // subtree, and gives l.
  int Swap(int c, unsigned k) {
    const int l = LastBelow(c + 1, k);
    freq[c] = freq[l];
    freq[l] = uint16_t(k);
    const int i = son[c];
    parent[i] = int16_t(l);
    if (i < T) parent[i + 1] = int16_t(l);
    const int j = son[l];
    son[l] = int16_t(i);
    parent[j] = int16_t(c);
    if (j < T) parent[j + 1] = int16_t(c);
    son[c] = int16_t(j);
    return l;
  }

  // Counts one more use of every node from c up to the root, keeping the order of counts.
  void CountFrom(int c) {
    do {
      const unsigned k = ++freq[c];
      if (k > freq[c + 1]) c = Swap(c, k);
      c = parent[c];
    } while (c != 0);
  }

  // Decodes a symbol and updates the tree for it. The nodes walked down are kept, so that
  // the update climbs them without chasing parent links until the first swap changes the
  // shape. Node 0 always holds a leaf (the lowest count), so only the root has parent 0.
  int DecodeSymbol(BitReader& in) {
    constexpr int MaxPath = 64;
    int path[MaxPath];
    int depth = 0;
    int node = son[R] + int(in.Bit());
    for (;;) {
      if (depth < MaxPath) path[depth] = node;
      ++depth;
      const int next = son[node];
      if (next >= T) break;
      node = next + int(in.Bit());
    }
    const int symbol = son[node] - T;

    if (freq[R] == TLZH::MaxFreq) {
      Rebuild();
      CountFrom(parent[symbol + T]);
    } else if (depth > MaxPath) {
      CountFrom(node);
    } else {
      for (int i = depth - 1; i >= 0; --i) {
        const int c = path[i];
        const unsigned k = ++freq[c];
        if (k > freq[c + 1]) {
          const int up = parent[Swap(c, k)];
          if (up != 0) CountFrom(up);
          return symbol;
        }
      }
      ++freq[R];
    }
    return symbol;
  }
};

unsigned DecodePosition(BitReader& in) {
  unsigned i = in.Byte();
  const unsigned upper = unsigned(kPositions.code[i]) << 6;
  for (int n = kPositions.length[i] - 2; n > 0; --n)
    i = ((i << 1) + in.Bit()) & 0xFFFF;
  return upper | (i & 0x3F);
}

struct Workspace {
  HuffmanTree tree;
  uint8_t ring[N];
};

} // namespace

const std::array<uint8_t, 256>& TLZH::PositionCodes() {
  return kPositions.code;
}
const std::array<uint8_t, 256>& TLZH::PositionLengths() {
  return kPositions.length;
}

std::vector<uint8_t> TLZH::Expand(int32_t expectedSize, std::span<const uint8_t> input) const {
  std::vector<uint8_t> out;
  Expand(expectedSize, input, out);
  return out;
}

void TLZH::Expand(int32_t expectedSize, std::span<const uint8_t> input,
                  std::vector<uint8_t>& output) const {
  output.clear();
  if (expectedSize <= 0) return;
  const std::size_t expected = std::size_t(expectedSize);
  if (expected > outputLimit_) throw ElzhException(TooLargeMessage);

  std::unique_ptr<Workspace> ws(new (std::nothrow) Workspace);
  if (!ws) throw ElzhException(NoMemoryMessage);
  HuffmanTree& tree = ws->tree;
  uint8_t* const ring = ws->ring;
  tree.Start();
  std::memset(ring, ' ', RingFill);
  std::memset(ring + RingFill, 0, N - RingFill);

  // A match may run up to F - 1 bytes past the expected size; the buffer is trimmed after.
  output.resize(expected + F - 1);
  uint8_t* const out = output.data();
  std::size_t count = 0;
  unsigned r = RingFill;
  BitReader in(input);
  while (count < expected) {
    const int c = tree.DecodeSymbol(in);
    if (c < 256) {
      out[count++] = uint8_t(c);
      ring[r] = uint8_t(c);
      r = (r + 1) & RingMask;
    } else {
      const unsigned source = (r - DecodePosition(in) - 1) & RingMask;
      const int length = c - 255 + Threshold;
      for (int k = 0; k < length; ++k) {
        const uint8_t b = ring[(source + unsigned(k)) & RingMask];
        out[count++] = b;
        ring[r] = b;
        r = (r + 1) & RingMask;
      }
    }
  }
  output.resize(count);
}
