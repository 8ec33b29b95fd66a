// The one skin manager of the process: watches window creation and activation on the
// user-interface thread through a WH_CBT hook, decides which windows are skinned and with
// which skin data component, owns the form skinners and popup menu skinners, and carries out
// the activate / deactivate / refresh requests of the skin data components.
#pragma once
#include "SkinTypes.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;
class TCustomForm;
class TTimer;

// Message a skinned window answers with 1 (sent, wParam 0, lParam 0).
constexpr UINT SKM_QUERY_SKINNED = 0x3523;
// Posted to a window right after its form skinner was created (wParam 0, lParam 1000).
constexpr UINT SKM_SKINNED_NOTICE = 0x3503;

class TSkinManage {
public:
  // The process's manager, or null before the first skin data component completes loading.
  static TSkinManage* Manager();
  // Creates the manager when there is none; returns it.
  static TSkinManage* CreateManager();
  // Frees the manager (program end): every skinner is detached and freed, the hook removed.
  static void DestroyManager();

  ~TSkinManage();

  void InstallHook();
  bool HookInstalled() const;

  void RegisterSkinData(TSkinData* data);
  // Drops the component completely: as current or default skin data, its pending request, and
  // every skinner that uses it (detached and freed), so that nothing refers to it afterwards.
  void UnregisterSkinData(TSkinData* data);
  const std::vector<TSkinData*>& SkinDataList() const;
  TSkinData* DefaultSkinData() const;
  TSkinData* CurrentSkinData() const;
  void SetCurrentSkinData(TSkinData* data);

  // Schedules request kind (TSkinRequest) after ms; a new request replaces a pending one.
  void Request(int kind, int ms);
  int PendingRequest() const;          // 0 when none is pending
  bool Active() const;                  // windows are skinned only while set
  void SetActive(bool active);
  int ActivationState() const;          // 0 before the first activation; 4 while destroyed
  void MarkActivatedAtRunTime();        // makes later requests run through the timer

  // Every form skinner whose skin data is the current one reloads its skin.
  void ReloadSkinData();

  // The skinning decision for a window and the creation of its form skinner.
  bool SkinWindow(HWND wnd);
  bool SkinForm(TCustomForm* form);
  TWinSkinForm* FindSkinner(HWND wnd) const;
  void RemoveSkinner(HWND wnd);
  const std::vector<TWinSkinForm*>& Skinners() const;
  TCustomForm* FindForm(HWND wnd) const;
  TSkinData* ChooseSkinData(HWND wnd) const;

  // Popup menu windows (class "#32768").
  void SkinPopupMenu(HWND wnd);
  void UnskinPopupMenu(HWND wnd);
  int PopupKind = 0; // 0 popup menu, 1 menu-bar drop-down, 2 system menu

  struct TState;

private:
  TSkinManage();
  std::unique_ptr<TState> FState;
};
