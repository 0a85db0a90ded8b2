#include "framework/handles.h"

namespace fw {
namespace detail {
std::atomic<long> g_liveGdi{0};
std::atomic<long> g_liveUser{0};
std::atomic<long> g_liveKernel{0};
} // namespace detail

long LiveGdiObjects() { return detail::g_liveGdi.load(); }
long LiveUserObjects() { return detail::g_liveUser.load(); }
long LiveKernelObjects() { return detail::g_liveKernel.load(); }

} // namespace fw
