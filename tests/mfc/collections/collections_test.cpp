// The non-template collections, the typed pointer wrappers, and their stored
// form in archives.
#include <afxtempl.h>
#include <vector>
#include "sondrel_gtest.h"

class CTrack : public CObject
{
    DECLARE_SERIAL(CTrack)
public:
    CTrack() = default;
    explicit CTrack(LPCTSTR name, int seconds) : m_name(name), m_seconds(seconds) {}
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_name << m_seconds;
        else
            ar >> m_name >> m_seconds;
    }
    CString m_name;
    int m_seconds = 0;
};

namespace {

std::vector<BYTE> Store(CObject& ob)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ob.Serialize(ar);
        ar.Close();
    }
    std::vector<BYTE> bytes(size_t(file.GetLength()));
    file.SeekToBegin();
    file.Read(bytes.data(), UINT(bytes.size()));
    return bytes;
}

void Load(CObject& ob, std::vector<BYTE> bytes)
{
    CMemFile file(bytes.data(), UINT(bytes.size()));
    CArchive ar(&file, CArchive::load);
    ob.Serialize(ar);
    ar.Close();
}

// Loads and reports whether an archive exception ended it.
bool LoadFails(CObject& ob, const std::vector<BYTE>& bytes)
{
    try
    {
        Load(ob, bytes);
    }
    catch (CException* e)
    {
        bool archive = e->IsKindOf(RUNTIME_CLASS(CArchiveException));
        e->Delete();
        return archive;
    }
    return false;
}

}  // namespace

IMPLEMENT_SERIAL(CTrack, CObject, 1)

TEST(Collections, StringArrayAndListBehaveLikeTheirTemplates)
{
    CStringArray names;
    names.Add(_T("alpha"));
    names.Add(CString(_T("beta")));
    names.InsertAt(1, _T("between"));
    EXPECT_EQ(names.GetSize(), 3);
    EXPECT_EQ(names[1], _T("between"));
    names[2] += _T("!");
    EXPECT_EQ(names.GetAt(2), _T("beta!"));
    EXPECT_TRUE(names.IsKindOf(RUNTIME_CLASS(CStringArray)));
    EXPECT_TRUE(names.IsSerializable());

    CStringList list;
    list.AddTail(_T("one"));
    list.AddTail(_T("two"));
    list.AddHead(_T("zero"));
    POSITION pos = list.Find(_T("two"));
    ASSERT_NE(pos, nullptr);
    EXPECT_EQ(list.GetAt(pos), _T("two"));
    EXPECT_EQ(list.Find(_T("TWO")), nullptr);

    CDWordArray dwords;
    dwords.Add(0xFFFFFFFFu);
    EXPECT_EQ(dwords[0], 0xFFFFFFFFu);
    CUIntArray uints;
    uints.SetSize(4);
    EXPECT_EQ(uints[3], 0u);
    EXPECT_FALSE(uints.IsSerializable());
}

TEST(Collections, PointerMapsAndTypedWrappers)
{
    CTrack a(_T("a"), 1), b(_T("b"), 2);
    CTypedPtrArray<CObArray, CTrack*> tracks;
    tracks.Add(&a);
    tracks.Add(&b);
    EXPECT_EQ(tracks[1]->m_seconds, 2);
    EXPECT_EQ(tracks.GetAt(0), &a);
    tracks[0] = &b;
    EXPECT_EQ(tracks.GetAt(0), &b);

    CTypedPtrList<CPtrList, CTrack*> queue;
    queue.AddTail(&a);
    queue.AddTail(&b);
    POSITION pos = queue.GetHeadPosition();
    EXPECT_EQ(queue.GetNext(pos)->m_name, _T("a"));
    EXPECT_EQ(queue.GetNext(pos)->m_name, _T("b"));
    EXPECT_EQ(pos, nullptr);
    EXPECT_EQ(queue.RemoveHead(), &a);

    CTypedPtrMap<CMapStringToPtr, CString, CTrack*> byName;
    byName.SetAt(_T("a"), &a);
    byName[_T("b")] = &b;
    CTrack* found = nullptr;
    EXPECT_TRUE(byName.Lookup(_T("b"), found));
    EXPECT_EQ(found, &b);
    EXPECT_FALSE(byName.Lookup(_T("c"), found));
    int walked = 0;
    for (POSITION p = byName.GetStartPosition(); p; ++walked)
    {
        CString key;
        CTrack* value;
        byName.GetNextAssoc(p, key, value);
        EXPECT_EQ(key, value->m_name);
    }
    EXPECT_EQ(walked, 2);
    EXPECT_TRUE(byName.RemoveKey(_T("a")));

    CMapPtrToPtr ptrs;
    ptrs[&a] = &b;
    void* v = nullptr;
    EXPECT_TRUE(ptrs.Lookup(&a, v));
    EXPECT_EQ(v, &b);
    CMapWordToPtr words;
    words.SetAt(7, &a);
    EXPECT_TRUE(words.Lookup(7, v));
    CMapPtrToWord back;
    back.SetAt(&a, 7);
    WORD w = 0;
    EXPECT_TRUE(back.Lookup(&a, w));
    EXPECT_EQ(w, 7);
    CMapStringToString settings;
    settings[_T("Format")] = _T("MP3");
    CString s;
    EXPECT_TRUE(settings.Lookup(_T("Format"), s));
    EXPECT_EQ(s, _T("MP3"));
}

