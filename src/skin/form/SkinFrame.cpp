// The drawing half of the form skinner: frame sizes from the skin's frame sides, the reserved
// non-client area, borders, title bar, caption text and caption buttons, and the window region
// cut from the frame sides' transparent pixels.
#include "SkinManage.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

#include "Forms.h"

#include <algorithm>

namespace {
constexpr int kSideLeft = 1, kSideRight = 2, kSideTop = 3, kSideBottom = 4;

int Frames(const TDataSkinObject& e) {
  return std::max(e.FrameCount, 1);
}

// Sizes that come from the skin: never negative.
int Size(int value) {
  return std::max(value, 0);
}

COLORREF Rgb(TColor c) {
  return ColorToRGB(c);
}
} // namespace

// ---------------------------------------------------------------------------------------------
// Frame sizes and caption buttons

void TWinSkinForm::ReadFrame() {
  if (!FSkinData || !FSkinData->SkinLoaded()) return;
  TSkinData& s = *FSkinData;
  if (FFrameKind == 2) {
    FTitleHeight = FBorderBottom = FBorderLeft = FBorderRight = 0;
    FMenuBarHeight = 0;
  } else {
    FTitleHeight = Size(s.Top.Image.Height() / Frames(s.Top));
    FBorderBottom = Size(s.Bottom.Image.Height() / Frames(s.Bottom));
    FBorderLeft = Size(s.Left.Image.Width() / Frames(s.Left));
    FBorderRight = Size(s.Right.Image.Width() / Frames(s.Right));
  }
  FSideCache = TSideCache();
  FreeCaptionButtons();
  for (const auto& element : s.CaptionButtons)
    FCaptionButtons.push_back(std::make_unique<TWinSysButton>(this, element.get()));
  for (const auto& element : s.CaptionButtons) {
    if (element->Action != 3 && element->Action != 11) continue;
    BuildIconImage();
    if (element->Image.Empty()) element->Image = FIconImage;
    if (s.AppIcon.Empty()) s.AppIcon = FIconImage;
    element->FrameCount = 1;
  }
}

HICON TWinSkinForm::WindowIcon() const {
  HWND app = Application ? Application->Handle() : nullptr;
  for (HWND wnd : {app, FHandle}) {
    if (!wnd) continue;
    DWORD_PTR icon = 0;
    for (WPARAM kind : {ICON_SMALL, ICON_BIG})
      if (SendMessageTimeoutA(wnd, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, 200, &icon) && icon)
        return reinterpret_cast<HICON>(icon);
  }
  return nullptr;
}

void TWinSkinForm::BuildIconImage() {
  const int cx = std::max(GetSystemMetrics(SM_CXSMICON), 1);
  const int cy = std::max(GetSystemMetrics(SM_CYSMICON), 1);
  FSmallIconWidth = cx;
  FIconImage = TBitmap(cx, cy, pf24bit);
  HDC dc = FIconImage.CanvasHandle();
  if (!dc) return;
  RECT all{0, 0, cx, cy};
  TBrushHandle magenta(CreateSolidBrush(RGB(255, 0, 255)));
  FillRect(dc, &all, magenta.Get());
  DWORD_PTR icon = 0;
  for (WPARAM kind : {ICON_SMALL, ICON_BIG})
    if (!icon) SendMessageTimeoutA(FHandle, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, 200, &icon);
  if (!icon) return;
  TIconHandle copy(static_cast<HICON>(
      CopyImage(reinterpret_cast<HICON>(icon), IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE)));
  if (!copy) copy.Reset(CopyIcon(reinterpret_cast<HICON>(icon)));
  if (copy) DrawIconEx(dc, 0, 0, copy.Get(), cx, cy, 0, nullptr, DI_NORMAL);
}

// ---------------------------------------------------------------------------------------------
// Reserving the frame

