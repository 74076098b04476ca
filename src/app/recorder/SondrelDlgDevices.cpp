// The recorder's capture device, input and volume. Microphones are
// preferred: after every refresh the last device, and then the last input,
// whose name looks like one is selected.
#include "app/recorder/SondrelDlg.h"

#include "common/Logging.h"

BOOL AFXAPI CSondrelDlg::IsMicrophoneName(CString strName)
{
    // In the user's locale, so that the Cyrillic name folds too.
    ::CharLowerW(strName.GetBuffer());
    strName.ReleaseBuffer();
    static const LPCTSTR names[] = {_T("microphone"), _T("mic "),
                                    _T("mik "),       u"\x043C\x0438\x043A\x0440\x043E\x0444\x043E\x043D",
                                    _T("mikrofon"),   _T("microfoon"),
                                    _T("microfono")};
    for (LPCTSTR pszName : names)
    {
        if (strName.Find(pszName) >= 0)
            return TRUE;
    }
    return FALSE;
}

void CSondrelDlg::OnBnClickedRefreshdevices()
{
    APP_LOG_START(_T("OnBnClickedRefreshdevices"));
    if (m_pCaptureSource)
    {
        m_comboDevices.ResetContent();
        m_pCaptureSource->RefreshDevices();
        LONG nCount = 0;
        m_pCaptureSource->GetDeviceCount(&nCount);
        int nChosen = 0;
        for (LONG i = 0; i < nCount; ++i)
        {
            BSTR bstrName = nullptr;
            m_pCaptureSource->GetDeviceName(i, &bstrName);
            CString strName = TakeEngineString(bstrName);
            m_comboDevices.AddString(strName);
            if (IsMicrophoneName(strName))
                nChosen = (int)i;
        }
        m_pCaptureSource->SelectDevice(nChosen);
        m_comboDevices.SetCurSel(nChosen);
        OnChandeDevice();
    }
    APP_LOG_END(_T("OnBnClickedRefreshdevices"));
}

void CSondrelDlg::OnChandeDevice()
{
    APP_LOG_START(_T("OnChandeDevice"));
    m_comboInputs.ResetContent();
    if (m_pCaptureSource)
    {
        m_pCaptureSource->RefreshInputs();
        LONG nCount = 0;
        m_pCaptureSource->GetInputCount(&nCount);
        CStringArray names;
        for (LONG i = 0; i < nCount; ++i)
        {
            BSTR bstrName = nullptr;
            m_pCaptureSource->GetInputName(i, &bstrName);
            names.Add(TakeEngineString(bstrName));
        }
        // Microphones only; every input when none looks like one.
        int nChosen = 0;
        for (LONG i = 0; i < nCount; ++i)
        {
            if (!IsMicrophoneName(names[i]))
                continue;
            nChosen = m_comboInputs.AddString(names[i]);
            m_comboInputs.SetItemData(nChosen, (DWORD_PTR)i);
        }
        if (m_comboInputs.GetCount() == 0)
        {
            for (LONG i = 0; i < nCount; ++i)
            {
                int nEntry = m_comboInputs.AddString(names[i]);
                m_comboInputs.SetItemData(nEntry, (DWORD_PTR)i);
            }
            nChosen = 0;
        }
        if (m_comboInputs.GetCount() > 0)
        {
            int nVolume = m_sliderVolume.GetPos();
            m_pCaptureSource->SelectInput((LONG)m_comboInputs.GetItemData(nChosen));
            m_pCaptureSource->SetVolume(nVolume);
            m_comboInputs.SetCurSel(nChosen);
        }
    }
    APP_LOG_END(_T("OnChandeDevice"));
}

void CSondrelDlg::OnDeviceSelChange()
{
    int nDevice = m_comboDevices.GetCurSel();
    if (!m_pCaptureSource || nDevice == CB_ERR)
        return;
    m_pCaptureSource->SelectDevice(nDevice);
    OnChandeDevice();
}

void CSondrelDlg::OnInputSelChange()
{
    int nEntry = m_comboInputs.GetCurSel();
    if (!m_pCaptureSource || nEntry == CB_ERR)
        return;
    m_pCaptureSource->SelectInput((LONG)m_comboInputs.GetItemData(nEntry));
}

void CSondrelDlg::ShowVolumeText()
{
    CString strText;
    strText.Format(_T("%i"), m_sliderVolume.GetPos());
    m_wndVolumeText.SetWindowText(strText + _T(" %"));
}

void CSondrelDlg::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar && pScrollBar->m_hWnd == m_sliderVolume.m_hWnd)
        ShowVolumeText();
    CQVTResizeDialog::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CSondrelDlg::OnVolumeReleased(NMHDR* /*pNMHDR*/, LRESULT* pResult)
{
    ShowVolumeText();
    if (m_pCaptureSource)
        m_pCaptureSource->SetVolume(m_sliderVolume.GetPos());
    *pResult = 0;
}
