// CArray, CList and CMap: growth, aliasing, iteration, removal while walking,
// custom hashing and element lifetimes.
#include <afxtempl.h>
#include <string>
#include "mfc_exception_checks.h"
#include "sondrel_gtest.h"

namespace {

// Counts live instances so leaks and double destruction show up.
struct Tracked
{
    static int live;
    std::u16string text;
    Tracked() { ++live; }
    Tracked(const char16_t* s) : text(s) { ++live; }
    Tracked(const Tracked& o) : text(o.text) { ++live; }
    Tracked(Tracked&& o) noexcept : text(std::move(o.text)) { ++live; }
    Tracked& operator=(const Tracked&) = default;
    Tracked& operator=(Tracked&&) = default;
    ~Tracked() { --live; }
    bool operator==(const Tracked& o) const { return text == o.text; }
};
int Tracked::live = 0;

struct Point3
{
    int x, y, z;
};

}  // namespace

template <>
UINT AFXAPI HashKey<const Point3&>(const Point3& p)
{
    return UINT(p.x) * 73856093u ^ UINT(p.y) * 19349663u ^ UINT(p.z) * 83492791u;
}
template <>
BOOL AFXAPI CompareElements<Point3, Point3>(const Point3* a, const Point3* b)
{
    return a->x == b->x && a->y == b->y && a->z == b->z;
}

TEST(CArrayTest, GrowInsertRemoveAndBounds)
{
    CArray<int, int> a;
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(a.Add(i), i);
    EXPECT_EQ(a.GetSize(), 100);
    EXPECT_EQ(a.GetUpperBound(), 99);
    a.InsertAt(0, -1, 2);
    a.InsertAt(102, 1000);  // at the end
    EXPECT_EQ(a[0], -1);
    EXPECT_EQ(a[2], 0);
    EXPECT_EQ(a[102], 1000);
    a.RemoveAt(0, 2);
    EXPECT_EQ(a[0], 0);
    EXPECT_EQ(a.GetSize(), 101);
    a.SetAtGrow(110, 7);  // fills the gap with value-initialised elements
    EXPECT_EQ(a.GetSize(), 111);
    EXPECT_EQ(a[105], 0);
    EXPECT_EQ(a[110], 7);
    a.InsertAt(200, 5);  // beyond the end grows the array
    EXPECT_EQ(a.GetSize(), 201);

    EXPECT_TRUE(ThrowsInvalidArg([&] { a.GetAt(201); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.SetAt(-1, 0); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.RemoveAt(200, 2); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { a.SetSize(-1); }));

    CArray<int, int> b;
    b.Copy(a);
    EXPECT_EQ(b.GetSize(), a.GetSize());
    EXPECT_EQ(b.Append(a), 201);
    EXPECT_EQ(b.GetSize(), 402);
    b.SetSize(3);
    b.InsertAt(1, &b);  // inserting itself
    EXPECT_EQ(b.GetSize(), 6);
    int expected[] = {0, 0, 1, 2, 1, 2};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(b[i], expected[i]);
    b.SetSize(0);
    EXPECT_TRUE(b.IsEmpty());
    EXPECT_EQ(b.GetData(), nullptr);
}

TEST(CArrayTest, ElementsAreProperObjects)
{
    {
        CArray<Tracked> a;
        a.Add(Tracked(u"first"));
        for (int i = 0; i < 50; ++i)
            a.Add(a[0]);  // the argument lives in the array while it grows
        EXPECT_EQ(a[50].text, u"first");
        a.InsertAt(10, Tracked(u"mid"), 3);
        EXPECT_EQ(a[12].text, u"mid");
        EXPECT_EQ(a[13].text, u"first");
        a.RemoveAt(0, 20);
        EXPECT_EQ(a.GetSize(), 34);
        a.FreeExtra();
        EXPECT_EQ(a[33].text, u"first");
        EXPECT_EQ(Tracked::live, 34);
        a.SetSize(40);
        EXPECT_EQ(Tracked::live, 40);
    }
    EXPECT_EQ(Tracked::live, 0);

    CArray<CString, LPCTSTR> strings;
    strings.Add(_T("a"));
    strings.SetAtGrow(3, _T("d"));
    EXPECT_TRUE(strings[1].IsEmpty());
    EXPECT_EQ(strings[3], _T("d"));
}

TEST(CListTest, WalkInsertFindAndRemove)
{
    CList<int, int> list;
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.RemoveHead(); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.GetTail(); }));
    for (int i = 1; i <= 5; ++i)
        list.AddTail(i);
    list.AddHead(0);
    EXPECT_EQ(list.GetCount(), 6);
    EXPECT_EQ(list.GetHead(), 0);
    EXPECT_EQ(list.GetTail(), 5);

    POSITION three = list.Find(3);
    ASSERT_NE(three, nullptr);
    list.InsertBefore(three, 30);
    list.InsertAfter(three, 31);
    EXPECT_EQ(list.Find(3, three), nullptr);  // search starts after the position
    EXPECT_EQ(list.GetAt(list.FindIndex(3)), 30);
    EXPECT_EQ(list.FindIndex(100), nullptr);

    // Remove the even values while walking forwards.
    for (POSITION pos = list.GetHeadPosition(); pos;)
    {
        POSITION current = pos;
        if (list.GetNext(pos) % 2 == 0)
            list.RemoveAt(current);
    }
    std::vector<int> backwards;
    for (POSITION pos = list.GetTailPosition(); pos;)
        backwards.push_back(list.GetPrev(pos));
    EXPECT_EQ(backwards, (std::vector<int>{5, 31, 3, 1}));

    list.AddTail(&list);  // a list appended to itself doubles once
    EXPECT_EQ(list.GetCount(), 8);
    CList<int, int> other;
    other.AddTail(-1);
    list.AddHead(&other);
    EXPECT_EQ(list.RemoveHead(), -1);
    EXPECT_EQ(list.RemoveTail(), 5);
    list.SetAt(list.GetHeadPosition(), 100);
    EXPECT_EQ(list.GetHead(), 100);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);

    {
        CList<Tracked> tracked;
        tracked.AddTail(Tracked(u"a"));
        tracked.AddHead(Tracked(u"b"));
        EXPECT_NE(tracked.Find(Tracked(u"a")), nullptr);
        EXPECT_EQ(tracked.RemoveHead().text, u"b");
    }
    EXPECT_EQ(Tracked::live, 0);
}

