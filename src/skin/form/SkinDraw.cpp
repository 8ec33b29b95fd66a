#include "SkinDraw.h"

#include "Controls.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace {

// Raster operation that leaves the destination as it is.
constexpr DWORD kDstCopy = 0x00AA0029;
// Tiles are first repeated into a block about this many pixels wide and high, so that small
// pieces are not drawn one by one.
constexpr int kTileBlock = 128;
// Rectangles gathered per region piece, and the step by which the buffer grows.
constexpr std::size_t kRegionBatch = 2000;
constexpr std::size_t kRegionGrowth = 500;

int WidthOf(const RECT& r) {
  return r.right - r.left;
}
int HeightOf(const RECT& r) {
  return r.bottom - r.top;
}

COLORREF ToColorRef(ImgUtil::TColor color) {
  return static_cast<COLORREF>(ImgUtil::ColorToRGB(color)) & 0x00FFFFFF;
}

// The device context an image is drawn from. The image's canvas is a cache of the bitmap and
// reading through it leaves the pixels alone.
HDC SourceCanvas(const TBitmap& image) {
  return const_cast<TBitmap&>(image).CanvasHandle();
}

// A monochrome bitmap (rows of 16-bit words, leftmost pixel in the highest bit) selected into
// a memory device context for its lifetime.
class TMaskCanvas {
public:
  TMaskCanvas(int width, int height, const std::vector<std::uint8_t>& bits)
      : FBitmap(CreateBitmap(width, height, 1, 1, bits.data())), FDC(CreateCompatibleDC(nullptr)),
        FSelected(FDC.Get(), FBitmap.Get()) {
    if (!FBitmap || !FDC) throw std::runtime_error("Out of system resources");
  }
  HDC DC() const { return FDC.Get(); }
  HBITMAP Bitmap() const { return FBitmap.Get(); }

private:
  // Declared in the order of making: the bitmap is deselected, then the context and the
  // bitmap go.
  TBitmapHandle FBitmap;
  TMemoryDCHandle FDC;
  TSelectObject FSelected;
};

// Sets a stretch mode on a device context and gives the old one back.
class TStretchMode {
public:
  TStretchMode(HDC dc, int mode) : FDC(dc), FOld(SetStretchBltMode(dc, mode)) {}
  ~TStretchMode() {
    if (FOld) SetStretchBltMode(FDC, FOld);
  }
  TStretchMode(const TStretchMode&) = delete;
  TStretchMode& operator=(const TStretchMode&) = delete;

private:
  HDC FDC;
  int FOld;
};

// Copies a source piece to a destination piece, stretched when the sizes differ. Pieces
// without pixels on either side draw nothing.
void Piece(HDC dst, int dx, int dy, int dw, int dh, HDC src, int sx, int sy, int sw, int sh) {
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  if (dw == sw && dh == sh)
    BitBlt(dst, dx, dy, dw, dh, src, sx, sy, SRCCOPY);
  else
    StretchBlt(dst, dx, dy, dw, dh, src, sx, sy, sw, sh, SRCCOPY);
}

// A new 24-bit bitmap of the given size, all key colour, its canvas stretching colour-on-colour.
TBitmap KeyFilled(int width, int height) {
  TBitmap bmp(width, height, pf24bit);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* p = bmp.ScanLine(y);
    for (int x = 0; x < width; ++x, p += 3) {
      p[0] = 0xFF; // blue
      p[1] = 0x00; // green
      p[2] = 0xFF; // red
    }
  }
  SetStretchBltMode(bmp.CanvasHandle(), COLORONCOLOR);
  return bmp;
}

bool IsWin9x() {
  return (GetVersion() & 0x80000000u) != 0;
}

