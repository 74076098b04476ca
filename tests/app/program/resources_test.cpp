// The toolkit's resources in the program: every menu, string, image and
// template of the toolkit's resource scripts, compiled here on their own,
// is in the resources linked into Sondrel.exe with the same content. The
// toolkit loads them from the program's module at run time (the ribbon's
// context and quick-access menus, its tips, the tab strips' tooltips), and
// a script the program forgot leaves those loads failing without a word.
// Every string, menu and dialog the toolkit's code loads by a fixed id is
// there too, wherever it is defined, and every dialog passes the resource
// manager's walk of its items.
#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "sondrel_gtest.h"
#include "toolkit/foundation/resource/QVTResourceManager.h"

namespace {

// A resource's type or name: an ordinal, or a text in capitals.
struct ResId
{
    unsigned nOrdinal = 0;
    std::u16string text;
    bool operator<(const ResId& o) const
    {
        return nOrdinal != o.nOrdinal ? nOrdinal < o.nOrdinal : text < o.text;
    }
    std::string Describe() const
    {
        if (text.empty())
            return std::to_string(nOrdinal);
        std::string s;
        for (char16_t c : text)
            s.push_back(c < 128 ? static_cast<char>(c) : '?');
        return "\"" + s + "\"";
    }
};

const unsigned kCursorType = 1;
const unsigned kIconType = 3;
const unsigned kStringType = 6;
const unsigned kCursorGroupType = 12;
const unsigned kIconGroupType = 14;

struct ResFile
{
    bool bRead = false;
    // Everything but strings, by type and name (languages merge: the loader
    // falls back from one to another).
    std::map<std::pair<ResId, ResId>, std::vector<unsigned char>> blocks;
    // Strings by id, out of their blocks of sixteen.
    std::map<unsigned, std::u16string> strings;
};

std::vector<unsigned char> ReadResBytes(const std::string& path)
{
    std::vector<unsigned char> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    unsigned char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    fclose(f);
    return bytes;
}

unsigned ResWord(const std::vector<unsigned char>& b, size_t at)
{
    return at + 2 <= b.size() ? b[at] | (b[at + 1] << 8) : 0;
}

unsigned ResDword(const std::vector<unsigned char>& b, size_t at)
{
    return ResWord(b, at) | (ResWord(b, at + 2) << 16);
}

// Reads a type or name field; false when it runs past the header.
bool ReadId(const std::vector<unsigned char>& b, size_t& at, size_t end, ResId* pId)
{
    if (at + 2 > end)
        return false;
    if (ResWord(b, at) == 0xFFFF)
    {
        pId->nOrdinal = ResWord(b, at + 2);
        at += 4;
        return at <= end;
    }
    for (;;)
    {
        if (at + 2 > end)
            return false;
        const char16_t c = static_cast<char16_t>(ResWord(b, at));
        at += 2;
        if (!c)
            return true;
        pId->text.push_back(c);
    }
}

ResFile ReadRes(const std::string& path)
{
    ResFile res;
    const std::vector<unsigned char> b = ReadResBytes(path);
    size_t at = 0;
    while (at + 8 <= b.size())
    {
        const size_t nData = ResDword(b, at);
        const size_t nHeader = ResDword(b, at + 4);
        if (nHeader < 8 || at + nHeader + nData > b.size())
            return res;
        size_t field = at + 8;
        ResId type, name;
        if (!ReadId(b, field, at + nHeader, &type) || !ReadId(b, field, at + nHeader, &name))
            return res;
        const std::vector<unsigned char> data(b.begin() + at + nHeader, b.begin() + at + nHeader + nData);
        if (nData > 0 && type.text.empty() && type.nOrdinal == kStringType)
        {
            // Sixteen counted texts, ids (block - 1) * 16 onwards.
            size_t p = 0;
            for (unsigned i = 0; i < 16 && p + 2 <= data.size(); ++i)
            {
                const size_t n = ResWord(data, p);
                p += 2;
                std::u16string text;
                for (size_t k = 0; k < n && p + 2 <= data.size(); ++k, p += 2)
                    text.push_back(static_cast<char16_t>(ResWord(data, p)));
                if (n > 0)
                    res.strings[(name.nOrdinal - 1) * 16 + i] = text;
            }
        }
        else if (nData > 0)
            res.blocks[{type, name}] = data;
        at += (nHeader + nData + 3) & ~size_t(3);
    }
    res.bRead = at == b.size() && !b.empty();
    return res;
}

std::vector<std::string> SplitList(const std::string& list)
{
    std::vector<std::string> parts;
    size_t from = 0;
    while (from <= list.size())
    {
        const size_t bar = list.find('|', from);
        const std::string part = list.substr(from, bar == std::string::npos ? std::string::npos : bar - from);
        if (!part.empty())
            parts.push_back(part);
        if (bar == std::string::npos)
            break;
        from = bar + 1;
    }
    return parts;
}

// The images of an icon or cursor group, in order: the group names them
// by numbers the compiler hands out in its script's order, which differ
// between a script compiled alone and the program's.
std::vector<std::vector<unsigned char>> GroupImages(const ResFile& res, const ResId& group,
                                                    unsigned nGroupType)
{
    std::vector<std::vector<unsigned char>> images;
    const auto found = res.blocks.find({ResId{nGroupType, {}}, group});
    if (found == res.blocks.end())
        return images;
    const std::vector<unsigned char>& dir = found->second;
    const unsigned nImageType = nGroupType == kIconGroupType ? kIconType : kCursorType;
    const unsigned nCount = ResWord(dir, 4);
    for (unsigned i = 0; i < nCount && 6 + (i + 1) * 14 <= dir.size(); ++i)
    {
        const auto image = res.blocks.find({ResId{nImageType, {}}, ResId{ResWord(dir, 6 + i * 14 + 12), {}}});
        images.push_back(image == res.blocks.end() ? std::vector<unsigned char>() : image->second);
    }
    return images;
}

bool IsGroupedImage(const ResId& type)
{
    return type.text.empty() && (type.nOrdinal == kIconType || type.nOrdinal == kCursorType);
}

bool IsGroup(const ResId& type)
{
    return type.text.empty() && (type.nOrdinal == kIconGroupType || type.nOrdinal == kCursorGroupType);
}

const unsigned kMenuType = 4;
const unsigned kDialogType = 5;

std::string ReadText(const std::string& path)
{
    const std::vector<unsigned char> bytes = ReadResBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// The files under a folder with that ending, through the C library: the
// program's own file functions take Windows paths.
void SourceFiles(const std::string& folder, const std::string& ending, std::vector<std::string>* pFiles)
{
    DIR* pDir = opendir(folder.c_str());
    if (!pDir)
        return;
    while (const dirent* pEntry = readdir(pDir))
    {
        const std::string name = pEntry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "/" + name;
        struct stat st = {};
        if (stat(path.c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode))
            SourceFiles(path, ending, pFiles);
        else if (name.size() > ending.size() &&
                 name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
            pFiles->push_back(path);
    }
    closedir(pDir);
}

std::vector<std::string> SourceFiles(const std::string& folder, const std::string& ending)
{
    std::vector<std::string> files;
    SourceFiles(folder, ending, &files);
    return files;
}

// The ids the headers give names to: "#define NAME 123" and "NAME = 123,"
// in an enumeration.
std::map<std::string, unsigned> ResourceIdValues()
{
    std::map<std::string, unsigned> values;
    const std::regex define(R"(#define\s+([A-Z_][A-Z0-9_]*)\s+(0x[0-9A-Fa-f]+|[0-9]+)\b)");
    const std::regex enumerator(R"(\b([A-Z_][A-Z0-9_]*)\s*=\s*(0x[0-9A-Fa-f]+|[0-9]+)\s*,)");
    for (const char* folder : {"/src/toolkit", "/src/mfc/include"})
        for (const auto& path : SourceFiles(std::string(SONDREL_SOURCE_DIR) + folder, ".h"))
        {
            const std::string text = ReadText(path);
            for (const std::regex* pPattern : {&define, &enumerator})
                for (std::sregex_iterator it(text.begin(), text.end(), *pPattern), end; it != end; ++it)
                    values.emplace((*it)[1].str(), std::stoul((*it)[2].str(), nullptr, 0));
        }
    return values;
}

// What the toolkit's code loads by a fixed id: every string id named
// QVT_IDS_..., every menu and dialog id named in a load, and whatever id a
// LoadString call names (the framework's among them), by type and name.
std::set<std::pair<unsigned, std::string>> IdsTheToolkitLoads()
{
    std::set<std::pair<unsigned, std::string>> loads;
    const std::regex stringId(R"(\bQVT_IDS_[A-Z0-9_]+\b)");
    const std::regex dialogId(R"(\bQVT_IDD_[A-Z0-9_]+\b)");
    const std::regex loadString(R"(LoadString\(([^;{}]*)\))");
    const std::regex loadMenu(R"(LoadMenu\(([^;{}]*)\))");
    const std::regex named(R"(\b(?:ID_|AFX_ID[A-Z]*_|QVT_ID[A-Z]*_)[A-Z0-9_]+\b)");
    for (const auto& path : SourceFiles(std::string(SONDREL_SOURCE_DIR) + "/src/toolkit", ".cpp"))
    {
        const std::string text = ReadText(path);
        for (std::sregex_iterator it(text.begin(), text.end(), stringId), end; it != end; ++it)
            loads.emplace(kStringType, it->str());
        for (std::sregex_iterator it(text.begin(), text.end(), dialogId), end; it != end; ++it)
            loads.emplace(kDialogType, it->str());
        for (auto [pCall, nType] : {std::pair{&loadString, kStringType}, std::pair{&loadMenu, kMenuType}})
            for (std::sregex_iterator it(text.begin(), text.end(), *pCall), end; it != end; ++it)
            {
                const std::string arguments = (*it)[1].str();
                for (std::sregex_iterator id(arguments.begin(), arguments.end(), named); id != end; ++id)
                    loads.emplace(nType, id->str());
            }
    }
    return loads;
}

}  // namespace

// A string, menu or dialog the toolkit loads by its id must be in the
// program, wherever it is defined: the bar edit's Cut/Copy/Paste menu needs
// the framework's strings, which no toolkit script compiled alone holds.
TEST(ProgramResources, HoldEveryStringMenuAndDialogTheToolkitLoadsById)
{
    const ResFile program = ReadRes(SONDREL_PROGRAM_RES);
    ASSERT_TRUE(program.bRead) << SONDREL_PROGRAM_RES;
    const std::map<std::string, unsigned> values = ResourceIdValues();
    const auto loads = IdsTheToolkitLoads();
    // The ribbon's two menus and the bar edit's Cut at least.
    EXPECT_TRUE(loads.count({kMenuType, "QVT_IDR_RIBBONCONTEXTMENU"}));
    EXPECT_TRUE(loads.count({kStringType, "ID_EDIT_CUT"}));
    for (const auto& load : loads)
    {
        const auto value = values.find(load.second);
        if (value == values.end())
        {
            ADD_FAILURE() << load.second << " has no value in the headers";
            continue;
        }
        if (load.first == kStringType)
            EXPECT_TRUE(program.strings.count(value->second))
                << "string " << load.second << " (" << value->second << ") is missing from the program";
        else
            EXPECT_TRUE(program.blocks.count({ResId{load.first, {}}, ResId{value->second, {}}}))
                << (load.first == kMenuType ? "menu " : "dialog ") << load.second << " (" << value->second
                << ") is missing from the program";
    }
}

TEST(ProgramResources, HoldEveryToolkitResourceTheToolkitLoads)
{
    const ResFile program = ReadRes(SONDREL_PROGRAM_RES);
    ASSERT_TRUE(program.bRead) << SONDREL_PROGRAM_RES;
    const std::vector<std::string> scripts = SplitList(SONDREL_TOOLKIT_RES);
    // The ribbon's, the command bars', the controls' and the tab strips' at least.
    ASSERT_GE(scripts.size(), 4u);
    for (const std::string& path : scripts)
    {
        const ResFile toolkit = ReadRes(path);
        ASSERT_TRUE(toolkit.bRead) << path;
        EXPECT_FALSE(toolkit.blocks.empty() && toolkit.strings.empty()) << path;
        for (const auto& block : toolkit.blocks)
        {
            if (IsGroupedImage(block.first.first))
                continue;
            if (IsGroup(block.first.first))
            {
                const auto images = GroupImages(toolkit, block.first.second, block.first.first.nOrdinal);
                EXPECT_FALSE(images.empty()) << path << ": group " << block.first.second.Describe();
                EXPECT_TRUE(images == GroupImages(program, block.first.second, block.first.first.nOrdinal))
                    << path << ": the images of group " << block.first.second.Describe()
                    << " are missing from the program or differ there";
                continue;
            }
            const auto found = program.blocks.find(block.first);
            if (found == program.blocks.end())
                ADD_FAILURE() << path << ": resource type " << block.first.first.Describe() << " name "
                              << block.first.second.Describe() << " is missing from the program";
            else
                EXPECT_TRUE(found->second == block.second)
                    << path << ": resource type " << block.first.first.Describe() << " name "
                    << block.first.second.Describe() << " differs in the program";
        }
        for (const auto& text : toolkit.strings)
        {
            const auto found = program.strings.find(text.first);
            if (found == program.strings.end())
                ADD_FAILURE() << path << ": string " << text.first << " is missing from the program";
            else
                EXPECT_TRUE(found->second == text.second)
                    << path << ": string " << text.first << " differs in the program";
        }
    }
}

namespace {

BOOL CALLBACK CountRefusedDialog(HMODULE, LPCWSTR, LPWSTR lpszName, LONG_PTR lParam)
{
    int* pCounts = reinterpret_cast<int*>(lParam);
    ++pCounts[0];
    try
    {
        if (QVTResourceManager()->LoadDialogResource(lpszName) == nullptr)
        {
            ++pCounts[1];
            ADD_FAILURE() << "dialog " << (IS_INTRESOURCE(lpszName) ? LOWORD(lpszName) : 0) << " refused";
        }
    }
    catch (...)
    {
        ++pCounts[1];
    }
    return TRUE;
}

}  // namespace

// The walk that keeps a language module's damaged template from the dialog
// manager takes every template the program carries.
TEST(ProgramResources, EveryDialogTemplatePassesTheResourceManager)
{
    int counts[2] = {};
    ::EnumResourceNamesW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(5), &CountRefusedDialog,
                         reinterpret_cast<LONG_PTR>(counts));
    EXPECT_GE(counts[0], 8);
    EXPECT_EQ(0, counts[1]);
}
