// CArchive in memory: the bytes a store writes, and how a load of given bytes
// ends.
#pragma once

#include <afx.h>

#include <vector>

namespace archive_bytes {

using Bytes = std::vector<BYTE>;

// Stores through fn and returns the bytes written.
template <class F>
Bytes Store(F fn)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        fn(ar);
        ar.Close();
    }
    Bytes bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

// Loads through fn from a copy of the bytes; returns the archive exception
// cause, or -1 when none.
template <class F>
int LoadCause(Bytes bytes, F fn)
{
    CMemFile file;
    file.Attach(bytes.empty() ? nullptr : bytes.data(), static_cast<UINT>(bytes.size()));
    try
    {
        CArchive ar(&file, CArchive::load);
        fn(ar);
    }
    catch (CArchiveException* e)
    {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

}  // namespace archive_bytes
