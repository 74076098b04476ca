// CArchive: round trips, the exact bytes stored files depend on, and damaged
// input that must end in a CArchiveException rather than a crash or a hang.
#include <afx.h>
#include <cstring>
#include <string>
#include <vector>
#include "archive_bytes.h"
#include "sondrel_gtest.h"

namespace {

using archive_bytes::Bytes;
using archive_bytes::LoadCause;
using archive_bytes::Store;

Bytes B(std::initializer_list<int> values)
{
    Bytes bytes;
    for (int v : values)
        bytes.push_back(static_cast<BYTE>(v));
    return bytes;
}

void Append(Bytes& to, const Bytes& more)
{
    to.insert(to.end(), more.begin(), more.end());
}

}  // namespace

// A node of a small object graph: a value, a name, a child and a back link.
class CArchNode : public CObject
{
    DECLARE_SERIAL(CArchNode)
public:
    static int s_live;
    CArchNode() { ++s_live; }
    ~CArchNode() override
    {
        --s_live;
        delete m_pChild;
    }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
        {
            ar << m_nValue << m_strName;
            ar << m_pChild << m_pParent;
        }
        else
        {
            ar >> m_nValue >> m_strName;
            CObject* child = nullptr;
            ar >> child;
            m_pChild = static_cast<CArchNode*>(child);
            CObject* parent = nullptr;
            ar >> parent;
            m_pParent = static_cast<CArchNode*>(parent);
        }
    }
    int m_nValue = 0;
    CString m_strName;
    CArchNode* m_pChild = nullptr;
    CArchNode* m_pParent = nullptr;
};
int CArchNode::s_live = 0;
IMPLEMENT_SERIAL(CArchNode, CObject, 2)

// A class that reads older schemas itself.
class CArchVersioned : public CObject
{
    DECLARE_SERIAL(CArchVersioned)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
        {
            ar << m_nA << m_nB;
        }
        else
        {
            m_nSchemaSeen = ar.GetObjectSchema();
            ar >> m_nA;
            if (m_nSchemaSeen >= 3)
                ar >> m_nB;
        }
    }
    int m_nA = 0;
    int m_nB = 0;
    UINT m_nSchemaSeen = 0;
};
IMPLEMENT_SERIAL(CArchVersioned, CObject, VERSIONABLE_SCHEMA | 3)

class CArchPlain : public CObject
{
    DECLARE_SERIAL(CArchPlain)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_byte;
        else
            ar >> m_byte;
    }
    BYTE m_byte = 0;
};
IMPLEMENT_SERIAL(CArchPlain, CObject, 1)

class CArchDynamicOnly : public CObject
{
    DECLARE_DYNAMIC(CArchDynamicOnly)
};
IMPLEMENT_DYNAMIC(CArchDynamicOnly, CObject)

