// Resource ids of the dialog tests.
#pragma once
#define IDD_SETTINGS 101
#define IDC_NAME 1001
#define IDC_COUNT 1002
#define IDC_ENABLED 1003
#define IDC_LOW 1004
#define IDC_MID 1005
#define IDC_HIGH 1006
#define IDC_FORMAT 1007
#define IDC_LIST 1008
#define IDC_SLIDER 1009
#define IDC_RATE 1010
#define IDC_APPLY 1011