// The monochrome mask of the w x h piece of image at (sx, sy): bits set where the pixel has
// the key colour. Pixels are compared by their three colour bytes only (the fourth byte of
// 32-bit images is not part of the colour); other depths are compared through a 24-bit copy.
std::vector<std::uint8_t> KeyMaskBits(const TBitmap& image, int sx, int sy, int w, int h,
                                      ImgUtil::TColor key) {
  const TBitmap* pixels = &image;
  TBitmap converted;
  if (image.PixelFormat() != pf24bit && image.PixelFormat() != pf32bit) {
    converted = image;
    converted.SetPixelFormat(pf24bit);
    pixels = &converted;
  }
  const int step = pixels->PixelFormat() == pf32bit ? 4 : 3;
  const COLORREF k = ToColorRef(key);
  const std::uint8_t kr = GetRValue(k), kg = GetGValue(k), kb = GetBValue(k);
  const std::size_t stride = static_cast<std::size_t>((w + 15) / 16) * 2;
  std::vector<std::uint8_t> bits(stride * static_cast<std::size_t>(h), 0);
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* p = pixels->ScanLine(sy + y) + static_cast<std::size_t>(sx) * step;
    std::uint8_t* row = bits.data() + stride * static_cast<std::size_t>(y);
    for (int x = 0; x < w; ++x, p += step)
      if (p[0] == kb && p[1] == kg && p[2] == kr)
        row[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
  }
  return bits;
}

// Copies the w x h piece of image at (sx, sy) to (x, y) of dc, leaving dc's pixels where the
// piece has the key colour. The piece must lie inside the image.
void MaskedCopy(HDC dc, int x, int y, int w, int h, const TBitmap& image, int sx, int sy,
                ImgUtil::TColor key, bool byRop) {
  if (w <= 0 || h <= 0) return;
  TMaskCanvas mask(w, h, KeyMaskBits(image, sx, sy, w, h, key));
  HDC src = SourceCanvas(image);
  if (!byRop && !IsWin9x() &&
      MaskBlt(dc, x, y, w, h, src, sx, sy, mask.Bitmap(), 0, 0, MAKEROP4(kDstCopy, SRCCOPY)))
    return;
  // dest ^ image, then AND with the mask (white where the key is, black elsewhere), then ^
  // image again: the key's places get the destination back, the others the image.
  const COLORREF oldBack = SetBkColor(dc, RGB(255, 255, 255));
  const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
  BitBlt(dc, x, y, w, h, src, sx, sy, SRCINVERT);
  BitBlt(dc, x, y, w, h, mask.DC(), 0, 0, SRCAND);
  BitBlt(dc, x, y, w, h, src, sx, sy, SRCINVERT);
  SetBkColor(dc, oldBack);
  SetTextColor(dc, oldText);
}

// Draws a whole bitmap at (x, y) of dc, transparent or opaque.
void PutBitmap(HDC dc, int x, int y, const TBitmap& bmp, bool transparent) {
  if (bmp.Empty()) return;
  if (transparent)
    MaskedCopy(dc, x, y, bmp.Width(), bmp.Height(), bmp, 0, 0, clSkinKey, false);
  else
    BitBlt(dc, x, y, bmp.Width(), bmp.Height(), SourceCanvas(bmp), 0, 0, SRCCOPY);
}

// Margins ready for slicing: negative widths count as 0, and a pair that does not fit in the
// target or in the cell is dropped.
struct TEdges {
  int Left, Top, Right, Bottom;
};

void FitPair(int& a, int& b, int cell, int target) {
  a = std::max(a, 0);
  b = std::max(b, 0);
  const long long sum = static_cast<long long>(a) + b;
  if (sum > cell || sum > target) a = b = 0;
}

TEdges FitMargins(const RECT& margins, int cellWidth, int cellHeight, int width, int height) {
  TEdges e{margins.left, margins.top, margins.right, margins.bottom};
  FitPair(e.Left, e.Right, cellWidth, width);
  FitPair(e.Top, e.Bottom, cellHeight, height);
  return e;
}

// The TileBitmap loop over a block that already holds whole copies of the piece.
void TileBlock(HDC dc, const RECT& target, HDC src, int sx, int sy, int bw, int bh) {
  for (long long y = target.top; y < target.bottom; y += bh) {
    const int h = static_cast<int>(std::min<long long>(bh, target.bottom - y));
    for (long long x = target.left; x < target.right; x += bw) {
      const int w = static_cast<int>(std::min<long long>(bw, target.right - x));
      BitBlt(dc, static_cast<int>(x), static_cast<int>(y), w, h, src, sx, sy, SRCCOPY);
    }
  }
}

} // namespace