TEST(ArchiveTest, EveryValueTypeRoundTrips)
{
    RECT rect = {-1, 2, 300, 40000};
    Bytes bytes = Store([&](CArchive& ar) {
        ar << static_cast<BYTE>(0xAB) << static_cast<WORD>(0xBEEF) << static_cast<LONG>(-5)
           << static_cast<DWORD>(0xDEADBEEF) << -7 << 4000000000u << static_cast<short>(-2) << 'z' << true
           << false << 1.5f << -2.25 << static_cast<LONGLONG>(-1234567890123LL)
           << static_cast<ULONGLONG>(0xFEDCBA9876543210ULL) << static_cast<char16_t>(0x263A)
           << CString(_T("h\u00e9llo")) << CStringA("narrow") << CString()
           << CTime(static_cast<__time64_t>(1700000000)) << CTimeSpan(2, 3, 4, 5) << rect;
        SIZE size = {7, -8};
        POINT point = {9, 10};
        ar << size << point;
    });

    BYTE by;
    WORD w;
    LONG l;
    DWORD dw;
    int i;
    UINT u;
    short sh;
    char ch;
    bool yes, no;
    float f;
    double d;
    LONGLONG ll;
    ULONGLONG ull;
    char16_t wc;
    CString s1, s3;
    CStringA s2;
    CTime t;
    CTimeSpan span;
    RECT r;
    SIZE size;
    POINT point;
    int cause = LoadCause(bytes, [&](CArchive& ar) {
        ar >> by >> w >> l >> dw >> i >> u >> sh >> ch >> yes >> no >> f >> d >> ll >> ull >> wc >> s1 >>
            s2 >> s3 >> t >> span >> r >> size >> point;
        EXPECT_TRUE(ar.IsBufferEmpty());
    });
    EXPECT_EQ(cause, -1);
    EXPECT_EQ(by, 0xAB);
    EXPECT_EQ(w, 0xBEEF);
    EXPECT_EQ(l, -5);
    EXPECT_EQ(dw, 0xDEADBEEFu);
    EXPECT_EQ(i, -7);
    EXPECT_EQ(u, 4000000000u);
    EXPECT_EQ(sh, -2);
    EXPECT_EQ(ch, 'z');
    EXPECT_TRUE(yes);
    EXPECT_FALSE(no);
    EXPECT_EQ(f, 1.5f);
    EXPECT_EQ(d, -2.25);
    EXPECT_EQ(ll, -1234567890123LL);
    EXPECT_EQ(ull, 0xFEDCBA9876543210ULL);
    EXPECT_EQ(wc, 0x263A);
    EXPECT_TRUE(s1 == CString(_T("h\u00e9llo")));
    EXPECT_TRUE(s2 == CStringA("narrow"));
    EXPECT_TRUE(s3.IsEmpty());
    EXPECT_EQ(t.GetTime(), 1700000000);
    EXPECT_EQ(span.GetTotalSeconds(), CTimeSpan(2, 3, 4, 5).GetTotalSeconds());
    EXPECT_EQ(r.left, -1);
    EXPECT_EQ(r.bottom, 40000);
    EXPECT_EQ(size.cy, -8);
    EXPECT_EQ(point.x, 9);
}

