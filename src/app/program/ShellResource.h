// Resource ids of the program's shell: message box, about box and the
// support texts.
#pragma once

#define IDS_START_FAILED 20990
#define IDS_VERSION 20025
#define IDS_DONATE 20108
#define IDS_BUTTON_ALL 20112
#define IDS_BUTTON_SKIP_ALL 20114