TEST(CMapTest, LookupIterationAndRemoval)
{
    CMap<int, int, CString, LPCTSTR> map;
    EXPECT_EQ(map.GetStartPosition(), nullptr);
    for (int i = 0; i < 500; ++i)
        map.SetAt(i * 7, CString(u'x', i % 5));
    map[7] = _T("seven");
    EXPECT_EQ(map.GetCount(), 500);
    CString value;
    EXPECT_TRUE(map.Lookup(7, value));
    EXPECT_EQ(value, _T("seven"));
    EXPECT_FALSE(map.Lookup(8, value));
    EXPECT_EQ(map.PLookup(8), nullptr);
    ASSERT_NE(map.PLookup(14), nullptr);
    EXPECT_EQ(map.PLookup(14)->key, 14);

    // Every entry once, even when each is removed as it is visited.
    int visited = 0;
    POSITION pos = map.GetStartPosition();
    while (pos)
    {
        int key;
        map.GetNextAssoc(pos, key, value);
        EXPECT_EQ(key % 7, 0);
        if (key % 2 == 0)
        {
            EXPECT_TRUE(map.RemoveKey(key));
        }
        ++visited;
    }
    EXPECT_EQ(visited, 500);
    EXPECT_EQ(map.GetCount(), 250);
    EXPECT_FALSE(map.RemoveKey(0));

    // A larger table keeps every entry.
    map.InitHashTable(1031);
    EXPECT_EQ(map.GetHashTableSize(), 1031u);
    EXPECT_EQ(map.GetCount(), 250);
    EXPECT_TRUE(map.Lookup(7, value));
    EXPECT_EQ(value, _T("seven"));
    int pairs = 0;
    for (auto* p = map.PGetFirstAssoc(); p; p = map.PGetNextAssoc(p))
        ++pairs;
    EXPECT_EQ(pairs, 250);
    pos = BEFORE_START_POSITION;  // older code starts its walk this way
    int key;
    map.GetNextAssoc(pos, key, value);
    EXPECT_EQ(key % 2, 1);
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_TRUE(ThrowsInvalidArg([&] { map.GetNextAssoc(pos = BEFORE_START_POSITION, key, value); }));
}

TEST(CMapTest, CustomHashAndCompare)
{
    CMap<Point3, const Point3&, int, int> map;
    map.InitHashTable(101);
    for (int i = 0; i < 50; ++i)
        map[Point3{i, -i, i * 2}] = i;
    int v = 0;
    EXPECT_TRUE(map.Lookup(Point3{10, -10, 20}, v));
    EXPECT_EQ(v, 10);
    EXPECT_FALSE(map.Lookup(Point3{10, -10, 21}, v));
    EXPECT_TRUE(map.RemoveKey(Point3{3, -3, 6}));
    EXPECT_EQ(map.GetCount(), 49);

    CMap<CString, LPCTSTR, int, int> byName;
    byName[_T("Volume")] = 1;
    byName[_T("volume")] = 2;  // keys are case-sensitive
    EXPECT_EQ(byName.GetCount(), 2);
    EXPECT_TRUE(byName.Lookup(CString(_T("Volume")), v));
    EXPECT_EQ(v, 1);
}
