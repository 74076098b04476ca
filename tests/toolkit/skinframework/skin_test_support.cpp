#include "skin_test_support.h"

namespace {
CString SkinTestBinFolder()
{
    WCHAR szModule[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    CString path(szModule);
    return path.Left(path.ReverseFind(u'\\') + 1);
}

void SkinTestRemoveTree(const CString& path)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = ::FindFirstFileW(path + u"\\*", &data);
    if (hFind != INVALID_HANDLE_VALUE)
    {
        do
        {
            CString name(data.cFileName);
            if (name == u"." || name == u"..")
                continue;
            CString child = path + u"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                SkinTestRemoveTree(child);
            else
                ::DeleteFileW(child);
        } while (::FindNextFileW(hFind, &data));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryW(path);
}
}  // namespace

CString SkinModulePath()
{
    return SkinTestBinFolder() + u"Skins\\vista.qvstyles";
}

CString SkinDataPath(LPCTSTR lpszName)
{
    return SkinTestBinFolder() + u"skinframework_data\\" + lpszName;
}

CString SkinLightPath()
{
    return u"C:\\windows\\resources\\themes\\light\\light.msstyles";
}

SkinTempFolder::SkinTempFolder()
{
    static LONG counter = 0;
    WCHAR szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    path_.Format(u"%sskintest_%lu_%ld", szTemp, ::GetCurrentProcessId(), ::InterlockedIncrement(&counter));
    ::CreateDirectoryW(path_, nullptr);
}

SkinTempFolder::~SkinTempFolder()
{
    SkinTestRemoveTree(path_);
}

void SkinTempFolder::WriteBytes(LPCTSTR lpszName, const std::string& bytes) const
{
    CString path = path_ + u"\\" + lpszName;
    int slash = path.ReverseFind(u'\\');
    ::CreateDirectoryW(path.Left(slash), nullptr);
    HANDLE hFile = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(hFile);
}

void SkinTempFolder::WriteText(LPCTSTR lpszName, const std::u16string& text) const
{
    std::string bytes("\xFF\xFE");
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    WriteBytes(lpszName, bytes);
}

SkinLoaded::~SkinLoaded()
{
    if (schema)
        schema->InternalRelease();
    if (file)
        file->InternalRelease();
}

std::unique_ptr<SkinLoaded> SkinLoad(LPCTSTR lpszPath, LPCTSTR lpszIni, CQVTSkinManagerSite* pSite)
{
    auto loaded = std::make_unique<SkinLoaded>();
    loaded->file = new CQVTSkinManagerResourceFile(pSite);
    if (!loaded->file->Open(lpszPath, lpszIni))
        return loaded;
    loaded->schema = loaded->file->CreateSchema();
    loaded->ok = loaded->schema->ReadProperties() == S_OK;
    loaded->schema->RefreshMetrics();
    return loaded;
}

std::unique_ptr<SkinLoaded> SkinLoadLines(const SkinTempFolder& folder,
                                          const std::vector<std::u16string>& lines,
                                          CQVTSkinManagerSite* pSite)
{
    std::u16string text;
    for (const auto& line : lines)
        text += line + u"\r\n";
    folder.WriteText(u"Test.ini", text);
    return SkinLoad(folder.Path(), u"Test.ini", pSite);
}