TEST(ArchiveTest, ValuesAndCountsHaveTheirKnownBytes)
{
    EXPECT_EQ(Store([](CArchive& ar) { ar << static_cast<WORD>(0x1234) << 0x01020304 << true; }),
              B({0x34, 0x12, 0x04, 0x03, 0x02, 0x01, 0x01}));
    EXPECT_EQ(Store([](CArchive& ar) { ar << static_cast<ULONGLONG>(1); }), B({1, 0, 0, 0, 0, 0, 0, 0}));

    EXPECT_EQ(Store([](CArchive& ar) { ar.WriteCount(5); }), B({5, 0}));
    EXPECT_EQ(Store([](CArchive& ar) { ar.WriteCount(0xFFFE); }), B({0xFE, 0xFF}));
    EXPECT_EQ(Store([](CArchive& ar) { ar.WriteCount(0xFFFF); }), B({0xFF, 0xFF, 0xFF, 0xFF, 0, 0}));
    EXPECT_EQ(Store([](CArchive& ar) { ar.WriteCount(0x12345678); }),
              B({0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(Store([](CArchive& ar) { ar.WriteCount(0x100000000ULL); }),
              B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 1, 0, 0, 0}));

    for (DWORD_PTR count : {DWORD_PTR(0), DWORD_PTR(0xFFFE), DWORD_PTR(0xFFFF), DWORD_PTR(0xFFFFFFFE),
                            DWORD_PTR(0xFFFFFFFF), DWORD_PTR(0x123456789ULL)})
    {
        DWORD_PTR read = 0;
        Bytes bytes = Store([&](CArchive& ar) { ar.WriteCount(count); });
        EXPECT_EQ(LoadCause(bytes, [&](CArchive& ar) { read = ar.ReadCount(); }), -1);
        EXPECT_EQ(read, count);
    }
}

TEST(ArchiveTest, StringsUseTheLengthPrefixScheme)
{
    EXPECT_EQ(Store([](CArchive& ar) { ar << CString(_T("ab")); }), B({0xFF, 0xFE, 0xFF, 2, 'a', 0, 'b', 0}));
    EXPECT_EQ(Store([](CArchive& ar) { ar << CString(); }), B({0xFF, 0xFE, 0xFF, 0}));
    EXPECT_EQ(Store([](CArchive& ar) { ar << CStringA("ab"); }), B({2, 'a', 'b'}));
    EXPECT_EQ(Store([](CArchive& ar) { ar << CStringA(); }), B({0}));

    // 254 fits the byte; 255 escapes to a WORD; 0xFFFE escapes to a DWORD.
    Bytes b254 = Store([](CArchive& ar) { ar << CStringA('x', 254); });
    EXPECT_EQ(b254.size(), 255u);
    EXPECT_EQ(b254[0], 254);
    Bytes b255 = Store([](CArchive& ar) { ar << CStringA('x', 255); });
    EXPECT_EQ(Bytes(b255.begin(), b255.begin() + 3), B({0xFF, 0xFF, 0x00}));
    Bytes bWide = Store([](CArchive& ar) { ar << CString('y', 0x1234); });
    EXPECT_EQ(Bytes(bWide.begin(), bWide.begin() + 6), B({0xFF, 0xFE, 0xFF, 0xFF, 0x34, 0x12}));
    Bytes bBig = Store([](CArchive& ar) { ar << CStringA('z', 0xFFFE); });
    EXPECT_EQ(Bytes(bBig.begin(), bBig.begin() + 7), B({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));
    EXPECT_EQ(bBig.size(), 7u + 0xFFFE);

    for (int length : {254, 255, 0xFFFD, 0xFFFE, 0x10005})
    {
        CString wide('q', length);
        CStringA narrow('r', length);
        Bytes bytes = Store([&](CArchive& ar) { ar << wide << narrow; });
        CString wideBack;
        CStringA narrowBack;
        EXPECT_EQ(LoadCause(bytes, [&](CArchive& ar) { ar >> wideBack >> narrowBack; }), -1);
        EXPECT_TRUE(wideBack == wide) << length;
        EXPECT_TRUE(narrowBack == narrow) << length;
    }

    // Narrow text read into a wide string is converted, and the reverse.
    CString wide;
    EXPECT_EQ(LoadCause(B({3, 'a', 'b', 'c'}), [&](CArchive& ar) { ar >> wide; }), -1);
    EXPECT_TRUE(wide == CString(_T("abc")));
    CStringA narrow;
    EXPECT_EQ(LoadCause(B({0xFF, 0xFE, 0xFF, 2, 'h', 0, 'i', 0}), [&](CArchive& ar) { ar >> narrow; }), -1);
    EXPECT_TRUE(narrow == CStringA("hi"));

    Bytes lengthOnly = Store([](CArchive& ar) { AfxWriteStringLength(ar, 300, TRUE); });
    EXPECT_EQ(lengthOnly, B({0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01}));
    int charSize = 0;
    UINT_PTR length = 0;
    EXPECT_EQ(LoadCause(lengthOnly, [&](CArchive& ar) { length = AfxReadStringLength(ar, charSize); }), -1);
    EXPECT_EQ(length, 300u);
    EXPECT_EQ(charSize, 2);
}

TEST(ArchiveTest, ObjectRecordsAndReferences)
{
    ASSERT_EQ(CArchNode::s_live, 0);
    {
        CArchNode root;
        root.m_nValue = 1;
        root.m_strName = _T("r");
        root.m_pChild = new CArchNode;
        root.m_pChild->m_nValue = 2;
        root.m_pChild->m_pParent = &root;

        Bytes bytes = Store([&](CArchive& ar) { ar << &root << &root; });
        Bytes expected = B({0xFF, 0xFF, 2, 0, 9, 0, 'C', 'A', 'r', 'c', 'h', 'N', 'o', 'd', 'e'});
        Append(expected, B({1, 0, 0, 0, 0xFF, 0xFE, 0xFF, 1, 'r', 0}));  // root's value and name
        Append(expected, B({0x01, 0x80}));                               // child: known class 1
        Append(expected, B({2, 0, 0, 0, 0xFF, 0xFE, 0xFF, 0}));          // child's value and name
        Append(expected, B({0, 0}));                                     // child's child: null
        Append(expected, B({2, 0}));                                     // child's parent: object 2
        Append(expected, B({0, 0}));                                     // root's parent: null
        Append(expected, B({2, 0}));                                     // root again: a reference
        EXPECT_EQ(bytes, expected);

        CArchNode* first = nullptr;
        CArchNode* second = nullptr;
        EXPECT_EQ(LoadCause(bytes, [&](CArchive& ar) { ar >> first >> second; }), -1);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first, second);
        EXPECT_EQ(first->m_nValue, 1);
        EXPECT_TRUE(first->m_strName == CString(_T("r")));
        ASSERT_NE(first->m_pChild, nullptr);
        EXPECT_EQ(first->m_pChild->m_nValue, 2);
        EXPECT_EQ(first->m_pChild->m_pParent, first);
        delete first;
    }
    EXPECT_EQ(CArchNode::s_live, 0);

    // A null object is the null tag.
    EXPECT_EQ(Store([](CArchive& ar) { ar << static_cast<CObject*>(nullptr); }), B({0, 0}));

    // Classes alone, as the property exchanges write them.
    Bytes classes = Store([](CArchive& ar) {
        ar.WriteClass(RUNTIME_CLASS(CArchPlain));
        ar.WriteClass(RUNTIME_CLASS(CArchPlain));
    });
    EXPECT_EQ(classes,
              B({0xFF, 0xFF, 1, 0, 10, 0, 'C', 'A', 'r', 'c', 'h', 'P', 'l', 'a', 'i', 'n', 0x01, 0x80}));
    CRuntimeClass* read1 = nullptr;
    CRuntimeClass* read2 = nullptr;
    UINT schema = 0;
    EXPECT_EQ(LoadCause(classes,
                        [&](CArchive& ar) {
                            read1 = ar.ReadClass(RUNTIME_CLASS(CArchPlain), &schema);
                            read2 = ar.ReadClass();
                        }),
              -1);
    EXPECT_EQ(read1, RUNTIME_CLASS(CArchPlain));
    EXPECT_EQ(read2, RUNTIME_CLASS(CArchPlain));
    EXPECT_EQ(schema, 1u);

    // MapObject: an object entered by hand is written as a reference.
    CArchPlain plain;
    Bytes mapped = Store([&](CArchive& ar) {
        ar.MapObject(&plain);
        ar << &plain;
    });
    EXPECT_EQ(mapped, B({1, 0}));
    CObject* loaded = nullptr;
    EXPECT_EQ(LoadCause(mapped,
                        [&](CArchive& ar) {
                            ar.MapObject(&plain);
                            ar >> loaded;
                        }),
              -1);
    EXPECT_EQ(loaded, &plain);
}

TEST(ArchiveTest, ManyObjectsUseBigTags)
{
    const int count = 0x8100;
    std::vector<CArchPlain*> objects;
    for (int i = 0; i < count; ++i)
    {
        objects.push_back(new CArchPlain);
        objects.back()->m_byte = static_cast<BYTE>(i);
    }
    Bytes bytes = Store([&](CArchive& ar) {
        for (CArchPlain* p : objects)
            ar << p;
        ar << objects.back() << objects.front();
    });
    // The last reference needs the big object tag and a 32-bit index.
    Bytes tail(bytes.end() - 8, bytes.end());
    EXPECT_EQ(tail, B({0xFF, 0x7F, 0x01, 0x81, 0, 0, 2, 0}));

    std::vector<CObject*> loaded;
    EXPECT_EQ(LoadCause(bytes,
                        [&](CArchive& ar) {
                            for (int i = 0; i < count + 2; ++i)
                            {
                                CObject* p = nullptr;
                                ar >> p;
                                loaded.push_back(p);
                            }
                        }),
              -1);
    ASSERT_EQ(loaded.size(), static_cast<size_t>(count + 2));
    EXPECT_EQ(static_cast<CArchPlain*>(loaded[count - 1])->m_byte, static_cast<BYTE>(count - 1));
    EXPECT_EQ(loaded[count], loaded[count - 1]);
    EXPECT_EQ(loaded[count + 1], loaded[0]);
    for (int i = 0; i < count; ++i)
        delete loaded[i];
    for (CArchPlain* p : objects)
        delete p;
}

TEST(ArchiveTest, SchemasAreCheckedOrHandedToVersionableClasses)
{
    CArchVersioned current;
    current.m_nA = 5;
    current.m_nB = 6;
    Bytes bytes = Store([&](CArchive& ar) { ar << &current; });
    // The stored schema leaves out the versionable flag.
    EXPECT_EQ(bytes[2], 3);
    EXPECT_EQ(bytes[3], 0);

    CArchVersioned* back = nullptr;
    EXPECT_EQ(LoadCause(bytes, [&](CArchive& ar) { ar >> back; }), -1);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->m_nSchemaSeen, 3u);
    EXPECT_EQ(back->m_nB, 6);
    delete back;

    // An older schema without m_nB.
    Bytes old = B({0xFF, 0xFF, 2, 0, 14, 0});
    for (char c : std::string("CArchVersioned"))
        old.push_back(static_cast<BYTE>(c));
    Append(old, B({9, 0, 0, 0}));
    back = nullptr;
    EXPECT_EQ(LoadCause(old, [&](CArchive& ar) { ar >> back; }), -1);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->m_nSchemaSeen, 2u);
    EXPECT_EQ(back->m_nA, 9);
    delete back;

    // A class without the flag refuses another schema.
    Bytes wrong = B({0xFF, 0xFF, 7, 0, 10, 0, 'C', 'A', 'r', 'c', 'h', 'P', 'l', 'a', 'i', 'n', 1});
    EXPECT_EQ(LoadCause(wrong,
                        [](CArchive& ar) {
                            CObject* p = nullptr;
                            ar >> p;
                        }),
              CArchiveException::badSchema);
}

