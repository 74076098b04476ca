// The XML settings file: its layout as another process's DOM reads it,
// lenient reading, and saves that never cost the file already there.
#include "sondrel_gtest.h"
#include "test_app.h"

#include "tests/common/common_test_support.h"

#include "common/ApplicationBase.h"
#include "file_size_limit.h"
#include "common/XmlSettingsFile.h"
#include "tests/tracelog/trace_test_support.h"
#include "toolkit/foundation/xml/QVTXmlDispatch.h"

using namespace tracetest;

namespace {

const char16_t kChildVariable[] = u"SONDREL_XML_LAYOUT_FILE";

void WriteText(const std::u16string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// The names of an element's child elements, and its text.
std::vector<std::u16string> ChildNames(IDispatch* node)
{
    std::vector<std::u16string> names;
    for (IDispatchPtr child = XmlGetObject(node, u"firstChild"); child != nullptr;
         child = XmlGetObject(child, u"nextSibling"))
    {
        _variant_t name;
        XmlInvoke(child, u"nodeName", DISPATCH_PROPERTYGET, {}, &name);
        if (name.vt == VT_BSTR)
            names.push_back(reinterpret_cast<const char16_t*>(name.bstrVal));
    }
    return names;
}

std::u16string TextOf(IDispatch* node)
{
    CString text;
    XmlGetString(node, u"text", text);
    return text.GetString();
}

}  // namespace

TEST(XmlSettingsFile, WritesTheFileListLayout)
{
    ComScope com;
    ScratchFolder scratch("xml layout");
    std::u16string path = scratch.Path() + u"filelist.xml";
    {
        CXmlSettingsFile file(W(path), TRUE);
        ASSERT_TRUE(file.HasDocument());
        EXPECT_TRUE(file.SetInt(_T("Files"), _T("Count"), 1));
        EXPECT_TRUE(file.SetString(_T("Files\\File-0"), _T("Path"), _T("C:\\Music\\Record-001.mp3")));
        EXPECT_TRUE(file.SetString(_T("Files\\File-1"), _T("Path"), _T("D:\\\x0417\x0432\x0443\x043A.wav")));
        EXPECT_TRUE(file.SetInt(_T("Files"), _T("Count"), 2));  // replaces, adds nothing
        EXPECT_TRUE(file.SetString(_T("Files\\File-2"), _T("Path"), _T("")));
    }
    ASSERT_EQ(commontest::RunSelf("XmlSettingsFileChild.ReadsTheFileListLayout", kChildVariable, path), 0u);

    // And this side reads back what it wrote.
    CXmlSettingsFile file(W(path), FALSE);
    int count = 0;
    EXPECT_TRUE(file.GetInt(_T("Files"), _T("Count"), count));
    EXPECT_EQ(count, 2);
    CString text = _T("unchanged");
    EXPECT_TRUE(file.GetString(_T("Files\\File-2"), _T("Path"), text));
    EXPECT_EQ(CString(text), CString(_T("")));
    EXPECT_TRUE(file.GetString(_T("Files\\File-1"), _T("Path"), text));
    EXPECT_EQ(CString(text), CString(_T("D:\\\x0417\x0432\x0443\x043A.wav")));
}

// Run by the test above in a second process: the DOM sees one root "Files"
// with Count, File-0, File-1 and File-2 in that order, each file one Path.
TEST(XmlSettingsFileChild, ReadsTheFileListLayout)
{
    WCHAR path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(W(kChildVariable), path, MAX_PATH))
        GTEST_SKIP() << "run by XmlSettingsFile.WritesTheFileListLayout";
    ComScope com;
    IDispatchPtr document = CreateXmlDocument(TRUE, nullptr, 0, 0);
    ASSERT_NE(document, nullptr);
    _variant_t loaded;
    XmlInvoke(document, u"load", DISPATCH_METHOD, {_variant_t(path)}, &loaded);
    ASSERT_EQ(loaded.vt, VT_BOOL);
    ASSERT_NE(loaded.boolVal, VARIANT_FALSE);
    IDispatchPtr root = XmlGetObject(document, u"documentElement");
    ASSERT_NE(root, nullptr);
    std::vector<std::u16string> top = ChildNames(document);
    EXPECT_EQ(std::count(top.begin(), top.end(), u"Files"), 1);
    std::vector<std::u16string> expected = {u"Count", u"File-0", u"File-1", u"File-2"};
    EXPECT_EQ(ChildNames(root), expected);
    EXPECT_TRUE(TextOf(XmlSelectSingleNode(root, u"Count")) == u"2");
    IDispatchPtr first = XmlSelectSingleNode(root, u"File-0");
    EXPECT_EQ(ChildNames(first), std::vector<std::u16string>{u"Path"});
    EXPECT_TRUE(TextOf(XmlSelectSingleNode(first, u"Path")) == u"C:\\Music\\Record-001.mp3");
    EXPECT_TRUE(TextOf(XmlSelectSingleNode(XmlSelectSingleNode(root, u"File-1"), u"Path")) ==
                u"D:\\\x0417\x0432\x0443\x043A.wav");
    EXPECT_TRUE(TextOf(XmlSelectSingleNode(XmlSelectSingleNode(root, u"File-2"), u"Path")).empty());
}

