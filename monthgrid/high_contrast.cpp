#include "monthgrid/high_contrast.h"

#include <windows.h>

namespace monthgrid {
namespace {

HighContrastSource g_source = nullptr;

} // namespace

bool HighContrastOn()
{
    if (g_source)
        return g_source();
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof hc;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) &&
           (hc.dwFlags & HCF_HIGHCONTRASTON);
}

void SetHighContrastSource(HighContrastSource source) { g_source = source; }

} // namespace monthgrid