TEST(ArchiveTest, CorruptRecordsGiveTheRightCause)
{
    auto readObject = [](const CRuntimeClass* requested) {
        return [requested](CArchive& ar) {
            CObject* p = ar.ReadObject(requested);
            delete p;
        };
    };
    Bytes plainRecord = B({0xFF, 0xFF, 1, 0, 10, 0, 'C', 'A', 'r', 'c', 'h', 'P', 'l', 'a', 'i', 'n', 1});

    EXPECT_EQ(LoadCause(B({0xFF, 0xFF, 1, 0, 5, 0, 'C', 'N', 'o', 'n', 'e', 1}), readObject(nullptr)),
              CArchiveException::badClass);
    EXPECT_EQ(LoadCause(plainRecord, readObject(RUNTIME_CLASS(CArchNode))), CArchiveException::badClass);
    EXPECT_EQ(LoadCause(B({0x05, 0x80}), readObject(nullptr)), CArchiveException::badIndex);
    EXPECT_EQ(LoadCause(B({0x09, 0x00}), readObject(nullptr)), CArchiveException::badIndex);
    EXPECT_EQ(LoadCause(B({0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF}), readObject(nullptr)),
              CArchiveException::badIndex);
    EXPECT_EQ(LoadCause(B({0xFF, 0x7F, 0x05, 0x00, 0x00, 0x80}), readObject(nullptr)),
              CArchiveException::badIndex);
    // A name longer than any class name.
    Bytes longName = B({0xFF, 0xFF, 1, 0, 0x00, 0x10});
    longName.resize(longName.size() + 0x1000, 'A');
    EXPECT_EQ(LoadCause(longName, readObject(nullptr)), CArchiveException::badClass);

    // An object reference where a class is wanted, and the reverse.
    Bytes classThenObjectRef = plainRecord;
    Append(classThenObjectRef, B({0x01, 0x00}));
    EXPECT_EQ(LoadCause(classThenObjectRef,
                        [](CArchive& ar) {
                            CObject* p = ar.ReadObject(nullptr);
                            delete p;
                            ar.ReadObject(nullptr);
                        }),
              CArchiveException::badIndex);
    Bytes objectThenClassRef = plainRecord;
    Append(objectThenClassRef, B({0x02, 0x80}));
    EXPECT_EQ(LoadCause(objectThenClassRef,
                        [](CArchive& ar) {
                            CObject* p = ar.ReadObject(nullptr);
                            delete p;
                            ar.ReadObject(nullptr);
                        }),
              CArchiveException::badIndex);
    // References one past the last entry (the plain record filled 1 and 2):
    // refused, never read from beyond the table.
    for (int tag : {0x0003, 0x8003})
    {
        Bytes pastTheTable = plainRecord;
        Append(pastTheTable, B({tag & 0xFF, tag >> 8}));
        EXPECT_EQ(LoadCause(pastTheTable,
                            [](CArchive& ar) {
                                CObject* p = ar.ReadObject(nullptr);
                                delete p;
                                ar.ReadObject(nullptr);
                            }),
                  CArchiveException::badIndex)
            << tag;
    }
    // ReadClass where an object reference is stored.
    EXPECT_EQ(LoadCause(B({0x01, 0x00}), [](CArchive& ar) { ar.ReadClass(); }), CArchiveException::badIndex);

    // A class known by name that cannot be created.
    Bytes dynamicOnly = B({0xFF, 0xFF, 0xFF, 0xFF, 16, 0});
    for (char c : std::string("CArchDynamicOnly"))
        dynamicOnly.push_back(static_cast<BYTE>(c));
    EXPECT_EQ(LoadCause(dynamicOnly, readObject(nullptr)), CArchiveException::badClass);

    // Writing while loading and reading while storing.
    EXPECT_EQ(LoadCause(B({1}), [](CArchive& ar) { ar << 1; }), CArchiveException::readOnly);
    CMemFile file;
    CArchive store(&file, CArchive::store);
    try
    {
        int value;
        store >> value;
        ADD_FAILURE() << "read from a storing archive";
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(e->m_cause, CArchiveException::writeOnly);
        e->Delete();
    }
    try
    {
        store << &file;  // not a serializable class
        ADD_FAILURE() << "stored a dynamic-only class";
    }
    catch (CNotSupportedException* e)
    {
        e->Delete();
    }
}

