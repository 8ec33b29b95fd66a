// The one skin manager of the process: watches window creation and activation on the
// user-interface thread through a WH_CBT hook, decides which windows are skinned and with
// which skin data component, owns the form skinners and popup menu skinners, and carries out
// the activate / deactivate / refresh requests of the skin data components.
#pragma once
#include "SkinTypes.h"
#include "SkinMessages.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TSkinData;
class TWinSkinForm;
class TWinSkinPopMenu;
class TCustomForm;
class TTimer;
class TBitmap;

class TSkinManage {
public:
  // The process's manager, or null before the first skin data component completes loading.
  static TSkinManage* Manager();
  // Creates the manager when there is none; returns it.
  static TSkinManage* CreateManager();
  // Frees the manager (program end): every skinner is detached and freed, the hook removed.
  static void DestroyManager();

  ~TSkinManage();
  TSkinManage(const TSkinManage&) = delete;
  TSkinManage& operator=(const TSkinManage&) = delete;

  void InstallHook();
  bool HookInstalled() const;
  // GetVersion() as read when the hook was installed (0 before).
  DWORD SystemVersion() const;

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
  int PendingRequest() const; // 0 when none is pending
  bool Active() const;        // windows are skinned only while set
  void SetActive(bool active);
  int ActivationState() const;   // a TActivationState
  void MarkActivatedAtRunTime(); // makes later requests run through the timer
  // Set while a request walks the application's forms itself (the MDI client rule is off).
  bool ForcedPass() const;

  // Every form skinner whose skin data is the current one reloads its skin.
  void ReloadSkinData();

  // The skinning decision for a window and the creation of its form skinner.
  bool SkinWindow(HWND wnd);
  bool SkinForm(TCustomForm* form);
  TWinSkinForm* FindSkinner(HWND wnd) const;
  void RemoveSkinner(HWND wnd);
  // Takes this skinner's entry out of the list (its destructor calls this).
  void RemoveSkinner(TWinSkinForm* skinner);
  const std::vector<TWinSkinForm*>& Skinners() const;
  TCustomForm* FindForm(HWND wnd) const;
  TSkinData* ChooseSkinData(HWND wnd) const;
  // Drops the skinners whose windows have gone.
  void Purge();
  // A skinner's window was destroyed: the skinner leaves the list and is freed (once the
  // message it is handling returns).
  void SkinnerWindowDestroyed(TWinSkinForm* skinner);

  // The parts of SkinWindow's decision, for the skinners and for checking them one by one.
  // The window rules: the MDI client rule (unless a forced pass), whose windows may be
  // skinned (a form, the program's own module, or "#32770"), a non-empty area, Tag 99 and the
  // class names never skinned.
  bool WindowQualifies(HWND wnd, TCustomForm* form, const std::string& className) const;
  // The class and style rules before the default skin data's final word: print previews only
  // when previewAllowed, no "#32770" with style bit 0x200, no "tpopupdbtreeview".
  static bool ClassAllowed(const std::string& className, DWORD style, bool previewAllowed);
  // The whole skin decision: ClassAllowed with the default skin data's xoPreview, then the
  // default skin data's ShouldSkinForm.
  bool SkinDecision(HWND wnd, const std::string& className) const;

  // Popup menu windows (class "#32768").
  void SkinPopupMenu(HWND wnd);
  void UnskinPopupMenu(HWND wnd);
  int PopupKind = mkPopupMenu; // a TPopupKind, set by the menu skinners before a menu opens
  const std::vector<TWinSkinPopMenu*>& PopupSkinners() const;
  TWinSkinPopMenu* FindPopupSkinner(HWND wnd) const;
  // Gives menu to the newest popup skinner that has no menu yet.
  void AssignMenu(HMENU menu);
  // The background image of the popup skinner that shows menu, or null.
  TBitmap* BackgroundOf(HMENU menu) const;

  // MDI: the client window and form of the skinned MDI frame, and whether its active child is
  // maximized.
  void SetMdiClient(HWND client, TCustomForm* form);
  HWND MdiClient() const;
  TCustomForm* MdiForm() const;
  bool MdiMaximized() const;
  void SetMdiMaximized(bool maximized);

  struct TState;

private:
  TSkinManage();
  void RunRequest();
  void FreeSkinner(TWinSkinForm* skinner, bool unskin);
  void PurgePopups();
  static LRESULT CALLBACK CbtHook(int code, WPARAM wparam, LPARAM lparam);
  std::unique_ptr<TState> FState;
};
