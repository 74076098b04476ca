// A reference on a toolkit object for the length of a block: whatever the
// block runs (a command, a site's notification handler) may release the
// owner's reference meanwhile.
#pragma once

template <class T>
class CQVTObjectRef
{
public:
    explicit CQVTObjectRef(T* pObject) : m_pObject(pObject)
    {
        if (m_pObject)
            m_pObject->InternalAddRef();
    }
    ~CQVTObjectRef()
    {
        if (m_pObject)
            m_pObject->InternalRelease();
    }
    CQVTObjectRef(const CQVTObjectRef&) = delete;
    CQVTObjectRef& operator=(const CQVTObjectRef&) = delete;

    T* Get() const { return m_pObject; }

private:
    T* m_pObject;
};