TEST(Collections, StoredBytesAndRoundTrips)
{
    CDWordArray dwords;
    dwords.Add(1);
    dwords.Add(0x01020304);
    std::vector<BYTE> bytes = Store(dwords);
    EXPECT_EQ(bytes, (std::vector<BYTE>{2, 0, 1, 0, 0, 0, 4, 3, 2, 1}));
    CDWordArray dwordsBack;
    Load(dwordsBack, bytes);
    ASSERT_EQ(dwordsBack.GetSize(), 2);
    EXPECT_EQ(dwordsBack[1], 0x01020304u);

    CStringArray names;
    names.Add(_T("Gr\u00fc\u00dfe"));
    names.Add(_T(""));
    names.Add(CString(u'z', 300));
    CStringArray namesBack;
    Load(namesBack, Store(names));
    ASSERT_EQ(namesBack.GetSize(), 3);
    EXPECT_EQ(namesBack[0], names[0]);
    EXPECT_TRUE(namesBack[1].IsEmpty());
    EXPECT_EQ(namesBack[2].GetLength(), 300);

    CObList tracks;
    CTrack one(_T("one"), 61), two(_T("two"), 62);
    tracks.AddTail(&one);
    tracks.AddTail(&two);
    tracks.AddTail(&one);  // the same object twice: stored once, then referenced
    CObList tracksBack;
    Load(tracksBack, Store(tracks));
    ASSERT_EQ(tracksBack.GetCount(), 3);
    CTrack* first = DYNAMIC_DOWNCAST(CTrack, tracksBack.GetHead());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->m_name, _T("one"));
    EXPECT_EQ(first->m_seconds, 61);
    EXPECT_EQ(tracksBack.GetTail(), tracksBack.GetHead());
    delete tracksBack.GetAt(tracksBack.FindIndex(1));
    delete first;

    CMapStringToString map;
    for (int i = 0; i < 40; ++i)
    {
        CString k;
        k.Format(_T("key%d"), i);
        map[k] = k + _T("=value");
    }
    CMapStringToString mapBack;
    Load(mapBack, Store(map));
    EXPECT_EQ(mapBack.GetCount(), 40);
    CString v;
    EXPECT_TRUE(mapBack.Lookup(_T("key39"), v));
    EXPECT_EQ(v, _T("key39=value"));

    CArray<int, int> ints;
    ints.Add(-1);
    ints.Add(2);
    CArray<int, int> intsBack;
    Load(intsBack, Store(ints));
    ASSERT_EQ(intsBack.GetSize(), 2);
    EXPECT_EQ(intsBack[0], -1);

    CTypedPtrArray<CObArray, CTrack*> typed;
    typed.Add(&two);
    CTypedPtrArray<CObArray, CTrack*> typedBack;
    Load(typedBack, Store(typed));
    ASSERT_EQ(typedBack.GetSize(), 1);
    EXPECT_EQ(typedBack[0]->m_seconds, 62);
    delete typedBack[0];
}

TEST(Collections, TruncatedOrCorruptArchivesThrow)
{
    CStringArray names;
    names.Add(_T("first"));
    names.Add(_T("second"));
    std::vector<BYTE> bytes = Store(names);
    for (size_t cut = 0; cut < bytes.size(); ++cut)
    {
        CStringArray back;
        EXPECT_TRUE(LoadFails(back, std::vector<BYTE>(bytes.begin(), bytes.begin() + cut)))
            << "cut at " << cut;
    }

    // A count of nearly four billion with no data behind it fails at once.
    std::vector<BYTE> huge = {0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4};
    CDWordArray dwords;
    EXPECT_TRUE(LoadFails(dwords, huge));
    CStringList list;
    EXPECT_TRUE(LoadFails(list, huge));
    CMapStringToString map;
    EXPECT_TRUE(LoadFails(map, huge));
    CByteArray raw;
    EXPECT_TRUE(LoadFails(raw, huge));
}
