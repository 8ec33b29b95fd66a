// The message records read the parameters the system packs: signed coordinates (a point left
// of or above the primary monitor is negative), the two words of a WPARAM, handles and
// pointers.
#include "Messages.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageRecords, PointsKeepTheirSign) {
  const struct { int X, Y; } points[] = {{0, 0}, {12, 34}, {-2, -1}, {-1920, 5}, {32767, -32768}};
  for (const auto& p : points) {
    const TMessage m{WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(p.X, p.Y), 0};
    const TWMMouse mouse(m);
    EXPECT_EQ(mouse.X, p.X);
    EXPECT_EQ(mouse.Y, p.Y);
    EXPECT_EQ(mouse.Pos().x, p.X);
    EXPECT_EQ(mouse.Keys, static_cast<UINT>(MK_LBUTTON | MK_SHIFT));
    const TWMSysCommand command(TMessage{WM_SYSCOMMAND, SC_MOVE, MAKELPARAM(p.X, p.Y), 0});
    EXPECT_EQ(command.CmdType, static_cast<UINT>(SC_MOVE));
    EXPECT_EQ(command.Y, p.Y);
    const TWMContextMenu menu(TMessage{WM_CONTEXTMENU, 0, MAKELPARAM(p.X, p.Y), 0});
    EXPECT_EQ(menu.Pos().y, p.Y);
    EXPECT_FALSE(menu.FromKeyboard) << p.X << "," << p.Y;
  }
  // The keyboard asks for a context menu with an LPARAM of -1 and no point.
  EXPECT_TRUE(TWMContextMenu(TMessage{WM_CONTEXTMENU, 0, -1, 0}).FromKeyboard);
}

TEST(MessageRecords, WordsHandlesAndPointersUnpacked) {
  HWND ctl = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
  const TWMCommand command(
      TMessage{WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), reinterpret_cast<LPARAM>(ctl), 0});
  EXPECT_EQ(command.ItemId, 1001u);
  EXPECT_EQ(command.NotifyCode, static_cast<UINT>(BN_CLICKED));
  EXPECT_EQ(command.Ctl, ctl);

  const TWMSize size(TMessage{WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(40000, 300), 0});
  EXPECT_EQ(size.SizeType, static_cast<UINT>(SIZE_MAXIMIZED));
  EXPECT_EQ(size.Width, 40000); // a size is never negative
  EXPECT_EQ(size.Height, 300);

  const TWMScroll scroll(TMessage{WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 50000), 0, 0});
  EXPECT_EQ(scroll.ScrollCode, static_cast<UINT>(SB_THUMBTRACK));
  EXPECT_EQ(scroll.Pos, 50000);
  EXPECT_EQ(scroll.ScrollBar, nullptr);

  const TWMKey key(TMessage{WM_KEYDOWN, VK_F5, (1 << 30) | 3, 0});
  EXPECT_EQ(key.CharCode, static_cast<UINT>(VK_F5));
  EXPECT_EQ(key.RepeatCount(), 3u);
  EXPECT_TRUE(key.WasDown());

  NMHDR hdr{ctl, 7, static_cast<UINT>(NM_CLICK)};
  const TWMNotify notify(TMessage{WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&hdr), 0});
  EXPECT_EQ(notify.IdCtrl, 7u);
  EXPECT_EQ(notify.NMHdr, &hdr);

  EXPECT_STREQ(TWMSetText(TMessage{WM_SETTEXT, 0, 0, 0}).Text, "");
  EXPECT_STREQ(TWMSetText(TMessage{WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abc"), 0}).Text, "abc");
  const TWMShowWindow shown(TMessage{WM_SHOWWINDOW, TRUE, SW_PARENTOPENING, 0});
  EXPECT_TRUE(shown.Show);
  EXPECT_EQ(shown.Status, static_cast<UINT>(SW_PARENTOPENING));
}

} // namespace