RECT SkinCellRect(const TBitmap& image, bool vertical, int cellCount, int cellIndex) {
  RECT cell{0, 0, 0, 0};
  if (image.Empty()) return cell;
  const int count = std::max(cellCount, 1);
  const int index = std::clamp(cellIndex, 1, count);
  if (vertical) {
    const int h = image.Height() / count;
    if (h <= 0) return cell;
    cell = {0, h * (index - 1), image.Width(), h * index};
  } else {
    const int w = image.Width() / count;
    if (w <= 0) return cell;
    cell = {w * (index - 1), 0, w * index, image.Height()};
  }
  return cell;
}

void TileBitmap(HDC dc, const RECT& target, const TBitmap& image, const RECT& source) {
  const int pw = WidthOf(source), ph = HeightOf(source);
  if (pw <= 0 || ph <= 0 || image.Empty()) return;
  if (WidthOf(target) <= 0 || HeightOf(target) <= 0) return;
  // Only the part of the piece inside the image is repeated.
  RECT piece;
  const RECT bounds{0, 0, image.Width(), image.Height()};
  if (!IntersectRect(&piece, &source, &bounds)) return;
  const int w = WidthOf(piece), h = HeightOf(piece);
  // Whole pieces only: the last column and row reach past the target's right and bottom edges
  // (callers draw their right and bottom pieces afterwards, over the overflow).
  const auto whole = [](LONG from, LONG to, int step) {
    return static_cast<LONG>(std::min<long long>(
        from + (static_cast<long long>(to - from) + step - 1) / step * step, LONG_MAX));
  };
  const RECT covered{target.left, target.top, whole(target.left, target.right, w),
                     whole(target.top, target.bottom, h)};
  HDC src = SourceCanvas(image);
  // Repeat the piece into a block of whole copies, doubling what is there, so that the target
  // is covered with few transfers; the block is no bigger than the target needs.
  const auto copies = [](int piece, int target) {
    const int wanted = static_cast<int>(std::min<long long>(
        (static_cast<long long>(target) + piece - 1) / piece, std::max(1, kTileBlock / piece)));
    return std::max(wanted, 1);
  };
  const int nx = copies(w, WidthOf(covered)), ny = copies(h, HeightOf(covered));
  if (nx == 1 && ny == 1) {
    TileBlock(dc, covered, src, piece.left, piece.top, w, h);
    return;
  }
  TBitmap block(w * nx, h * ny, pf24bit);
  HDC bdc = block.CanvasHandle();
  BitBlt(bdc, 0, 0, w, h, src, piece.left, piece.top, SRCCOPY);
  for (int filled = w; filled < block.Width();) {
    const int n = std::min(filled, block.Width() - filled);
    BitBlt(bdc, filled, 0, n, h, bdc, 0, 0, SRCCOPY);
    filled += n;
  }
  for (int filled = h; filled < block.Height();) {
    const int n = std::min(filled, block.Height() - filled);
    BitBlt(bdc, 0, filled, block.Width(), n, bdc, 0, 0, SRCCOPY);
    filled += n;
  }
  TileBlock(dc, covered, bdc, 0, 0, block.Width(), block.Height());
}

