// The callbacks through which CFormatsConverterEx reports to its owner and
// asks it for decisions while a job runs. Every callback returns 0 by default
// and touches none of its arguments: no file names, no cancel, no split.
//
// Most callbacks get the driver's stop flag: writing VARIANT_TRUE into it ends
// the run once the current file has been finished. Times are milliseconds.
// The driver ignores the results.
#pragma once

#include <afx.h>

#include "engine/MediaEngine.h"

// The error codes of OnError.
enum ConverterError : LONG
{
    CONVERTER_ERROR_STABILISATION_FRAME = 1,  // a stabilisation frame lacks its video interfaces
    CONVERTER_ERROR_RUN = 2,                  // the run failed on an exception; the detail is its HRESULT
    CONVERTER_ERROR_SETUP = 3,                // no profile; container, settings or stabilisation refused
    CONVERTER_ERROR_START_WRITING = 4,        // the output file could not be started
    CONVERTER_ERROR_FINISH_FILE = 5,          // the output file could not be finished
    CONVERTER_ERROR_COPY = 6,                 // reading or writing failed while copying
    CONVERTER_ERROR_LOW_DISK_SPACE = 8,       // the detail is the free space in whole MiB
};

class CConverterEvents
{
public:
    CConverterEvents() {}

    // An output file was started, just before data is copied into it.
    virtual HRESULT OnFileOpened(VARIANT_BOOL* pbStop) { return 0; }
    // A job item is finished; *pnResult is preset to 0 and not read back.
    virtual HRESULT OnItemDone(LONG* pnResult, VARIANT_BOOL* pbStop) { return 0; }
    // A new media file was created for the next output, before its set-up.
    virtual HRESULT OnFileCreating(VARIANT_BOOL* pbStop) { return 0; }
    // Container, profile and tags were given to the new file; its name follows.
    virtual HRESULT OnFileConfigured(VARIANT_BOOL* pbStop) { return 0; }
    virtual HRESULT OnFileClosing(VARIANT_BOOL* pbStop) { return 0; }
    virtual HRESULT OnFileClosed(VARIANT_BOOL* pbStop) { return 0; }
    // Not called by the driver; the recording dialog answers it.
    virtual HRESULT GetOutputFormat(LONG* pnContainerType, IMediaPropertyBag5** ppProfile) { return 0; }
    virtual HRESULT OnReserved() { return 0; }
    // Name of the next output file, a BSTR the driver frees; asked only when
    // GetFileNameForMarker gave none.
    virtual HRESULT GetNextFileName(BSTR* pbstrFileName, VARIANT_BOOL* pbStop) { return 0; }
    // The same with the pending marker's name (may be empty).
    virtual HRESULT GetFileNameForMarker(LPCTSTR pszMarkerName, BSTR* pbstrFileName, VARIANT_BOOL* pbStop)
    {
        return 0;
    }
    // The new file's operation bag, before writing starts; the owner may add to it.
    virtual HRESULT OnConfigureOperation(IMediaPropertyBag5* pOperation, LONG nPass, LONG nFile,
                                         VARIANT_BOOL* pbStop)
    {
        return 0;
    }
    // Right after the engine was asked to start writing, whether or not it did.
    virtual HRESULT OnFileStarted(LONG nPass, LONG nFile, VARIANT_BOOL* pbStop) { return 0; }
    // About once a second. *pnSplitRequest is preset to 0; 1 closes the
    // current file at once and continues into a new one.
    virtual HRESULT OnProgress(double dFileWritten, double dJobPosition, double dSourceDuration,
                               double dTotalEstimate, LONG nReserved1, LONG nReserved2, LONG* pnSplitRequest,
                               VARIANT_BOOL* pbStop)
    {
        return 0;
    }
    // nCode: a ConverterError. nDetail: the failing HRESULT, the free
    // megabytes for CONVERTER_ERROR_LOW_DISK_SPACE, or 0.
    virtual HRESULT OnError(LONG nCode, LONG nDetail, VARIANT_BOOL* pbStop) { return 0; }
    // Only while the driver's sample notification is on.
    virtual HRESULT OnAudioSample(IMediaSample5* pSample) { return 0; }

    virtual ~CConverterEvents() {}
};
