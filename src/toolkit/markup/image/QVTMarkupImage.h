// The Image element: a picture named by its Source, loaded by the device
// context that measures or draws it, sized by Stretch.
#pragma once

#include <memory>

#include "toolkit/markup/elements/QVTMarkupFrameworkElement.h"
#include "toolkit/markup/image/QVTMarkupDeviceDependentImage.h"

class CQVTMarkupImage : public CQVTMarkupFrameworkElement, public IQVTMarkupDeviceDependentImageSite
{
    DECLARE_MARKUPCLASS(CQVTMarkupImage)

public:
    CQVTMarkupImage();
    ~CQVTMarkupImage() override;

    // The site the picture calls back.
    CQVTMarkupContext* GetMarkupContext() override { return CQVTMarkupObject::GetMarkupContext(); }
    void OnImageChanged() override { InvalidateVisual(); }

    SIZE MeasureOverride(CQVTMarkupDrawingContext* pDC, SIZE szAvailable) override;
    // The render size is the picture's stretched size, not the slot.
    SIZE ArrangeOverride(SIZE szFinal) override;
    void OnRender(CQVTMarkupDrawingContext* pDC) override;
    // A new Source drops the picture; the next measure or render loads it.
    void OnPropertyChanged(CQVTMarkupDependencyProperty* pProperty, CQVTMarkupObject* pOldValue,
                           CQVTMarkupObject* pNewValue) override;

    CQVTMarkupDeviceDependentImage* GetImage() const { return m_pImage.get(); }
    // The picture's size for a given size under Stretch.
    SIZE GetImageSize(SIZE size);

    static CQVTMarkupDependencyProperty* m_pSourceProperty;
    static CQVTMarkupDependencyProperty* m_pStretchProperty;

protected:
    BSTR GetSourceProperty();
    void SetSourceProperty(LPCTSTR lpszSource);
    long GetStretchProperty();
    void SetStretchProperty(long nValue);

    DECLARE_DISPATCH_MAP()

private:
    static void AFX_CDECL RegisterMarkupProperties();
    void LoadImage(CQVTMarkupDrawingContext* pDC);

    std::unique_ptr<CQVTMarkupDeviceDependentImage> m_pImage;  // made lazily
    SIZE m_szAvailable;                                        // of the last measure
};
