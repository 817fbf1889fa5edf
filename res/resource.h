// Resource and control identifiers shared by the resource script and the code.
#pragma once

#define IDD_LUMEYRA_DIALOG 102
#define IDR_MAINFRAME 128
#define IDI_TIMER_STOPPED 130
#define IDR_AVI_EYES 139
// The eyes drawn anew for 125, 150, 175 and 200 %.
#define IDR_AVI_EYES_120 183
#define IDR_AVI_EYES_144 184
#define IDR_AVI_EYES_168 185
#define IDR_AVI_EYES_192 186

#define IDC_ANIMATE_EYES 1000

#define IDD_RELESE 142
#define IDD_RELESE_TIME 169
#define IDB_PICTURE_FIRST 156  // twelve landscape pictures, 156 to 167
#define IDC_MESSAGE 1004
#define IDC_TIME_LABEL 1005
#define IDC_HELP_BUTTON 1013
#define IDC_REST_PROGRESS 1021
#define IDC_RELESE_PICTURE 1032

#define IDD_EDIT_PASSWORD 105
#define IDD_QUERY_PASSWORD 181
#define IDC_PASSWORD_INPUT 1022
#define IDC_PASSWORD_PROMPT 1023
#define IDC_OLD_PASSWORD 1025
#define IDC_NEW_PASSWORD 1026
#define IDC_REPEAT_PASSWORD 1027

#define IDD_ABOUTBOX 100
#define IDC_ABOUT_FOLD 1013  // the same id as the prompts' help button
#define IDC_ABOUT_TITLE 1015
#define IDC_ABOUT_MAIL 1019
#define IDC_ABOUT_EYE 1018
#define IDD_OPTIONS 170
#define IDC_TIME_WORK 1006
#define IDC_TIME_RELESE 1007
#define IDC_WINDOW_ORDINARY 1008
#define IDC_WINDOW_PASS_THROUGH 1009
#define IDC_X_POS 1010
#define IDC_Y_POS 1011
#define IDC_AUTO_START 1012
#define IDC_TAKE_POSITION 1013  // the same id as the prompts' help button
#define IDC_ALPHA 1014
#define IDC_OPTIONS_HELP 1017
#define IDC_PASSWORD_LINK 1024
#define IDC_QUIET_FULL_SCREEN 1031
#define IDC_POLICY_NOTE 1029
#define IDB_ABOUT_EYE 174
#define IDC_LINK_HAND 175
#define IDD_EXITE 178
#define IDI_EXIT_QUESTION 180
#define IDC_EXIT_QUESTION 1020
