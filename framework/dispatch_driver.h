#pragma once
// Holds one IDispatch reference, released when replaced or destroyed.
#include <windows.h>
#include <oaidl.h>

#include <utility>

namespace fw {

class COleDispatchDriver {
public:
    COleDispatchDriver() = default;
    ~COleDispatchDriver() { ReleaseDispatch(); }
    COleDispatchDriver(const COleDispatchDriver&) = delete;
    COleDispatchDriver& operator=(const COleDispatchDriver&) = delete;

    // Takes over the caller's reference (released later when autoRelease).
    void AttachDispatch(IDispatch* dispatch, BOOL autoRelease = TRUE)
    {
        ReleaseDispatch();
        m_lpDispatch = dispatch;
        m_bAutoRelease = autoRelease;
    }
    void ReleaseDispatch()
    {
        IDispatch* old = std::exchange(m_lpDispatch, nullptr);
        if (old && m_bAutoRelease)
            old->Release();
    }

    IDispatch* m_lpDispatch = nullptr;
    BOOL m_bAutoRelease = TRUE;
};

} // namespace fw
