// The private window messages of the skin engine, with their fixed numbers: windows of other
// parts of a process (and other skinned programs) rely on them, so they never change.
#pragma once
#include <windows.h>

constexpr UINT SKM_QUERY = 0x3523;         // sent: a skinned window answers 1
constexpr UINT SKM_FINISH = 0x3503;        // posted after the skinner was made, lParam 1000
constexpr UINT SKM_NCPAINT = 0x3502;       // repaint the whole non-client area
constexpr UINT SKM_RESKINSCROLL = 0x3517;  // wParam = child window: new scroll-bar skinner
constexpr UINT SKM_MENUBUTTON = 0x3518;    // lParam = screen point: press that menu-bar item
constexpr UINT SKM_CAPTIONACTION = 0x3514; // wParam = action code of a caption button
constexpr UINT SKM_BUTTONVISIBLE = 0x3515; // wParam = visibility code, lParam = action
constexpr UINT SKM_REDRAWFRAME = 0x3516;   // to the MDI client: the frame redraws itself
constexpr UINT SKM_RESKIN = 0x3401;        // re-apply the skin's colours
constexpr UINT SKM_PAINTFRAME = 0xBC4B;    // wParam = DC, lParam 0x41A2: paint the frame there
constexpr UINT SKM_HANDSHAKE = 0xBC4D;     // 0x41A2 when lParam is 0x41A2, else 1
constexpr UINT SKM_SKINNED = 0xBC4E;       // wParam 0, lParam 0x41A2: skinning is complete
constexpr UINT SKM_ENABLE = 0x3506;        // wParam > 0: skin painting on (and repaint), else off
constexpr UINT SKM_CLOSETAB = 0x3507;      // wParam = tab control, lParam = tab index: close box
constexpr UINT SKM_PAINTCLIENT = 0xBC4A;   // wParam = DC, lParam 0x41A2: an edit paints itself
// The lParam that marks the engine's own use of SKM_PAINTCLIENT, SKM_PAINTFRAME, SKM_HANDSHAKE
// and SKM_SKINNED (the last shares its number with the toolkit's reflected WM_NOTIFY).
constexpr LPARAM SKM_SKINNED_MAGIC = 0x41A2;
