// The X library behind Wine's display driver keeps the user's resource
// database once it has read one; while it finds none (no resource property
// on the display, no ~/.Xdefaults, no host file) it looks for the files
// again at every lookup, and the driver looks up two resources at every
// font selection: several hundred times before the main window shows.
#pragma once

// Points XENVIRONMENT at an empty file (/dev/null) when it is unset and the
// host file it stands for (~/.Xdefaults-<host name>) does not exist, which
// gives the same resources, read once. Leaves everything else as it is.
// Call before the display driver loads.
void ReadDisplayResourcesOnce();

// Makes the display driver set up the X input method for this thread now.
// The X library reads the locale's compose table for it (half a megabyte,
// a character at a time), and the C library locks the file for every
// character once the process has a second thread: call before the program
// starts any thread.
void SetUpInputMethodWhileSingleThreaded();