TEST(ArchiveTest, HugeLengthsFailWithoutAllocating)
{
    // The Unicode marker, then an escaped 32-bit length of 2 G characters.
    Bytes huge = B({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x7F, 'a', 0});
    CString s;
    EXPECT_EQ(LoadCause(huge, [&](CArchive& ar) { ar >> s; }), CArchiveException::endOfFile);
    Bytes large = B({0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x3F, 'a', 'b'});
    CStringA a;
    EXPECT_EQ(LoadCause(large, [&](CArchive& ar) { ar >> a; }), CArchiveException::endOfFile);
    Bytes qword = B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 1, 0, 0, 0});
    EXPECT_EQ(LoadCause(qword, [&](CArchive& ar) { ar >> a; }), CArchiveException::genericException);

    // A file that cannot tell its length is read piecewise until it runs out.
    class CStreamFile : public CMemFile
    {
    public:
        ULONGLONG GetLength() const override { AfxThrowNotSupportedException(); }
    };
    Bytes data = large;
    data.resize(data.size() + 200000, 'x');
    CStreamFile stream;
    stream.Attach(data.data(), static_cast<UINT>(data.size()));
    try
    {
        CArchive ar(&stream, CArchive::load);
        ar >> a;
        ADD_FAILURE() << "read past the end";
    }
    catch (CArchiveException* e)
    {
        EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
        e->Delete();
    }
}

