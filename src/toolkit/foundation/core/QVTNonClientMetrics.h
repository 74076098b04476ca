// The system's non-client metrics, read in the size every Windows version
// accepts (without the padded border width).
#pragma once

#include <afx.h>

class CQVTNonClientMetrics : public NONCLIENTMETRICSW
{
public:
    enum
    {
        cbCompatibleSize = 500
    };

    CQVTNonClientMetrics();

    // What SystemParametersInfoW answered.
    BOOL IsValid() const { return m_bValid; }

private:
    BOOL m_bValid;
};
