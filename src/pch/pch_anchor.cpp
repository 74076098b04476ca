// Gives the shared precompiled header a translation unit to be built from.