TEST(ArchiveTest, DeepNestingIsRefused)
{
    Bytes bytes = B({0xFF, 0xFF, 2, 0, 9, 0, 'C', 'A', 'r', 'c', 'h', 'N', 'o', 'd', 'e'});
    // Each node: value, empty name, then its child: another CArchNode.
    for (int i = 0; i < 5000; ++i)
    {
        Append(bytes, B({0, 0, 0, 0, 0}));
        Append(bytes, B({0x01, 0x80}));
    }
    EXPECT_EQ(LoadCause(bytes,
                        [](CArchive& ar) {
                            CObject* p = nullptr;
                            ar >> p;
                            delete p;
                        }),
              CArchiveException::badIndex);
}

TEST(ArchiveTest, EveryTruncationAndCorruptionFailsCleanly)
{
    CArchNode root;
    root.m_nValue = 42;
    root.m_strName = _T("root node name");
    root.m_pChild = new CArchNode;
    root.m_pChild->m_strName = _T("child");
    root.m_pChild->m_pParent = &root;
    CArchVersioned versioned;
    auto writeAll = [&](CArchive& ar) {
        ar << &root << CString(_T("tail text")) << CStringA("ansi");
        ar.WriteCount(70000);
        ar << &versioned << &root << 3.25;
    };
    auto readAll = [](CArchive& ar) {
        CObject* first = nullptr;
        CObject* second = nullptr;
        CObject* third = nullptr;
        CString text;
        CStringA ansi;
        double d;
        try
        {
            ar >> first >> text >> ansi;
            if (ar.ReadCount() != 70000)
                AfxThrowArchiveException(CArchiveException::genericException);
            ar >> second >> third >> d;
        }
        catch (...)
        {
            delete first;
            delete second;
            throw;
        }
        delete first;
        delete second;
    };
    Bytes valid = Store(writeAll);
    ASSERT_EQ(LoadCause(valid, readAll), -1);

    for (size_t length = 0; length < valid.size(); ++length)
    {
        Bytes cut(valid.begin(), valid.begin() + length);
        EXPECT_EQ(LoadCause(cut, readAll), CArchiveException::endOfFile) << "length " << length;
    }

    // Damaged bytes: any outcome but a crash, a hang or a foreign exception.
    // Damage can make a node its own descendant, so nothing is freed here.
    auto readLeaking = [](CArchive& ar) {
        CObject* p = nullptr;
        CString text;
        CStringA ansi;
        double d;
        ar >> p >> text >> ansi;
        ar.ReadCount();
        ar >> p >> p >> d;
    };
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7FFF;
    };
    for (int round = 0; round < 3000; ++round)
    {
        Bytes damaged = valid;
        int flips = 1 + next() % 3;
        for (int i = 0; i < flips; ++i)
            damaged[next() % damaged.size()] = static_cast<BYTE>(next());
        try
        {
            LoadCause(damaged, readLeaking);
        }
        catch (CException* e)
        {
            // Other framework exceptions (e.g. unsupported classes) are fine.
            e->Delete();
        }
    }
}

