#ifndef QUADRAFALL_RESOURCE_IDS_H
#define QUADRAFALL_RESOURCE_IDS_H
/* Resource and command numbers, shared by the resource script and the shells.
   Plain #defines so that the resource compiler can read them too. */

#define IDI_APPLICATION_ICON 105
#define IDI_DIGIT_0 106
#define IDI_DIGIT_1 108
#define IDI_DIGIT_2 109
#define IDI_DIGIT_3 110
#define IDI_DIGIT_4 111
#define IDI_DIGIT_5 112
#define IDI_DIGIT_6 113
#define IDI_DIGIT_7 114
#define IDI_DIGIT_8 115
#define IDI_DIGIT_9 116
#define IDR_MAIN_MENU 104
#define IDD_NAME_ENTRY 125
#define IDD_TOP_TEN 126
#define IDD_SET_KEYS 128

#define IDM_NEW 40001
#define IDM_EXIT 40002
#define IDM_TOP_TEN 40003
#define IDM_LEVEL_1 40014
#define IDM_LEVEL_2 40015
#define IDM_LEVEL_3 40017
#define IDM_LEVEL_4 40018
#define IDM_LEVEL_5 40019
#define IDM_LEVEL_6 40020
#define IDM_LEVEL_7 40021
#define IDM_LEVEL_8 40022
#define IDM_LEVEL_9 40023
#define IDM_LEVEL_0 40024
#define IDM_SET_KEYS 40025
#define IDM_EMPTY_ITEM 65535

#define IDC_NAME_FIELD 1002
#define IDC_SCORE_FIELD 1003
#define IDC_RESET_SCORES 1014
#define IDC_ENTER_YOUR_NAME 1097
#define IDC_THE_TOP_TEN_WITH 1098
#define IDC_ANTICLOCKWISE 1021
#define IDC_LEFT 1022
#define IDC_CLOCKWISE 1023
#define IDC_DOWN 1024
#define IDC_RIGHT 1025
#define IDC_DOWN_KEY 1026
#define IDC_DEFAULT 1027
#define IDC_RIGHT_KEY 1031
#define IDC_LEFT_KEY 1032
#define IDC_CLOCKWISE_KEY 1033
#define IDC_ANTICLOCKWISE_KEY 1034
#define IDC_UNNAMED_STATIC 0xFFFF

#endif
