#pragma once

#include <string>

#include "framework/Dialog.h"
#include "framework/Handles.h"

// The rest prompt: tells the user that work has lasted past the limit,
// shows a landscape, and offers to rest now (result 1) or to work five
// minutes more (result 2). It announces itself once, shortly after it shows.
class CRelese : public CDialogImpl<CRelese> {
public:
    CRelese();

    std::string m_strMessage;  // written by the caller before the run
    int m_nPictureId = 0;
    bool m_bAlertPending = false;

protected:
    BOOL OnInitDialog() override;

private:
    friend class CDialogImpl<CRelese>;
    static std::span<const Message> Messages();
    static std::span<const Command> Commands();

    LRESULT OnShowWindow(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnScaleSettled(WPARAM, LPARAM);
    void OnHelpButton();
    // Puts the landscape into its frame at the frame's present size.
    void FitLandscape();

    // The landscape as its frame shows it, while the prompt is open.
    GdiHandle m_picture;
};