TEST(ArchiveTest, TextLinesBufferingAndClose)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, 128);
        ar.WriteString(_T("first\r\nsecond\n"));
        ar.WriteString(_T("third"));
        Bytes big(1000, 0x5A);
        ar.Write(big.data(), static_cast<UINT>(big.size()));
        ar << 77;
        ar.Close();
    }
    EXPECT_EQ(file.GetLength(), 19u * 2 + 1000 + 4);
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load, 128);
        EXPECT_EQ(ar.GetFile(), &file);
        CString line;
        EXPECT_TRUE(ar.ReadString(line));
        EXPECT_TRUE(line == CString(_T("first")));
        TCHAR buffer[32];
        EXPECT_NE(ar.ReadString(buffer, 32), nullptr);
        EXPECT_TRUE(CString(buffer) == CString(_T("second\n")));
        TCHAR part[4];
        EXPECT_NE(ar.ReadString(part, 4), nullptr);
        EXPECT_TRUE(CString(part) == CString(_T("thi")));
        EXPECT_NE(ar.ReadString(part, 3), nullptr);
        EXPECT_TRUE(CString(part) == CString(_T("rd")));
        Bytes big(1000);
        EXPECT_EQ(ar.Read(big.data(), 1000), 1000u);
        EXPECT_EQ(big[999], 0x5A);
        ar.Close();
        // Closing a loading archive leaves the file right after what was read.
        EXPECT_EQ(file.GetPosition(), 19u * 2 + 1000);
    }
    int value = 0;
    CArchive tail(&file, CArchive::load);
    tail >> value;
    EXPECT_EQ(value, 77);
    BYTE extra;
    EXPECT_EQ(tail.Read(&extra, 1), 0u);
    CString none;
    EXPECT_FALSE(tail.ReadString(none));
}
