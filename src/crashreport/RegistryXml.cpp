// A registry key written out as XML: its values, then its sub-keys, each
// value with its type number and its data as text.
#include <windows.h>

#include <cstdio>

#include "crashreport/CrashReporter.h"

namespace crashreport {

namespace {

// Deep enough for any key worth reporting; a loop through links ends here.
const int kMaxDepth = 16;

struct RootName
{
    const char16_t* name;
    HKEY root;
};

const RootName kRoots[] = {
    {u"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {u"HKLM", HKEY_LOCAL_MACHINE},
    {u"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {u"HKCU", HKEY_CURRENT_USER},
    {u"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {u"HKCR", HKEY_CLASSES_ROOT},
    {u"HKEY_USERS", HKEY_USERS},
    {u"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
};

bool SplitKeyPath(const std::u16string& path, HKEY& root, std::u16string& subKey)
{
    size_t slash = path.find(u'\\');
    std::u16string head = path.substr(0, slash);
    for (const RootName& entry : kRoots)
    {
        if (CompareStringOrdinal(head.c_str(), -1, entry.name, -1, TRUE) == CSTR_EQUAL)
        {
            root = entry.root;
            subKey = slash == std::u16string::npos ? std::u16string() : path.substr(slash + 1);
            return true;
        }
    }
    return false;
}

std::string Escape(const std::u16string& text)
{
    std::string utf8 = Utf8(text), out;
    for (unsigned char c : utf8)
    {
        switch (c)
        {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            // Control characters have no place in XML 1.0, not even escaped.
            if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
                out += '?';
            else
                out += static_cast<char>(c);
        }
    }
    return out;
}

std::u16string ValueText(DWORD type, const BYTE* data, DWORD size)
{
    char buffer[32];
    std::u16string text;
    switch (type)
    {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
    {
        const char16_t* chars = reinterpret_cast<const char16_t*>(data);
        size_t count = size / sizeof(char16_t);
        while (count > 0 && chars[count - 1] == 0)
            --count;
        for (size_t i = 0; i < count; ++i)
            text.push_back(chars[i] == 0 ? u'\n' : chars[i]);
        return text;
    }
    case REG_DWORD:
        if (size >= 4)
        {
            DWORD value;
            memcpy(&value, data, 4);
            snprintf(buffer, sizeof(buffer), "%lu", static_cast<unsigned long>(value));
        }
        else
            buffer[0] = 0;
        break;
    case REG_QWORD:
        if (size >= 8)
        {
            unsigned long long value;
            memcpy(&value, data, 8);
            snprintf(buffer, sizeof(buffer), "%llu", value);
        }
        else
            buffer[0] = 0;
        break;
    default:
        for (DWORD i = 0; i < size; ++i)
        {
            snprintf(buffer, sizeof(buffer), "%02x", data[i]);
            text.push_back(static_cast<char16_t>(buffer[0]));
            text.push_back(static_cast<char16_t>(buffer[1]));
        }
        return text;
    }
    for (const char* p = buffer; *p; ++p)
        text.push_back(static_cast<char16_t>(*p));
    return text;
}

void WriteKey(HKEY key, const std::u16string& name, int depth, std::string& xml)
{
    std::string indent(static_cast<size_t>(depth) * 2, ' ');
    xml += indent + "<key name=\"" + Escape(name) + "\">\n";
    DWORD maxName = 0, maxData = 0, maxSubKey = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &maxSubKey, nullptr, nullptr, &maxName,
                     &maxData, nullptr, nullptr);
    std::u16string valueName(maxName + 2, u'\0');
    std::string data(maxData + 2, '\0');
    for (DWORD i = 0;; ++i)
    {
        DWORD nameLength = static_cast<DWORD>(valueName.size()), dataSize = static_cast<DWORD>(data.size()),
              type = 0;
        LONG result = RegEnumValueW(key, i, &valueName[0], &nameLength, nullptr, &type,
                                    reinterpret_cast<BYTE*>(&data[0]), &dataSize);
        if (result != ERROR_SUCCESS)
            break;
        char typeText[16];
        snprintf(typeText, sizeof(typeText), "%lu", static_cast<unsigned long>(type));
        xml += indent + "  <value name=\"" + Escape(valueName.substr(0, nameLength)) + "\" type=\"" +
               typeText + "\">" +
               Escape(ValueText(type, reinterpret_cast<const BYTE*>(data.data()), dataSize)) + "</value>\n";
    }
    if (depth < kMaxDepth)
    {
        std::u16string subName(maxSubKey + 2, u'\0');
        for (DWORD i = 0;; ++i)
        {
            DWORD length = static_cast<DWORD>(subName.size());
            if (RegEnumKeyExW(key, i, &subName[0], &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            HKEY sub = nullptr;
            std::u16string child = subName.substr(0, length);
            if (RegOpenKeyExW(key, child.c_str(), 0, KEY_READ, &sub) == ERROR_SUCCESS)
            {
                WriteKey(sub, child, depth + 1, xml);
                RegCloseKey(sub);
            }
        }
    }
    xml += indent + "</key>\n";
}

}  // namespace

bool RegistryKeyToXml(const std::u16string& keyPath, std::string& xml)
{
    xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<registry>\n";
    HKEY root = nullptr, key = nullptr;
    std::u16string subKey;
    bool opened = SplitKeyPath(keyPath, root, subKey) &&
                  RegOpenKeyExW(root, subKey.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (opened)
    {
        WriteKey(key, keyPath, 1, xml);
        RegCloseKey(key);
    }
    else
        xml += "  <missing name=\"" + Escape(keyPath) + "\"/>\n";
    xml += "</registry>\n";
    return opened;
}

}  // namespace crashreport
