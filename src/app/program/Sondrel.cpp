// The program's one application object.
#include "app/program/SondrelApp.h"

CSondrelApp theApp;
