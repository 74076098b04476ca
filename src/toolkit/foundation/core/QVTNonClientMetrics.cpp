#include "toolkit/foundation/core/QVTNonClientMetrics.h"

#include <cstddef>

static_assert(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth) == CQVTNonClientMetrics::cbCompatibleSize,
              "the compatible size ends before the padded border width");

CQVTNonClientMetrics::CQVTNonClientMetrics()
{
    NONCLIENTMETRICSW* pMetrics = this;
    ZeroMemory(pMetrics, sizeof(NONCLIENTMETRICSW));
    cbSize = cbCompatibleSize;
    m_bValid = ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, cbCompatibleSize, pMetrics, 0);
}