TBitmap StretchSkinBitmap(const RECT& target, const TBitmap& image, const RECT& margins,
                          bool vertical, bool tileCentre, int cellCount, int cellIndex) {
  const int W = WidthOf(target), H = HeightOf(target);
  if (W <= 0 || H <= 0) return TBitmap();
  TBitmap result = KeyFilled(W, H);
  const RECT cell = SkinCellRect(image, vertical, cellCount, cellIndex);
  const int cw = WidthOf(cell), ch = HeightOf(cell);
  if (cw <= 0 || ch <= 0) return result;
  const TEdges e = FitMargins(margins, cw, ch, W, H);
  const int l = e.Left, t = e.Top, r = e.Right, b = e.Bottom;
  HDC dst = result.CanvasHandle();
  HDC src = SourceCanvas(image);
  const int cx = cell.left, cy = cell.top;
  const int sr = cell.right - r, sb = cell.bottom - b; // where the right / bottom pieces start
  const int smw = cw - l - r, smh = ch - t - b;        // the cell's middle
  const int dmw = W - l - r, dmh = H - t - b;          // the result's middle

  if (l > 0 && t > 0) Piece(dst, 0, 0, l, t, src, cx, cy, l, t);
  if (l > 0 && b > 0) Piece(dst, 0, H - b, l, b, src, cx, sb, l, b);
  if (r > 0 && t > 0) Piece(dst, W - r, 0, r, t, src, sr, cy, r, t);
  if (l > 0) Piece(dst, 0, t, l, dmh, src, cx, cy + t, l, smh);
  if (t > 0) Piece(dst, l, 0, dmw, t, src, cx + l, cy, smw, t);
  if (tileCentre)
    TileBitmap(dst, RECT{l, t, W - r, H - b}, image,
               RECT{cx + l, cy + t, cx + l + smw, cy + t + smh});
  else
    Piece(dst, l, t, dmw, dmh, src, cx + l, cy + t, smw, smh);
  if (r > 0 && b > 0) Piece(dst, W - r, H - b, r, b, src, sr, sb, r, b);
  if (r > 0) Piece(dst, W - r, t, r, dmh, src, sr, cy + t, r, smh);
  if (b > 0) Piece(dst, l, H - b, dmw, b, src, cx + l, sb, smw, b);
  return result;
}

void DrawSkinRect(HDC dc, const RECT& target, const TBitmap& image, bool vertical, bool tileCentre,
                  bool transparent, int cellCount, int cellIndex, const RECT& margins) {
  if (WidthOf(target) <= 0 || HeightOf(target) <= 0) return;
  const RECT cell = SkinCellRect(image, vertical, cellCount, cellIndex);
  if (IsRectEmpty(&cell)) return;
  const TBitmap bmp =
      StretchSkinBitmap(target, image, margins, vertical, tileCentre, cellCount, cellIndex);
  PutBitmap(dc, target.left, target.top, bmp, transparent);
}

void DrawSkinBar(HDC dc, const RECT& target, const TBitmap& image, bool vertical, bool transparent,
                 int cellCount, int cellIndex, const RECT& margins) {
  const int W = WidthOf(target), H = HeightOf(target);
  if (W <= 0 || H <= 0) return;
  const RECT cell = SkinCellRect(image, vertical, cellCount, cellIndex);
  const int cw = WidthOf(cell), ch = HeightOf(cell);
  if (cw <= 0 || ch <= 0) return;
  int l = margins.left, r = margins.right;
  // Caps wider than the target overlap there, as they are; caps wider than the cell would
  // reach into the next cell and are dropped.
  FitPair(l, r, cw, cw);
  TBitmap bar = KeyFilled(W, H);
  HDC dst = bar.CanvasHandle();
  HDC src = SourceCanvas(image);
  if (l > 0) Piece(dst, 0, 0, l, H, src, cell.left, cell.top, l, ch);
  const int m = cw - l - r;
  if (m > 0 && W - r > l) {
    // The middle is stretched to the bar's height once and repeated from there.
    TBitmap middle(m, H, pf24bit);
    HDC mdc = middle.CanvasHandle();
    SetStretchBltMode(mdc, COLORONCOLOR);
    Piece(mdc, 0, 0, m, H, src, cell.left + l, cell.top, m, ch);
    TileBitmap(dst, RECT{l, 0, W - r, H}, middle, RECT{0, 0, m, H});
  }
  if (r > 0) Piece(dst, W - r, 0, r, H, src, cell.right - r, cell.top, r, ch);
  PutBitmap(dc, target.left, target.top, bar, transparent);
}

