// Resource and control identifiers shared by the resource script and the code.
#pragma once

#define IDD_LUMEYRA_DIALOG 102
#define IDR_MAINFRAME 128
#define IDI_TIMER_STOPPED 130
#define IDR_AVI_EYES 139

#define IDC_ANIMATE_EYES 1000