LRESULT TWinSkinForm::NCCalcSize(WPARAM wparam, LPARAM lparam) {
  LRESULT r = Default(WM_NCCALCSIZE, wparam, lparam);
  auto inset = [this](RECT window) {
    return RECT{window.left + FBorderLeft, window.top + FTitleHeight + FMenuBarHeight,
                window.right - FBorderRight, window.bottom - FBorderBottom};
  };
  if (!wparam) {
    // The client rectangle of a window about to be made: the same frame.
    auto* rect = reinterpret_cast<RECT*>(lparam);
    if (rect && FFrameKind != 2) *rect = inset(*rect);
    return 0;
  }
  auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam);
  if ((FMDIKind == 2 && FShowState != 0) || FFrameKind == 2) {
    params->rgrc[1] = params->rgrc[0];
    return WVR_VALIDRECTS;
  }
  (void)r;
  const WINDOWPOS* pos = params->lppos;
  RECT window{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy};
  RECT client = inset(window);
  client.right = std::max(client.right, client.left);
  client.bottom = std::max(client.bottom, client.top);
  params->rgrc[0] = client;
  params->rgrc[1] = client;
  return WVR_VALIDRECTS;
}

void TWinSkinForm::Reframe(bool reread) {
  if (FShowState == 1) {
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return;
  }
  if (DialogClass() || FSkinState == stRefreshing) GetClientRect(FHandle, &FClientRect);
  int w = FClientRect.right + FBorderLeft + FBorderRight;
  int keptHeight = FClientRect.bottom;
  if (reread) {
    GetClientRect(FHandle, &FClientRect);
    w = FClientRect.right + FBorderLeft + FBorderRight;
    keptHeight = FClientRect.bottom;
  } else if (FForm) {
    w = FForm->ClientWidth() + FBorderLeft + FBorderRight;
    keptHeight = FMDIKind == 2 ? FForm->ClientHeight() : FForm->ClientHeight() - FMenuBarHeight;
  } else if (FSkinMenu) {
    // The client grew by the system's menu bar when the skinned bar took the menu over.
    keptHeight -= FMenuBarHeight;
  }
  const int h = keptHeight + FTitleHeight + FBorderBottom + FMenuBarHeight;
  if (DialogClass() && !reread && FSkinData) {
    // A dialog is widened to show its whole caption.
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(FHandle)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(FHandle, text.data(), int(text.size()))));
    text = FCaptionPrefix + text + FCaptionSuffix;
    TWindowDC dc(FHandle);
    TSelectObject font(dc.DC(), FSkinData->CaptionFont());
    SIZE extent{};
    GetTextExtentPoint32W(dc.DC(), text.c_str(), int(text.size()), &extent);
    FCaptionTextWidth = extent.cx;
    const RECT& m = FSkinData->Title.Margins;
    const int needed = m.left + FCaptionTextWidth + m.right;
    if (w < needed) {
      const int shift = (needed - w) / 2;
      for (HWND child = GetWindow(FHandle, GW_CHILD); child;
           child = GetWindow(child, GW_HWNDNEXT)) {
        RECT cr{};
        GetWindowRect(child, &cr);
        MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&cr), 2);
        SetWindowPos(child, nullptr, cr.left + shift, cr.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      }
      w = needed;
    }
  }
  SetWindowPos(FHandle, nullptr, 0, 0, w, h,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---------------------------------------------------------------------------------------------
// Painting

LRESULT TWinSkinForm::NCActivate(WPARAM wparam, LPARAM lparam) {
  FActive = wparam != 0;
  SetHoverTimer(FActive);
  if (!FActive) HideHint();
  if (FMDIKind == 1 && FMDIClient) SendMessageA(FMDIClient, WM_NCACTIVATE, wparam, lparam);
  if (FMDIKind == 2) Default(WM_NCACTIVATE, wparam, lparam);
  TSkinManage* manager = TSkinManage::Manager();
  if (!(FMDIKind == 2 && manager && manager->MdiMaximized())) PaintNonClient();
  return 1;
}

TBitmap TWinSkinForm::SidePiece(int side, const RECT& rect) const {
  if (rect.right - rect.left <= 0 || rect.bottom - rect.top <= 0) return TBitmap();
  const TSkinData& s = *FSkinData;
  const TDataSkinBorder* element = side == kSideLeft    ? &s.Left
                                   : side == kSideRight ? &s.Right
                                   : side == kSideTop   ? &s.Top
                                                        : &s.Bottom;
  const int frames = Frames(*element);
  const int cell = (FActive || frames == 1) ? 1 : 2;
  const bool vertical = side == kSideTop || side == kSideBottom;
  return StretchSkinBitmap(rect, element->Image, element->Margins, vertical, element->Tile != 1,
                           frames, cell);
}

namespace {
// Copies the piece's top-left part, as large as rect, to rect in dc.
void PutPiece(HDC dc, const RECT& rect, TBitmap& piece) {
  HDC src = piece.Empty() ? nullptr : piece.CanvasHandle();
  if (!src) return;
  BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, src, 0, 0,
         SRCCOPY);
}
} // namespace

