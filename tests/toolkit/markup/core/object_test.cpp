// The markup object base and its collections: COM apartment ownership, name
// lookup through the logical tree, collection bounds and parenting, and the
// exact content errors.
#include "core_test_classes.h"
#include "tests/support/win_thread.h"
#include "toolkit/markup/core/QVTMarkupObjectHeap.h"
#include "toolkit/markup/parser/QVTMarkupBuilder.h"
#include "toolkit/markup/styles/QVTMarkupStyle.h"
#include "toolkit/markup/values/QVTMarkupString.h"
#include "toolkit/markup/values/QVTMarkupValues.h"

namespace {
// The message of a builder error raised by fn, or "" when none was raised.
template <class Fn>
CString BuilderErrorOf(Fn fn)
{
    try
    {
        fn();
    }
    catch (CQVTMarkupBuilderException* e)
    {
        CString strMessage(e->GetMessage());
        e->Delete();
        return strMessage;
    }
    return CString();
}

template <class Fn>
bool ThrowsInvalidArg(Fn fn)
{
    try
    {
        fn();
    }
    catch (CInvalidArgException* e)
    {
        e->Delete();
        return true;
    }
    return false;
}
}  // namespace

TEST(MarkupObject, UndoesOnlyTheComInitialisationItMade)
{
    // In a multithreaded apartment an object's CoInitialize fails with
    // RPC_E_CHANGED_MODE; releasing it must leave that apartment alone.
    HRESULT hrAfter = E_FAIL;
    WinThread mta([&] {
        ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CQVTMarkupObject* pObject = new CQVTMarkupObject();
        pObject->InternalRelease();
        hrAfter = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        ::CoUninitialize();
        ::CoUninitialize();
    });
    mta.join();
    EXPECT_EQ(hrAfter, S_FALSE);

    // In an apartment already entered, the object's S_FALSE is undone again.
    HRESULT hrFinal = E_FAIL;
    WinThread sta([&] {
        ::CoInitialize(nullptr);
        CQVTMarkupObject* pObject = new CQVTMarkupObject();
        pObject->InternalRelease();
        ::CoUninitialize();
        hrFinal = ::CoInitialize(nullptr);
        ::CoUninitialize();
    });
    sta.join();
    EXPECT_EQ(hrFinal, S_OK);

    // The objects of a thread share one initialisation: the apartment lasts
    // while any of them lives and ends with the last.
    HRESULT hrWhileOneLives = E_FAIL, hrAfterLast = E_FAIL;
    WinThread shared([&] {
        CQVTMarkupObject* pFirst = new CQVTMarkupObject();
        CQVTMarkupObject* pSecond = new CQVTMarkupObject();
        pFirst->InternalRelease();
        hrWhileOneLives = ::CoInitialize(nullptr);
        ::CoUninitialize();
        pSecond->InternalRelease();
        hrAfterLast = ::CoInitialize(nullptr);
        ::CoUninitialize();
    });
    shared.join();
    EXPECT_EQ(hrWhileOneLives, S_FALSE);
    EXPECT_EQ(hrAfterLast, S_OK);

    // An object released on another thread leaves that thread's apartment.
    CQVTMarkupObject* pStray = nullptr;
    WinThread maker([&] { pStray = new CQVTMarkupObject(); });
    maker.join();
    HRESULT hrAfterStray = E_FAIL;
    WinThread other([&] {
        ::CoInitialize(nullptr);
        pStray->InternalRelease();
        hrAfterStray = ::CoInitialize(nullptr);
        ::CoUninitialize();
        ::CoUninitialize();
    });
    other.join();
    EXPECT_EQ(hrAfterStray, S_FALSE);
}

