// Included before the header of a native Linux library (zlib, minizip,
// libpng): wineg++ predefines the Windows macros, which would make those
// headers declare Windows calling conventions. QVTNativeHeadersEnd.h restores
// them. No include guard: the pair may be used more than once.
#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN64")
#pragma push_macro("__WIN32__")
#pragma push_macro("__WIN32")
#pragma push_macro("__WIN64__")
#pragma push_macro("__WIN64")
#pragma push_macro("__WINNT__")
#pragma push_macro("__WINNT")
#undef _WIN32
#undef WIN32
#undef _WIN64
#undef WIN64
#undef __WIN32__
#undef __WIN32
#undef __WIN64__
#undef __WIN64
#undef __WINNT__
#undef __WINNT