void TWinSkinForm::PaintNonClient(HDC given) {
  if (!SkinScratchBitmap() || (FSkinState != stActive && FSkinState != stRefreshing) ||
      FFrameKind == 2 || (FMDIKind == 2 && FShowState == 1) || !FSkinData ||
      !FSkinData->SkinLoaded() || !IsWindow(FHandle))
    return;
  std::unique_ptr<TWindowDC> own;
  HDC dc = given;
  if (!dc) {
    own = std::make_unique<TWindowDC>(FHandle);
    dc = own->DC();
  }
  if (!dc) return;
  try {
    GetWindowRect(FHandle, &FWindowRect);
    FWindowWidth = FWindowRect.right - FWindowRect.left;
    FWindowHeight = FWindowRect.bottom - FWindowRect.top;
    const int w = FWindowWidth, h = FWindowHeight;
    if (FShowState == 2 || IsIconic(FHandle)) {
      TBitmap none;
      PaintTitle(dc, none, none);
    } else {
      const RECT leftRect{0, 0, FBorderLeft, h}, rightRect{w - FBorderRight, 0, w, h};
      const RECT bottomRect{FBorderLeft, h - FBorderBottom, w - FBorderRight, h};
      TSideCache& cache = FSideCache;
      if (cache.Width != w || cache.Height != h || cache.Active != FActive) {
        cache.Sides[kSideLeft - 1] = SidePiece(kSideLeft, leftRect);
        cache.Sides[kSideRight - 1] = SidePiece(kSideRight, rightRect);
        cache.Sides[kSideBottom - 1] = SidePiece(kSideBottom, bottomRect);
        cache.Sides[kSideTop - 1] =
            SidePiece(kSideTop, {FBorderLeft, 0, w - FBorderRight, FTitleHeight});
        cache.Width = w, cache.Height = h, cache.Active = FActive;
      }
      PutPiece(dc, leftRect, cache.Sides[kSideLeft - 1]);
      PutPiece(dc, rightRect, cache.Sides[kSideRight - 1]);
      PutPiece(dc, bottomRect, cache.Sides[kSideBottom - 1]);
      PaintTitle(dc, cache.Sides[kSideLeft - 1], cache.Sides[kSideRight - 1]);
      RECT band{FBorderLeft, FTitleHeight, w - FBorderRight, FTitleHeight + FMenuBarHeight};
      if (FSkinMenu)
        FSkinMenu->PaintBar(dc, band);
      else if (FMenuBarHeight > 0)
        FillRect(dc, &band, FSkinData->ButtonFaceBrush());
    }
  } catch (...) {
    // A failed paint leaves the frame as far as it got.
  }
  HotObject = nullptr;
}

