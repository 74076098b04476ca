// Resource ids of the application tests.
#pragma once
#define IDR_TESTFRAME 501
#define ID_APP_COMMAND 41001
#define ID_NO_HANDLER 41002
#define ID_CHECKED 41003
#define ID_FRAME_THROW 41004
#define ID_SHARED 41005
