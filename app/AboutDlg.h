#pragma once

#include "controls/Label.h"
#include "core/AboutLayout.h"
#include "framework/Dialog.h"
#include "framework/Handles.h"

// The About box: logo, name and version, author, a request for feedback
// with a mail link, and on demand the program's description. It opens folded,
// with the description cut off below the buttons; ">>" unfolds and folds it.
// The fold fields (m_bExpanded, m_rcWindow and the two bottoms) come from
// AboutFold.
class CAboutDlg : public CDialogImpl<CAboutDlg>, public AboutFold {
public:
    CAboutDlg();

    CLabel m_labelTitle;
    CLabel m_labelMail;

protected:
    BOOL OnInitDialog() override;

private:
    friend class CDialogImpl<CAboutDlg>;
    static std::span<const Message> Messages();
    static std::span<const Command> Commands();

    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnScaleSettled(WPARAM, LPARAM);
    void OnFold();
    // Moves the box to m_rcWindow.
    void MoveToFold();
    // The link's cursor and the logo at the dialog's present scale.
    void ShowAtScale();

    // The mail link's cursor, and the logo as its static shows it.
    CursorHandle m_linkCursor;
    GdiHandle m_eye;
};