void TWinSkinForm::PaintTitle(HDC dc, TBitmap& left, TBitmap& right) {
  const bool minimized = FShowState == 2 || IsIconic(FHandle);
  const int w = FWindowWidth;
  const int bufferHeight = minimized ? FWindowHeight : FTitleHeight;
  if (w <= 0 || bufferHeight <= 0) return;
  if (FTitleBuffer.Width() != w || FTitleBuffer.Height() != bufferHeight)
    FTitleBuffer = TBitmap(w, bufferHeight, pf24bit);
  HDC buffer = FTitleBuffer.CanvasHandle();
  if (!buffer) return;
  RECT r{};
  if (!minimized) {
    // The corners of the title band are the top parts of the left and right sides.
    PutPiece(buffer, {0, 0, FBorderLeft, bufferHeight}, left);
    PutPiece(buffer, {w - FBorderRight, 0, w, bufferHeight}, right);
    r = {FBorderLeft, 0, w - FBorderRight, FTitleHeight};
  } else {
    RECT all{0, 0, w, bufferHeight};
    FillRect(buffer, &all, FSkinData->ButtonFaceBrush());
    r = {0, 0, w, FTitleHeight};
  }
  if (minimized) {
    TBitmap top = SidePiece(kSideTop, r);
    PutPiece(buffer, r, top);
  } else {
    PutPiece(buffer, r, FSideCache.Sides[kSideTop - 1]);
  }
  PaintCaptionText(buffer, r);
  // Kept for single caption buttons, whose cells may be transparent around their glyphs.
  FTitleBack = FTitleBuffer;
  LayoutCaptionButtons();
  for (const auto& button : FCaptionButtons) {
    if (!button->Visible || button->SkinButton->Image.Empty()) continue;
    if (button->SkinButton->Visibility == 100) continue;
    const int action = button->SkinButton->Action;
    if (action == 3 || action == 11) {
      DrawWindowIcon(buffer, button->BoundsRect);
      continue;
    }
    const int frames = button->Frames();
    const int cell = (frames >= 4 && (!FActive || !button->Enabled)) ? 4 : 1;
    DrawSkinCell(buffer, button->BoundsRect, button->SkinButton->Image, true, frames, cell);
    button->State = 1;
  }
  BitBlt(dc, 0, 0, w, bufferHeight, buffer, 0, 0, SRCCOPY);
  SetBkMode(dc, OPAQUE);
}

