#pragma once

#include <windows.h>

#include <cstdint>

#include "app/HookLibrary.h"
#include "framework/AnimateCtrl.h"
#include "framework/Dialog.h"

// The main window: the spectacle-shaped, always-on-top, semi-transparent
// window with the eyes animation. It runs modally for the process's life,
// owns the notification icon, the one-second timer and the keyboard hook.
class CLumeyraDlg : public CDialogImpl<CLumeyraDlg> {
public:
    CLumeyraDlg();

    HICON m_hIcon;
    CAnimateCtrl m_animEyes;
    RECT m_rectWindow{};
    bool m_bDragging = false;
    POINT m_ptDragAnchor{};
    POINT m_ptLastCursor{};
    int32_t m_nWorkSeconds = 0;
    int32_t m_nIdleSeconds = 0;
    bool m_bStopped = false;
    int32_t m_nPostponements = 0;
    int32_t m_nTimeWork = 45;
    int32_t m_nTimeRelese = 15;

    // Adds (NIM_ADD) or updates (NIM_MODIFY) the notification icon, showing
    // whether the timer runs.
    void NotifyIcon(DWORD operation);

protected:
    BOOL OnInitDialog() override;
    // Enter, Escape and a close request leave the window open: it ends only
    // through the exit command.
    void OnOK() override {}
    void OnCancel() override {}

private:
    friend class CDialogImpl<CLumeyraDlg>;
    static std::span<const Message> Messages();

    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);

    void ShowRegistryError();
    void PlaceWindow(int windowType, int xPos, int yPos);
    void StartAnimation();
    void CutToOutline();

    CHookLibrary m_hook;
};