TEST(XmlSettingsFile, ReadingIsLenient)
{
    ComScope com;
    ScratchFolder scratch("xml reading");
    std::u16string numbers = scratch.Path() + u"numbers.xml";
    WriteText(numbers,
              "<Files><Count>12abc</Count><Bad>abc</Bad><Neg> -7</Neg><Big>99999999999</Big></Files>");
    {
        CXmlSettingsFile file(W(numbers), FALSE);
        int value = 5;
        EXPECT_TRUE(file.GetInt(_T("Files"), _T("Count"), value));
        EXPECT_EQ(value, 12);
        value = 5;
        EXPECT_TRUE(file.GetInt(_T("Files"), _T("Bad"), value));
        EXPECT_EQ(value, 5);
        EXPECT_TRUE(file.GetInt(_T("Files"), _T("Neg"), value));
        EXPECT_EQ(value, -7);
        EXPECT_TRUE(file.GetInt(_T("Files"), _T("Big"), value));
        EXPECT_EQ(value, INT_MAX);
        // Another root, or a missing element: FALSE, the value untouched.
        value = 5;
        EXPECT_FALSE(file.GetInt(_T("Elements"), _T("Count"), value));
        EXPECT_FALSE(file.GetInt(_T("Files\\File-0"), _T("Path"), value));
        EXPECT_EQ(value, 5);
    }

    // A broken file, a missing one, and a file of other bytes read as empty.
    std::u16string broken = scratch.Path() + u"broken.xml";
    WriteText(broken, "<Files><Count>2</Count><File-0><Path>C:\\a.mp3</Pa");
    std::u16string binary = scratch.Path() + u"binary.xml";
    WriteText(binary, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    for (const std::u16string& path : {broken, binary, scratch.Path() + u"missing.xml"})
    {
        CXmlSettingsFile file(W(path), FALSE);
        int count = 3;
        CString text = _T("kept");
        EXPECT_FALSE(file.GetInt(_T("Files"), _T("Count"), count));
        EXPECT_FALSE(file.GetString(_T("Files\\File-0"), _T("Path"), text));
        EXPECT_EQ(count, 3);
        EXPECT_EQ(CString(text), CString(_T("kept")));
    }
    // Reading never writes.
    EXPECT_EQ(ReadBytes(broken), "<Files><Count>2</Count><File-0><Path>C:\\a.mp3</Pa");
}

TEST(XmlSettingsFile, AFailedSaveKeepsTheOldFile)
{
    ComScope com;
    ScratchFolder scratch("xml save");
    std::u16string path = scratch.Path() + u"filelist.xml";
    {
        CXmlSettingsFile file(W(path), TRUE);
        file.SetInt(_T("Files"), _T("Count"), 1);
        file.SetString(_T("Files\\File-0"), _T("Path"), _T("C:\\Music\\kept.mp3"));
    }
    std::string before = ReadBytes(path);
    ASSERT_NE(before.find("kept.mp3"), std::string::npos);

    // The failure is logged: the text log of an application base shows it.
    std::u16string relative =
        u"Sondrel Tests\\xml save " + Wide(std::to_string(GetCurrentProcessId()).c_str());
    std::u16string logPath;
    {
        CApplicationBase app(_T("Sondrel xml test"), _T("XmlSave"));
        app.SetTraceLibraryName(_T("NoSuchTraceLibrary.dll"));
        ASSERT_TRUE(app.InitFileLog(W(relative)));
        logPath = reinterpret_cast<LPCTSTR>(app.GetFileLog()->GetPath().GetString());
        {
            // A disk that fills up halfway through the new file.
            FileSizeLimit full(2048);
            CXmlSettingsFile file(W(path), TRUE);
            file.SetInt(_T("Files"), _T("Count"), 500);
            for (int i = 0; i < 500; ++i)
            {
                CString item;
                item.Format(_T("Files\\File-%d"), i);
                file.SetString(item, _T("Path"), _T("C:\\Music\\a rather long folder name\\Record-001.mp3"));
            }
        }
        // A folder that is not there.
        CXmlSettingsFile missing(W(scratch.Path() + u"no such folder\\filelist.xml"), TRUE);
        missing.SetInt(_T("Files"), _T("Count"), 0);
    }
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(scratch.Files(u"*").size(), 1u);  // no temporary file left behind
    EXPECT_EQ(GetFileAttributesW(W(scratch.Path() + u"no such folder")), INVALID_FILE_ATTRIBUTES);

    std::string log = ReadBytes(logPath);
    ScratchFolder::Remove(logPath.substr(0, logPath.rfind(u'\\') + 1));
    EXPECT_NE(log.find("Save " + Narrow(path) + ": fail"), std::string::npos) << log;
    EXPECT_NE(log.find("no such folder\\filelist.xml: fail"), std::string::npos) << log;
}
