// Resource and control identifiers shared by the resource script and the code.
#pragma once

#define IDD_LUMEYRA_DIALOG 102
#define IDR_MAINFRAME 128
#define IDI_TIMER_STOPPED 130
#define IDR_AVI_EYES 139

#define IDC_ANIMATE_EYES 1000

#define IDD_RELESE 142
#define IDD_RELESE_TIME 169
#define IDB_PICTURE_FIRST 156  // twelve landscape pictures, 156 to 167
#define IDC_MESSAGE 1004
#define IDC_TIME_LABEL 1005
#define IDC_HELP_BUTTON 1013
#define IDC_REST_PROGRESS 1021

#define IDD_EDIT_PASSWORD 105
#define IDD_QUERY_PASSWORD 181
#define IDC_PASSWORD_INPUT 1022
#define IDC_PASSWORD_PROMPT 1023
#define IDC_OLD_PASSWORD 1025
#define IDC_NEW_PASSWORD 1026
#define IDC_REPEAT_PASSWORD 1027
