// What one save or load of the bars' layout tells every bar and control it
// reaches: the exchange's owner pointer carries it into every section.
#pragma once

#include <afxwin.h>

#include "toolkit/commandbars/QVTCommandBarsDefines.h"
#include "toolkit/foundation/propexchange/QVTPropExchange.h"

class CQVTCommandBars;

struct QVT_BARS_EXCHANGE_PARAM
{
    BOOL bSerializeControls;     // unused by the bars and controls
    BOOL bSaveOnlyCustomized;    // built-in bars left as they were are not written
    BOOL bLoadSilent;            // changed built-in bars keep their new definition unasked
    BOOL bSaveOriginalControls;  // originals go with the controls
    BOOL bSerializeImages;
    BOOL bSerializeOptions;
    BOOL bSerializeLayout;
    BOOL bSerializeActions;
    CQVTCommandBars* pCommandBars;
};

// The parameters of the exchange, null outside a layout save or load.
inline QVT_BARS_EXCHANGE_PARAM* QVTBarsExchangeParam(CQVTPropExchange* pPX)
{
    return pPX ? static_cast<QVT_BARS_EXCHANGE_PARAM*>(pPX->m_pOwner) : nullptr;
}
