#pragma once
// The shutdown tests' fixture: a warm calendar process and the counts that
// must be back where they were once the calendar object is gone.
#include "app/private_messages.h"
#include "app/settings_store.h"
#include "calendar/calendar_window.h"
#include "core/settings_keys.h"
#include "framework/app.h"
#include "framework/handles.h"
#include "framework/wnd.h"
#include "monthgrid/monthgrid.h"
#include "parameters/parameters_helpers.h"
#include "resource.h"
#include "support/modal_driver.h"
#include "support/test_support.h"

#include <gtest/gtest.h>


#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

using namespace core::keys;
using testsupport::ModalDriver;

namespace shutdowntest {

using namespace core::keys;
using testsupport::ModalDriver;

using testsupport::ThreadsOfThisProcess;
using testsupport::WindowsOfThisThread;

// What must be back where it was once the calendar object is gone.
struct Leftovers {
    int threads = ThreadsOfThisProcess();
    long windows = WindowsOfThisThread();
    long bound = fw::LiveBoundWindows();
    long gdi = fw::LiveGdiObjects();
    long user = fw::LiveUserObjects();
    long kernel = fw::LiveKernelObjects();

    void ExpectNoneSince(const Leftovers& before, const std::string& what) const
    {
        EXPECT_EQ(threads, before.threads) << what << ": a thread outlived the calendar";
        EXPECT_EQ(windows, before.windows) << what << ": a window was left";
        EXPECT_EQ(bound, before.bound) << what;
        EXPECT_EQ(gdi, before.gdi) << what;
        EXPECT_EQ(user, before.user) << what;
        EXPECT_EQ(kernel, before.kernel) << what << ": a thread or lock handle was left open";
    }
};

inline const std::string kClean = "[Allgemein]\r\nSpalten=2\r\nZeilen=3\r\n";

struct Shutdown : ::testing::Test {
    void SetUp() override
    {
        paramtest::WriteProfile(kClean);
        monthgrid::RegisterMonthGridClass(::GetModuleHandleW(nullptr));
        // The first calendar of a process loads what stays loaded.
        Warm();
    }
    static void Warm()
    {
        static bool warm = false;
        if (std::exchange(warm, true))
            return;
        CCalendarDlg dlg;
        fw::AfxGetApp()->m_pMainWnd = &dlg;
        ModalDriver driver;
        driver.Then([&](HWND) {
            testsupport::PumpFor(200);
            dlg.EndDialog(IDCANCEL);
        });
        dlg.DoModal();
        fw::AfxGetApp()->m_pMainWnd = nullptr;
    }
};

} // namespace shutdowntest
