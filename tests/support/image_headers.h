// Headers of a 64-bit image a test builds in memory, to hand code that
// reads modules an image the system never loaded.
#pragma once

#include <windows.h>

// A DOS header pointing at NT headers at nNtOffset, with the signature, the
// optional header's magic and every data directory counted; the caller
// fills the directories and sizes.
inline IMAGE_NT_HEADERS64* WriteImageHeaders(BYTE* pBase, LONG nNtOffset)
{
    auto* pDos = reinterpret_cast<IMAGE_DOS_HEADER*>(pBase);
    pDos->e_magic = IMAGE_DOS_SIGNATURE;
    pDos->e_lfanew = nNtOffset;
    auto* pNt = reinterpret_cast<IMAGE_NT_HEADERS64*>(pBase + nNtOffset);
    pNt->Signature = IMAGE_NT_SIGNATURE;
    pNt->OptionalHeader.Magic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    pNt->OptionalHeader.NumberOfRvaAndSizes = IMAGE_NUMBEROF_DIRECTORY_ENTRIES;
    return pNt;
}
