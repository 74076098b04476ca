// One file of the recorder's file list: the row's look (a CSelection), the
// file's path and row, and the description read from the file through the
// engine's media-file object: title, artist, duration, container type and
// the video and audio streams. Counted: the list and the player share it.
#pragma once

#include <afx.h>

#include <memory>
#include <vector>

#include "app/recording/EngineObjects.h"
#include "common/BaseUnknown.h"
#include "common/ListViewSel.h"

class CFileDesc;

// Told of the media file's progress events (opening, finishing). The first
// observer may cancel through *pnCancel.
class CFileDescObserver
{
public:
    virtual ~CFileDescObserver() = default;
    virtual void OnFileProgress(LONG nPercent, SHORT* pnCancel) = 0;
};

// The media file's event sink: hands progress events to the first observer
// of its file description.
class CVideoFileEvent : public IDispatch
{
public:
    explicit CVideoFileEvent(CFileDesc* pOwner) : m_pOwner(pOwner) {}
    virtual ~CVideoFileEvent() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                               DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // The owner goes before the sink may: the sink then forwards nothing.
    void DetachOwner() { m_pOwner = nullptr; }

    DWORD m_dwCookie = 0;  // connection-point cookie; 0 when not advised

private:
    HRESULT InvokeProgress(DISPPARAMS* pDispParams, UINT* puArgErr);

    CFileDesc* m_pOwner;
    LONG m_nRefs = 1;
};

struct CVideoStreamDesc
{
    CString strCodecName;
    LONG nCodecId = 0;
    LONGLONG nBitrate = 0;
    double dDuration = 0;  // ms
    LONG nWidth = 0;
    LONG nHeight = 0;
    double dFrameRate = 0;
    LONG nAspectX = 0;  // 0:0 when the file does not say
    LONG nAspectY = 0;
    LONG nReserved = 0;
    LONG nFrameCount = 0;  // whole frames over the duration
    CEngineRef<IMediaVideoFrame5> pPreview;
};

struct CAudioStreamDesc
{
    CString strName;  // "Track n", or the stream's language name
    CString strCodecName;
    LONG nBitrate = 0;
    double dDuration = 0;  // ms
    LONG nSampleRate = 0;
    LONG nChannels = 0;
    LONG nReserved = 0;
    LONG nSeconds = 0;  // the duration in whole seconds
};

class CFileDesc : public CSelection, public MyMem::IBaseUnknown
{
public:
    CFileDesc();
    ~CFileDesc() override;

    // Reads the description once: later calls return the first call's
    // result. 0 on success, else the engine's failure or -1.
    HRESULT ReadDescription(LPCTSTR pszPath);
    // Fills both stream lists from the opened media file; 0 or -1.
    HRESULT ReadStreams();
    // Finishes the media file and clears the read flag, so that the next
    // ReadDescription reads again.
    HRESULT CloseFile();

    const CAudioStreamDesc* GetSelectedAudio() const;
    const CVideoStreamDesc* GetSelectedVideo() const;
    // The selected audio stream's duration, 0 without a description.
    double GetAudioDuration() const;

    IMediaFile5* GetMediaFile() const { return m_pMediaFile.Get(); }
    // The container interface that makes a seek need no restart.
    IUnknown* GetSeekInterface() const { return m_pContainerSeek.Get(); }
    // The file's tags as the engine read them; null when it gave none.
    IMediaPropertyBag5* GetTags() const { return m_pTags.Get(); }

    // Observers are owned by the description.
    void AddObserver(std::unique_ptr<CFileDescObserver> pObserver);
    CFileDescObserver* GetFirstObserver() const;

    CString m_strPath;
    CString m_strTitle;
    CString m_strArtist;
    double m_dDuration = 0;  // ms: of the selected video stream, else audio
    int m_nRow = -1;         // the row of the recorder's file list

    LONG m_nContainerType = 0;
    LONG m_nVideoCount = 0;
    LONG m_nVideoSelected = 0;
    std::vector<CVideoStreamDesc> m_video;
    LONG m_nAudioCount = 0;
    LONG m_nAudioSelected = 0;
    std::vector<CAudioStreamDesc> m_audio;

    BOOL m_bRead = FALSE;     // ReadDescription ran since the last CloseFile
    HRESULT m_hrRead = S_OK;  // what it returned
    BOOL m_bProtected = FALSE;
    BOOL m_bLimits = FALSE;  // the file lies outside the simple limits
    BOOL m_bSeekable = TRUE;
    BOOL m_bSwf = FALSE;
    LONG m_nContainerValue1 = 1;  // container values of Matroska files
    LONG m_nContainerValue2 = 0;

private:
    // The path names something that exists and is not a regular file.
    static BOOL IsOtherThanFile(LPCTSTR pszPath);
    static BOOL HasSwfSignature(LPCTSTR pszPath);
    HRESULT OpenForReading();
    void ReadContainer();
    HRESULT ReadVideoStream(LONG nIndex);
    HRESULT ReadAudioStream(LONG nIndex);
    void ReadTags();
    void HookEvents();
    void UnhookEvents();
    void ClearStreams();
    HRESULT CloseMediaFile();

    HRESULT m_hrCreate = S_OK;  // creation of the media file
    CEngineRef<IUnknown> m_pContainerA;
    CEngineRef<IUnknown> m_pContainerB;
    CEngineRef<IUnknown> m_pContainerSeek;
    CEngineRef<IMediaFile5> m_pMediaFile;
    CEngineRef<IMediaPropertyBag5> m_pTags;
    CVideoFileEvent* m_pEventSink = nullptr;
    std::vector<std::unique_ptr<CFileDescObserver>> m_observers;
};

// A counted reference to a list item.
using CFileDescRef = CEngineRef<CFileDesc>;
