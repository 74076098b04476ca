// Message bars in the resource theme's colours: the bar in its message-bar
// colour, the message area framed with a light gradient, white buttons
// with the highlight colours when hot or pressed, and the close button
// drawn from the set's caption-button image.
#pragma once

#include "toolkit/themes/office/QVTMessageBarThemeOffice2003.h"

class CQVTResourceTheme;

class CQVTMessageBarThemeResource : public CQVTMessageBarThemeOffice2003
{
    DECLARE_DYNAMIC(CQVTMessageBarThemeResource)

public:
    explicit CQVTMessageBarThemeResource(CQVTPaintManager* pPaintManager);

    void FillMessageBar(CDC* pDC, CQVTMessageBar* pBar) override;
    void DrawMessageBarButton(CDC* pDC, CQVTMessageBarButton* pButton) override;
    CSize GetButtonSize(int nBarHeight) override;
    int GetMessageBarHeight() override;

protected:
    // The theme while its set holds an INI, else null.
    CQVTResourceTheme* GetValidTheme() const;
};
