// Ids of the tracking tests' resources.
#pragma once

#define IDR_TRK_MAIN 310

#define ID_TRK_NEW 100
#define ID_TRK_OPEN 101
#define ID_TRK_COPY 110
#define ID_TRK_PASTE 111
#define ID_TRK_STATUS 120
#define ID_TRK_ONE 150
#define ID_TRK_TWO 151
#define ID_TRK_PRINT 200
#define ID_TRK_SAVE 201