void TWinSkinForm::PaintCaptionText(HDC dc, const RECT& r) {
  TSkinData& s = *FSkinData;
  const TDataSkinTitle& title = s.Title;
  // The caption.
  std::wstring text;
  if (UnicodeWindow()) {
    text.resize(static_cast<size_t>(GetWindowTextLengthW(FHandle)) + 1);
    text.resize(static_cast<size_t>(GetWindowTextW(FHandle, text.data(), int(text.size()))));
  } else {
    char buf[1000] = {};
    DefWindowProcA(FHandle, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
    text = AnsiToWide(buf);
  }
  FCaption = text;
  text = FCaptionPrefix + text + FCaptionSuffix;

  // Room the right-aligned caption buttons take.
  FCaptionRightSpace = 0;
  for (size_t i = 0; i < FCaptionButtons.size(); ++i) {
    TWinSysButton& b = *FCaptionButtons[i];
    if (ButtonVisible(int(i)) && b.SkinButton->Align == 1 && !b.SkinButton->Image.Empty())
      FCaptionRightSpace = std::max(FCaptionRightSpace, b.SkinButton->XCoord);
  }

  TSelectObject font(dc, s.CaptionFont());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Rgb(s.Colours[FActive ? scTitleTextActive : scTitleTextNoActive]));

  RECT measured{r.left, r.top, r.left, r.top};
  DrawWideText(dc, text, measured, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_CALCRECT);
  const int textHeight = measured.bottom - measured.top;
  const int tw = (measured.right - measured.left) + title.TextBackLeft + title.TextBackRight;
  const int rw = r.right - r.left;
  const RECT& m = title.Margins; // left: "TextShift", top: "TextShiftVert", right: "TextRightClip"
  int shift = 0;
  if (!FRightToLeft) {
    switch (title.TextAlignment) {
    case 0:
      shift = m.left;
      break;
    case 1:
      shift = (rw - tw) / 2;
      break;
    case 2:
      shift = rw - m.right - tw;
      break;
    }
  } else {
    switch (title.TextAlignment) {
    case 0:
      shift = rw - FCaptionRightSpace - tw;
      break;
    case 1:
      shift = (rw - tw - FCaptionRightSpace) / 2;
      break;
    case 2:
      shift = m.left;
      break;
    }
  }
  RECT tr{r.left, r.top, r.left + tw, r.top + textHeight};
  OffsetRect(&tr, shift, (r.bottom - r.top - textHeight) / 2 + m.top / 2);
  if (FRightToLeft && shift < 1) tr.left = m.left;
  const int R = r.right;
  if (GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_POPUP) {
    if (FRightToLeft)
      OffsetRect(&tr, 10, 0);
    else if (R - FCaptionRightSpace - 5 < tr.right && FCaptionRightSpace > 5)
      tr.right = R - FCaptionRightSpace - 5;
  } else if (FRightToLeft) {
    OffsetRect(&tr, 10, 0);
  } else {
    tr.right = std::min<LONG>(tr.right, R - m.right);
  }
  if (FFrameKind == 3 && title.TextAlignment == 0) tr.left -= 16;
  FCaptionTextArea = tr;
  if (!title.Image.Empty())
    DrawSkinBar(dc, {tr.left, r.top, tr.right, r.bottom}, title.Image, true, true,
                2 /* active, inactive */, FActive ? 1 : 2,
                RECT{title.TextBackLeft, 0, title.TextBackRight, 0});
  tr.left += title.TextBackLeft;
  tr.right -= title.TextBackRight;
  UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (FRightToLeft) format |= DT_RIGHT | DT_RTLREADING;
  if (tr.right > tr.left) DrawWideText(dc, text, tr, format);
  FTextRect = tr;
  SetBkMode(dc, oldMode);
}

void TWinSkinForm::PaintCaptionButton(TWinSysButton& button) {
  if (!IsWindow(FHandle) || button.SkinButton->Image.Empty()) return;
  const RECT& r = button.BoundsRect;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  TWindowDC dc(FHandle);
  if (!dc) return;
  TBitmap piece(w, h, pf24bit);
  HDC target = piece.CanvasHandle();
  // Behind the button: the title bar, or the menu bar for the buttons of a maximized MDI child.
  TBitmap* backImage = &FTitleBack;
  POINT origin{0, 0};
  if (r.top >= FTitleHeight && FSkinMenu) {
    backImage = const_cast<TBitmap*>(&FSkinMenu->BarImage());
    origin = {FSkinMenu->BarRect().left, FSkinMenu->BarRect().top};
  }
  HDC back = backImage->Empty() ? nullptr : backImage->CanvasHandle();
  if (!target || !back) {
    DrawSkinCell(dc.DC(), r, button.SkinButton->Image, true, button.Frames(), button.CurrentCell());
    return;
  }
  BitBlt(target, 0, 0, w, h, back, r.left - origin.x, r.top - origin.y, SRCCOPY);
  DrawSkinCell(target, {0, 0, w, h}, button.SkinButton->Image, true, button.Frames(),
               button.CurrentCell());
  BitBlt(dc.DC(), r.left, r.top, w, h, target, 0, 0, SRCCOPY);
}

