#include "tests/toolkit/ribbon/frame/ribbon_frame_suite.h"

CFrameHost* CRibbonFrameSuite::s_pHost = nullptr;