TEST(MarkupObject, FindNameSearchesDepthFirstAndExactly)
{
    CContextHolder context;
    CTreeHolder root(
        BuildMarkup(context, PanelMarkup(u"<TestPanel><TestElement x:Name='first' Level='1'/></TestPanel>"
                                         u"<TestElement x:Name='first' Level='2'/>"
                                         u"<TestElement x:Name='Other'/>")));
    ASSERT_NE(root.Get(), nullptr);
    CTestElement* pFound = root.Find<CTestElement>(u"first");
    ASSERT_NE(pFound, nullptr);
    EXPECT_EQ(static_cast<CQVTMarkupInt*>(pFound->GetValue(CTestElement::m_pLevelProperty))->GetValue(), 1);
    EXPECT_EQ(root->FindName(u"other"), nullptr);
    EXPECT_NE(root->FindName(u"Other"), nullptr);
    EXPECT_EQ(root->FindName(u"firs"), nullptr);
}

TEST(MarkupCollection, BoundsAppendAndParenting)
{
    CQVTMarkupCollection* pCollection = new CQVTMarkupCollection(CQVTMarkupInt::GetMarkupType());
    CQVTMarkupInt* pFirst = new CQVTMarkupInt(1);
    CQVTMarkupInt* pSecond = new CQVTMarkupInt(2);
    CQVTMarkupInt* pThird = new CQVTMarkupInt(3);
    pCollection->Insert(-1, pFirst);
    pCollection->Insert(pCollection->GetCount() + 5, pSecond);
    pCollection->Insert(0, pThird);
    ASSERT_EQ(pCollection->GetCount(), 3);
    EXPECT_EQ(pCollection->GetItem(0), pThird);
    EXPECT_EQ(pCollection->GetItem(1), pFirst);
    EXPECT_EQ(pCollection->GetItem(2), pSecond);
    EXPECT_EQ(pFirst->GetLogicalParent(), pCollection);

    // An item of another type stays with the caller.
    CQVTMarkupString* pWrong = CQVTMarkupString::CreateValue(u"x");
    pCollection->Add(pWrong);
    pCollection->Add(nullptr);
    EXPECT_EQ(pCollection->GetCount(), 3);
    EXPECT_EQ(pWrong->GetLogicalParent(), nullptr);
    pWrong->InternalRelease();

    EXPECT_TRUE(ThrowsInvalidArg([&] { pCollection->GetItem(3); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { pCollection->GetItem(-1); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { pCollection->RemoveAt(-1); }));
    pCollection->RemoveAt(pCollection->GetCount());
    EXPECT_EQ(pCollection->GetCount(), 3);

    pFirst->InternalAddRef();
    pCollection->RemoveAt(1);
    EXPECT_EQ(pFirst->GetLogicalParent(), nullptr);
    EXPECT_EQ(pFirst->m_dwRef, 1);
    pFirst->InternalRelease();
    pCollection->InternalRelease();
}

TEST(MarkupCollection, WithoutParentFlagLeavesParentsAlone)
{
    CQVTMarkupObject* pOwner = new CQVTMarkupObject();
    CQVTMarkupCollection* pCollection = new CQVTMarkupCollection(CQVTMarkupInt::GetMarkupType(), FALSE);
    CQVTMarkupInt* pItem = new CQVTMarkupInt(1);
    pItem->SetLogicalParent(pOwner);
    pItem->InternalAddRef();
    pCollection->Add(pItem);
    EXPECT_EQ(pItem->GetLogicalParent(), pOwner);
    pCollection->RemoveAll();
    EXPECT_EQ(pItem->GetLogicalParent(), pOwner);
    pItem->InternalRelease();
    pCollection->InternalRelease();
    pOwner->InternalRelease();
}

TEST(MarkupObject, ContentErrorsNameTheTypes)
{
    CQVTMarkupObject* pInt = new CQVTMarkupInt(3);
    CQVTMarkupString* pText = CQVTMarkupString::CreateValue(u"hello");
    CQVTMarkupObject* pOther = new CQVTMarkupDouble(1.0);
    EXPECT_EQ(BuilderErrorOf([&] { pInt->SetContentObject(nullptr, pText); }),
              CString(u"Cannot convert the string 'hello' into a 'CQVTMarkupInt' object"));
    EXPECT_EQ(BuilderErrorOf([&] { pInt->SetContentObject(nullptr, pOther); }),
              CString(u"Cannot add content to an object of type 'CQVTMarkupInt'"));
    CQVTMarkupSetterCollection* pSetters = new CQVTMarkupSetterCollection();
    EXPECT_EQ(
        BuilderErrorOf([&] { pSetters->SetContentObject(nullptr, pOther); }),
        CString(u"'CQVTMarkupDouble' object cannot be added to 'CQVTMarkupSetterCollection'. Object cannot "
                u"be converted to type 'CQVTMarkupSetter'"));
    pSetters->InternalRelease();
    pOther->InternalRelease();
    pText->InternalRelease();
    pInt->InternalRelease();
}

TEST(MarkupObject, BuilderExceptionKeepsAtMost255Characters)
{
    CString strLong(u'a', 400);
    CQVTMarkupBuilderException* e = new CQVTMarkupBuilderException(strLong);
    EXPECT_EQ(CString(e->GetMessage()).GetLength(), 255);
    WCHAR szSmall[10];
    UINT nHelp = 7;
    EXPECT_TRUE(e->GetErrorMessage(szSmall, 10, &nHelp));
    EXPECT_EQ(CString(szSmall), CString(u'a', 9));
    EXPECT_EQ(nHelp, 0u);
    EXPECT_FALSE(e->GetErrorMessage(nullptr, 10));
    e->Delete();
}

TEST(MarkupObjectHeap, KeepsFreedBlocksPerThreadWithinItsBound)
{
    WinThread worker([] {
        // Freed objects are kept by the freeing thread and serve the next
        // objects of their size.
        std::vector<CQVTMarkupObject*> objects;
        for (int i = 0; i < 100; ++i)
            objects.push_back(new CQVTMarkupObject(CQVTMarkupObject::flagNoComInit));
        const size_t nBefore = QVTMarkupObjectHeap::GetKeptCount();
        for (CQVTMarkupObject* pObject : objects)
            pObject->InternalRelease();
        EXPECT_EQ(QVTMarkupObjectHeap::GetKeptCount(), nBefore + 100);
        CQVTMarkupObject* pAgain = new CQVTMarkupObject(CQVTMarkupObject::flagNoComInit);
        EXPECT_EQ(QVTMarkupObjectHeap::GetKeptCount(), nBefore + 99);
        pAgain->InternalRelease();
    });
    worker.join();

    // At most 4 MB are kept: 4096 blocks of 1 KB, the rest given back.
    // Bigger blocks are never kept.
    size_t nKeptAtBound = 0, nKeptAfterBig = 0;
    WinThread bounded([&] {
        std::vector<void*> blocks;
        for (int i = 0; i < 5000; ++i)
            blocks.push_back(QVTMarkupObjectHeap::Allocate(1024));
        for (void* p : blocks)
            QVTMarkupObjectHeap::Free(p, 1024);
        nKeptAtBound = QVTMarkupObjectHeap::GetKeptCount();
        QVTMarkupObjectHeap::Free(QVTMarkupObjectHeap::Allocate(4096), 4096);
        nKeptAfterBig = QVTMarkupObjectHeap::GetKeptCount();
    });
    bounded.join();
    EXPECT_EQ(nKeptAtBound, 4096u);
    EXPECT_EQ(nKeptAfterBig, 4096u);

    // Objects made on one thread and freed on another, whose blocks are
    // given back when that thread ends; a new thread starts with none.
    std::vector<CQVTMarkupObject*> strays;
    WinThread maker([&] {
        for (int i = 0; i < 50; ++i)
            strays.push_back(new CQVTMarkupObject(CQVTMarkupObject::flagNoComInit));
    });
    maker.join();
    size_t nKeptByFreer = 0;
    WinThread freer([&] {
        for (CQVTMarkupObject* pObject : strays)
            pObject->InternalRelease();
        nKeptByFreer = QVTMarkupObjectHeap::GetKeptCount();
    });
    freer.join();
    EXPECT_EQ(nKeptByFreer, 50u);
    size_t nKeptAtStart = 1;
    WinThread fresh([&] { nKeptAtStart = QVTMarkupObjectHeap::GetKeptCount(); });
    fresh.join();
    EXPECT_EQ(nKeptAtStart, 0u);
}