void TWinSkinForm::LayoutCaptionButtons() {
  const int menuLeft = FSkinData->MenuBar ? FSkinData->MenuBar->Margins.left : 0;
  for (size_t i = 0; i < FCaptionButtons.size(); ++i) {
    TWinSysButton& b = *FCaptionButtons[i];
    if (!ButtonVisible(int(i)) || b.SkinButton->Image.Empty()) continue;
    const TDataSkinSysButton& e = *b.SkinButton;
    const int w = e.Image.Width() / b.Frames(), h = e.Image.Height();
    int x = 0, y = 0;
    switch (e.Align) {
    case 0:
      x = e.XCoord, y = e.YCoord;
      break;
    case 1:
      x = FWindowWidth - e.XCoord, y = e.YCoord;
      break;
    case 2:
    case 8:
      x = FCaptionTextArea.left - w - e.XCoord, y = e.YCoord;
      break;
    case 3:
    case 9:
      x = FCaptionTextArea.right + e.XCoord, y = e.YCoord;
      break;
    case 100:
      x = FWindowWidth - e.XCoord - FBorderRight - menuLeft;
      y = FTitleHeight + (FMenuBarHeight - h) / 2;
      break;
    }
    b.BoundsRect = {x, y, x + w, y + h};
  }
}

void TWinSkinForm::DrawWindowIcon(HDC dc, const RECT& buttonRect) {
  const int size = FSmallIconWidth;
  if (!FSmallIconRead) {
    FSmallIconRead = true;
    if (HICON icon = WindowIcon()) {
      FSmallIcon.Reset(
          static_cast<HICON>(CopyImage(icon, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE)));
      if (!FSmallIcon) FSmallIcon.Reset(CopyIcon(icon));
    }
  }
  if (FSmallIcon) {
    const int y = (FTextRect.top + FTextRect.bottom) / 2 - size / 2;
    DrawIconEx(dc, 8, y, FSmallIcon.Get(), size, size, 0, nullptr, DI_NORMAL);
    return;
  }
  DrawTransparent(dc, buttonRect, FIconImage);
}

bool TWinSkinForm::ButtonVisible(int index) {
  if (index < 0 || size_t(index) >= FCaptionButtons.size()) return false;
  TWinSysButton& b = *FCaptionButtons[size_t(index)];
  const TDataSkinSysButton& e = *b.SkinButton;
  const bool maximized = FShowState == 1;
  const bool minBox = (FCaptionFlags & 2) != 0, maxBox = (FCaptionFlags & 1) != 0;
  const bool help = (FCaptionFlags & 4) != 0, sysMenu = (FCaptionFlags & 8) != 0;
  const bool dialogFrame = FFrameKind == 3 && !DialogClass();
  // One visibility code; `first` for Visibility, else for Visibility1 (whose 100 repeats the
  // first condition's result). The two read the same codes except where they say otherwise.
  auto condition = [&](int code, bool first, bool firstResult) -> bool {
    switch (code) {
    case -1:
      return false; // no defined meaning: hidden
    case 0:
      return true;
    case 1:
      return maximized;
    case 2:
      return !maximized;
    case 3:
      return FActive;
    case 4:
      return !FActive;
    case 5:
      return false;
    case 6:
    case 8:
      return (minBox || maxBox) && (sysMenu || !first);
    case 7:
      return !maxBox;
    case 9:
      return !minBox;
    case 10:
      return help && (!first || (!minBox && !maxBox));
    case 100: {
      if (!first) return firstResult;
      TSkinManage* m = TSkinManage::Manager();
      return FMDIKind == 1 && m && m->MdiMaximized() && FMenuBarHeight > 0;
    }
    case 200:
      return dialogFrame;
    }
    if (code >= 201 && code <= 999) return true;
    if (code >= 1000 && code <= 2000)
      return !first || SendMessageA(FHandle, SKM_BUTTONVISIBLE, WPARAM(code), LPARAM(e.Action)) > 0;
    return false;
  };
  const bool a = condition(e.Visibility, true, false);
  bool visible = a && condition(e.Visibility1, false, a);
  switch (e.Action) {
  case 0:
    if (!sysMenu) visible = false;
    break;
  case 1:
    b.Enabled = maxBox && sysMenu;
    break;
  case 2:
    b.Enabled = minBox && sysMenu;
    break;
  case 3:
  case 11:
  case 12:
    if (FFrameKind == 3) visible = false;
    break;
  }
  b.Visible = visible;
  return visible;
}

