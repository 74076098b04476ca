#include "toolkit/markup/values/QVTMarkupStretch.h"

#include "toolkit/markup/values/QVTMarkupKeywords.h"

CQVTMarkupObject* AFX_CDECL ConvertMarkupStretch(CQVTMarkupBuilder*, CQVTMarkupObject* pSource,
                                                 CQVTMarkupDependencyProperty*)
{
    static const QVTMARKUPKEYWORD kStretch[] = {
        {u"None", qvtStretchNone},
        {u"Fill", qvtStretchFill},
        {u"Uniform", qvtStretchUniform},
        {u"UniformToFill", qvtStretchUniformToFill},
    };
    return ConvertMarkupKeyword(pSource, kStretch);
}
