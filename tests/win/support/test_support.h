#pragma once
// Shared helpers of the tests that run under Wine.
#include <windows.h>

#include <functional>
#include <string>

#include "framework/app.h"

namespace testsupport {

// The tests' application object: named "Morvelin", with a profile file of
// its own in the temporary folder (removed when the test ends).
class TestApp : public fw::CWinApp {
public:
    TestApp();
    ~TestApp() override;
};

// Path of the current test's profile file.
std::wstring ProfilePath();
// Removes the profile so that the next read sees a fresh one.
void ResetProfile();
// Raw text of the profile file ("" when it does not exist).
std::string ProfileText();

// Handles every message already queued, pre-translating them as the
// framework's modal loop does, without waiting for more.
void PumpPending();
// Pumps messages for about `ms` milliseconds, pre-translating them as the
// framework's modal loop does.
void PumpFor(DWORD ms);

// What a run must give back: the threads of this process, and the
// top-level windows of this thread (-1 when the threads cannot be counted).
int ThreadsOfThisProcess();
long WindowsOfThisThread();

// Runs `call` on a thread of its own and waits for it to end (ten seconds
// at most); false when no thread could be started.
bool OnAnotherThread(const std::function<void()>& call);

} // namespace testsupport