// ---------------------------------------------------------------------------------------------
// The window region

void TWinSkinForm::MakeRegion() {
  if (FSkinState == stReleased || !FSkinNC || !FSkinData || !IsWindow(FHandle)) return;
  RECT wr{};
  GetWindowRect(FHandle, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (w <= 0 || h <= 0) return;
  if (FMDIKind == 2 && FShowState != 0) return;
  if (w == FRegionWidth && h == FRegionHeight && FMDIKind != 2 && FSkinState != stRefreshing)
    return;
  TSkinData& s = *FSkinData;
  FRegionWidth = w;
  FRegionHeight = h;
  TRegion region;
  if (s.Left.Trans == 1 || s.Right.Trans == 1 || s.Top.Trans == 1 || s.Bottom.Trans == 1) {
    region.Reset(CreateRectRgn(FBorderLeft, FTitleHeight, w - FBorderRight, h - FBorderBottom));
    auto add = [&](HRGN part) {
      if (part) CombineRgn(region.Get(), region.Get(), part, RGN_OR);
    };
    auto sideRegion = [&](int side, const RECT& rect, int x, int y) -> TRegion {
      const TDataSkinBorder& e = side == kSideLeft    ? s.Left
                                 : side == kSideRight ? s.Right
                                 : side == kSideTop   ? s.Top
                                                      : s.Bottom;
      RECT local{0, 0, rect.right - rect.left, rect.bottom - rect.top};
      TBitmap piece =
          StretchSkinBitmap(local, e.Image, e.Margins, side == kSideTop || side == kSideBottom,
                            e.Tile != 1, Frames(e), 1);
      if (piece.Empty()) return TRegion(CreateRectRgnIndirect(&rect));
      return BitmapToRegion(piece, x, y, 1, 1, 1);
    };
    if (FFrameKind != 2) {
      const RECT left{0, 0, FBorderLeft, h};
      if (s.Left.Trans == 1 && h > 1)
        add(sideRegion(kSideLeft, left, 0, 0).Get());
      else
        add(TRegion(CreateRectRgnIndirect(&left)).Get());
      const RECT right{w - FBorderRight, 0, w, h};
      if (s.Right.Trans == 1 && h > 1)
        add(sideRegion(kSideRight, right, w - FBorderRight, 0).Get());
      else
        add(TRegion(CreateRectRgnIndirect(&right)).Get());
      const RECT bottom{FBorderLeft, h - FBorderBottom, w - FBorderRight, h};
      if (s.Bottom.Trans == 1 && FBorderBottom >= 2)
        add(sideRegion(kSideBottom, bottom, FBorderLeft, h - FBorderBottom).Get());
      else
        add(TRegion(CreateRectRgnIndirect(&bottom)).Get());
      const RECT top{FBorderLeft, 0, w - FBorderRight, FTitleHeight};
      if (s.Top.Trans == 1 && FTitleHeight > 1 && top.right > top.left)
        add(sideRegion(kSideTop, top, FBorderLeft, 0).Get());
      else
        add(TRegion(CreateRectRgnIndirect(&top)).Get());
    }
  } else {
    region.Reset(CreateRectRgn(0, 0, w, h));
  }
  if (!region) return;
  // Once set, the region belongs to the system: it is never deleted here.
  if (SetWindowRgn(FHandle, region.Get(), TRUE)) {
    region.Release();
    FOwnsRegion = true;
  }
}

void TWinSkinForm::DropRegion() {
  FRegionWidth = FRegionHeight = 0;
  if (!FOwnsRegion || !IsWindow(FHandle)) return;
  SetWindowRgn(FHandle, nullptr, FMDIKind == 2);
  FOwnsRegion = false;
}