void StretchSkinBar(HDC dc, const RECT& target, const TBitmap& image, bool vertical, int cellCount,
                    int cellIndex, const RECT& margins) {
  const int W = WidthOf(target), H = HeightOf(target);
  if (W <= 0 || H <= 0) return;
  const RECT cell = SkinCellRect(image, vertical, cellCount, cellIndex);
  const int cw = WidthOf(cell), ch = HeightOf(cell);
  if (cw <= 0 || ch <= 0) return;
  HDC src = SourceCanvas(image);
  TStretchMode mode(dc, COLORONCOLOR);
  if (W < cw) {
    Piece(dc, target.left, target.top, W, H, src, cell.left, cell.top, cw, ch);
    return;
  }
  int l = margins.left, r = margins.right;
  FitPair(l, r, cw, W);
  Piece(dc, target.left, target.top, l, H, src, cell.left, cell.top, l, ch);
  Piece(dc, target.left + l, target.top, W - l - r, H, src, cell.left + l, cell.top, cw - l - r,
        ch);
  Piece(dc, target.right - r, target.top, r, H, src, cell.right - r, cell.top, r, ch);
}

void DrawSkinCell(HDC dc, const RECT& target, const TBitmap& image, bool transparent, int cellCount,
                  int cellIndex) {
  const int W = WidthOf(target), H = HeightOf(target);
  if (W <= 0 || H <= 0) return;
  const RECT cell = SkinCellRect(image, false, cellCount, cellIndex);
  if (IsRectEmpty(&cell)) return;
  TBitmap bmp = KeyFilled(W, H);
  Piece(bmp.CanvasHandle(), 0, 0, W, H, SourceCanvas(image), cell.left, cell.top, WidthOf(cell),
        HeightOf(cell));
  PutBitmap(dc, target.left, target.top, bmp, transparent);
}

void DrawSkinCellCentered(HDC dc, const RECT& target, const TBitmap& image, bool transparent,
                          int cellCount, int cellIndex) {
  const int W = WidthOf(target), H = HeightOf(target);
  if (W < 0 || H < 0) return;
  const RECT cell = SkinCellRect(image, false, cellCount, cellIndex);
  const int cw = WidthOf(cell), ch = HeightOf(cell);
  if (cw <= 0 || ch <= 0) return;
  const int x = target.left + (W - cw) / 2, y = target.top + (H - ch) / 2;
  HDC src = SourceCanvas(image);
  if (transparent)
    MaskedCopy(dc, x, y, cw, ch, image, cell.left, cell.top, clSkinKey, false);
  else
    BitBlt(dc, x, y, cw, ch, src, cell.left, cell.top, SRCCOPY);
}

void DrawTransparent(HDC dc, const RECT& target, const TBitmap& image, ImgUtil::TColor key) {
  if (WidthOf(target) <= 0 || HeightOf(target) <= 0 || image.Empty()) return;
  MaskedCopy(dc, target.left, target.top, std::min(WidthOf(target), image.Width()),
             std::min(HeightOf(target), image.Height()), image, 0, 0, key, false);
}

void DrawTransparentByRop(HDC dc, const RECT& target, const TBitmap& image, ImgUtil::TColor key) {
  if (WidthOf(target) <= 0 || HeightOf(target) <= 0 || image.Empty()) return;
  MaskedCopy(dc, target.left, target.top, std::min(WidthOf(target), image.Width()),
             std::min(HeightOf(target), image.Height()), image, 0, 0, key, true);
}

