// Path splitting and joining, full paths and file search on UTF-16.
#include <tchar.h>

#include <cstdlib>
#include <cstring>

namespace {

bool IsSlash(char16_t c)
{
    return c == u'\\' || c == u'/';
}

bool ValidOut(const char16_t* p, size_t size)
{
    return (p == nullptr) == (size == 0);
}

bool Put(char16_t* out, size_t size, const char16_t* from, size_t n)
{
    if (!out)
        return true;
    if (n >= size)
        return false;
    memcpy(out, from, n * sizeof(char16_t));
    out[n] = 0;
    return true;
}

__int64 ToUnixTime(const FILETIME& ft)
{
    ULARGE_INTEGER v;
    v.LowPart = ft.dwLowDateTime;
    v.HighPart = ft.dwHighDateTime;
    if (v.QuadPart == 0)
        return -1;
    return __int64((v.QuadPart - 116444736000000000ULL) / 10000000ULL);
}

template <typename Data>
void Fill(Data* data, const WIN32_FIND_DATAW& fd)
{
    data->attrib = fd.dwFileAttributes == FILE_ATTRIBUTE_NORMAL ? 0 : fd.dwFileAttributes;
    data->time_create = ToUnixTime(fd.ftCreationTime);
    data->time_access = ToUnixTime(fd.ftLastAccessTime);
    data->time_write = ToUnixTime(fd.ftLastWriteTime);
    unsigned long long size = (unsigned long long)fd.nFileSizeHigh << 32 | fd.nFileSizeLow;
    data->size = decltype(data->size)(size);
    _tcscpy_s(data->name, sizeof(data->name) / sizeof(data->name[0]),
              reinterpret_cast<const char16_t*>(fd.cFileName));
}

template <typename Data>
intptr_t FindFirst(const char16_t* pattern, Data* data)
{
    if (!pattern || !data)
    {
        errno = EINVAL;
        return -1;
    }
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(pattern, &fd);
    if (h == INVALID_HANDLE_VALUE)
    {
        DWORD err = GetLastError();
        errno = (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND || err == ERROR_NO_MORE_FILES)
                    ? ENOENT
                    : EINVAL;
        return -1;
    }
    Fill(data, fd);
    return reinterpret_cast<intptr_t>(h);
}

template <typename Data>
int FindNext(intptr_t handle, Data* data)
{
    if (handle == -1 || !data)
    {
        errno = EINVAL;
        return -1;
    }
    WIN32_FIND_DATAW fd;
    if (!FindNextFileW(reinterpret_cast<HANDLE>(handle), &fd))
    {
        errno = ENOENT;
        return -1;
    }
    Fill(data, fd);
    return 0;
}

}  // namespace

errno_t _wsplitpath_s(const char16_t* path, char16_t* drive, size_t driveSize, char16_t* dir, size_t dirSize,
                      char16_t* fname, size_t fnameSize, char16_t* ext, size_t extSize)
{
    if (!path || !ValidOut(drive, driveSize) || !ValidOut(dir, dirSize) || !ValidOut(fname, fnameSize) ||
        !ValidOut(ext, extSize))
    {
        if (drive && driveSize)
            drive[0] = 0;
        if (dir && dirSize)
            dir[0] = 0;
        if (fname && fnameSize)
            fname[0] = 0;
        if (ext && extSize)
            ext[0] = 0;
        return EINVAL;
    }
    const char16_t* p = path;
    size_t driveLen = (p[0] && p[1] == u':') ? 2 : 0;
    const char16_t* rest = p + driveLen;
    const char16_t* lastSlash = nullptr;
    const char16_t* lastDot = nullptr;
    const char16_t* q = rest;
    for (; *q; ++q)
    {
        if (IsSlash(*q))
        {
            lastSlash = q;
            lastDot = nullptr;
        }
        else if (*q == u'.')
        {
            lastDot = q;
        }
    }
    const char16_t* nameStart = lastSlash ? lastSlash + 1 : rest;
    const char16_t* extStart = lastDot ? lastDot : q;
    bool ok = Put(drive, driveSize, p, driveLen) && Put(dir, dirSize, rest, size_t(nameStart - rest)) &&
              Put(fname, fnameSize, nameStart, size_t(extStart - nameStart)) &&
              Put(ext, extSize, extStart, size_t(q - extStart));
    if (!ok)
    {
        if (drive)
            drive[0] = 0;
        if (dir)
            dir[0] = 0;
        if (fname)
            fname[0] = 0;
        if (ext)
            ext[0] = 0;
        return ERANGE;
    }
    return 0;
}

void _wsplitpath(const char16_t* path, char16_t* drive, char16_t* dir, char16_t* fname, char16_t* ext)
{
    _wsplitpath_s(path, drive, drive ? _MAX_DRIVE : 0, dir, dir ? _MAX_DIR : 0, fname, fname ? _MAX_FNAME : 0,
                  ext, ext ? _MAX_EXT : 0);
}

errno_t _wmakepath_s(char16_t* path, size_t size, const char16_t* drive, const char16_t* dir,
                     const char16_t* fname, const char16_t* ext)
{
    if (!path || size == 0)
        return EINVAL;
    size_t n = 0;
    bool ok = true;
    auto add = [&](char16_t c) {
        if (n + 1 >= size)
            ok = false;
        else
            path[n++] = c;
    };
    if (drive && *drive)
    {
        add(drive[0]);
        add(u':');
    }
    if (dir && *dir)
    {
        for (const char16_t* d = dir; *d; ++d)
            add(*d);
        if (!IsSlash(dir[_tcslen(dir) - 1]))
            add(u'\\');
    }
    if (fname)
        for (const char16_t* f = fname; *f; ++f)
            add(*f);
    if (ext && *ext)
    {
        if (ext[0] != u'.')
            add(u'.');
        for (const char16_t* e = ext; *e; ++e)
            add(*e);
    }
    if (!ok)
    {
        path[0] = 0;
        return ERANGE;
    }
    path[n] = 0;
    return 0;
}

char16_t* _wfullpath(char16_t* absPath, const char16_t* relPath, size_t maxLength)
{
    const char16_t* rel = (relPath && *relPath) ? relPath : u".";
    DWORD needed = GetFullPathNameW(rel, 0, nullptr, nullptr);
    if (needed == 0)
    {
        errno = ENOENT;
        return nullptr;
    }
    if (!absPath)
    {
        size_t count = std::max<size_t>(needed, _MAX_PATH);
        char16_t* buffer = static_cast<char16_t*>(malloc(count * sizeof(char16_t)));
        if (!buffer)
        {
            errno = ENOMEM;
            return nullptr;
        }
        GetFullPathNameW(rel, DWORD(count), buffer, nullptr);
        return buffer;
    }
    if (needed > maxLength)
    {
        errno = ERANGE;
        return nullptr;
    }
    GetFullPathNameW(rel, DWORD(maxLength), absPath, nullptr);
    return absPath;
}

intptr_t _wfindfirst(const char16_t* filespec, _wfinddata_t* data)
{
    return FindFirst(filespec, data);
}
int _wfindnext(intptr_t handle, _wfinddata_t* data)
{
    return FindNext(handle, data);
}
intptr_t _wfindfirsti64(const char16_t* filespec, _wfinddatai64_t* data)
{
    return FindFirst(filespec, data);
}
int _wfindnexti64(intptr_t handle, _wfinddatai64_t* data)
{
    return FindNext(handle, data);
}

int _findclose(intptr_t handle)
{
    if (handle == -1 || !FindClose(reinterpret_cast<HANDLE>(handle)))
    {
        errno = ENOENT;
        return -1;
    }
    return 0;
}
