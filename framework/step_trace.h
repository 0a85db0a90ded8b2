#pragma once
// Marks around the steps of start-up, so that they can be timed one by one
// (bench/). The program installs no sink: a mark then costs one look at a
// null pointer.
namespace fw {

// Called as a step begins (`begins` true) and as it ends, on the thread
// that runs it.
using StepSink = void (*)(const char* step, bool begins);
inline StepSink g_stepSink = nullptr;

class StepScope {
public:
    explicit StepScope(const char* step) noexcept : m_step(step)
    {
        if (g_stepSink)
            g_stepSink(m_step, true);
    }
    ~StepScope()
    {
        if (g_stepSink)
            g_stepSink(m_step, false);
    }
    StepScope(const StepScope&) = delete;
    StepScope& operator=(const StepScope&) = delete;

private:
    const char* m_step;
};

} // namespace fw