TRegion BitmapToRegion(const TBitmap& image, int xOffset, int yOffset, int blueTolerance,
                       int greenTolerance, int redTolerance, ImgUtil::TColor key) {
  TRegion result;
  // Per channel the key range runs from the key's value to value + tolerance, at most 255.
  const auto range = [](int value, int tolerance) {
    return std::pair<int, int>(value, std::min(255, value + std::max(tolerance, 0)));
  };
  const COLORREF k = ToColorRef(key);
  const auto [rLo, rHi] = range(GetRValue(k), redTolerance);
  const auto [gLo, gHi] = range(GetGValue(k), greenTolerance);
  const auto [bLo, bHi] = range(GetBValue(k), blueTolerance);

  // Rows are read straight from 24- or 32-bit images; other depths from a 32-bit copy.
  const TBitmap* pixels = &image;
  TBitmap converted;
  if (!image.Empty() && image.PixelFormat() != pf24bit && image.PixelFormat() != pf32bit) {
    converted = image;
    converted.SetPixelFormat(pf32bit);
    pixels = &converted;
  }
  const int step = pixels->PixelFormat() == pf32bit ? 4 : 3;

  std::vector<RECT> rects;
  rects.reserve(kRegionGrowth);
  std::vector<std::uint8_t> data;
  bool failed = false;
  const auto flush = [&] {
    const std::size_t bytes = sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT);
    data.assign(bytes, 0);
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(rects.size());
    header.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    SetRectEmpty(&header.rcBound);
    for (const RECT& r : rects)
      UnionRect(&header.rcBound, &header.rcBound, &r);
    std::memcpy(data.data(), &header, sizeof header);
    if (!rects.empty())
      std::memcpy(data.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
    TRegion piece(rects.empty() ? CreateRectRgn(0, 0, 0, 0)
                                : ExtCreateRegion(nullptr, static_cast<DWORD>(bytes),
                                                  reinterpret_cast<const RGNDATA*>(data.data())));
    rects.clear();
    if (!piece) {
      failed = true;
      return;
    }
    if (!result)
      result = std::move(piece);
    else
      CombineRgn(result.Get(), result.Get(), piece.Get(), RGN_OR);
  };

  const int width = pixels->Empty() ? 0 : pixels->Width();
  const int height = pixels->Empty() ? 0 : pixels->Height();
  for (int y = 0; y < height && !failed; ++y) {
    const std::uint8_t* row = pixels->ScanLine(y);
    int x = 0;
    while (x < width) {
      const auto isKey = [&](int px) {
        const std::uint8_t* p = row + static_cast<std::size_t>(px) * step;
        return p[2] >= rLo && p[2] <= rHi && p[1] >= gLo && p[1] <= gHi && p[0] >= bLo &&
               p[0] <= bHi;
      };
      while (x < width && isKey(x))
        ++x;
      if (x >= width) break;
      const int start = x;
      while (x < width && !isKey(x))
        ++x;
      if (rects.size() == rects.capacity()) rects.reserve(rects.size() + kRegionGrowth);
      rects.push_back(RECT{start + xOffset, y + yOffset, x + xOffset, y + 1 + yOffset});
      if (rects.size() >= kRegionBatch) flush();
    }
  }
  if (!failed) flush();
  if (failed) result.Reset();
  return result;
}

void DrawParentImage(TControl* control, HDC dc) {
  if (!control || !dc) return;
  TWinControl* parent = control->Parent();
  if (!parent) return;
  TSavedDC saved(dc);
  OffsetViewportOrgEx(dc, -control->Left(), -control->Top(), nullptr);
  const RECT bounds = control->BoundsRect();
  IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
  parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

// ---------------------------------------------------------------------------------------------
// The shared scratch

namespace {

struct TScratch {
  int Users = 0;
  std::unique_ptr<TBitmap> Bitmap;
  std::unique_ptr<std::vector<std::string>> List;
};

// Never freed: skinners may still let go of it while static objects go at program end.
TScratch& Scratch() {
  static auto* scratch = new TScratch;
  return *scratch;
}

} // namespace

void AcquireSkinScratch() {
  TScratch& s = Scratch();
  if (s.Users == 0) {
    s.Bitmap = std::make_unique<TBitmap>();
    s.List = std::make_unique<std::vector<std::string>>();
  }
  ++s.Users;
}

void ReleaseSkinScratch() {
  TScratch& s = Scratch();
  if (s.Users == 0) return;
  if (--s.Users == 0) {
    s.Bitmap.reset();
    s.List.reset();
  }
}

int SkinScratchUsers() {
  return Scratch().Users;
}

TBitmap* SkinScratchBitmap() {
  return Scratch().Bitmap.get();
}

std::vector<std::string>* SkinScratchList() {
  return Scratch().List.get();
}

HDC SkinScratchCanvas() {
  TBitmap* bmp = SkinScratchBitmap();
  if (!bmp || bmp->Empty()) return nullptr;
  HDC dc = bmp->CanvasHandle();
  SetStretchBltMode(dc, COLORONCOLOR);
  return dc;
}
