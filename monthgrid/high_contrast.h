#pragma once
// Whether Windows runs a high-contrast theme. While it does, the grid draws
// in the theme's system colours instead of the colours its host put. Tests
// put a source of their own in: Wine keeps no high-contrast switch (its
// SPI_SETHIGHCONTRAST fails), so a test cannot turn the real one on.
namespace monthgrid {

using HighContrastSource = bool (*)();

// SPI_GETHIGHCONTRAST's HCF_HIGHCONTRASTON, or the source put in.
bool HighContrastOn();
// Replaces the platform's answer; null goes back to it.
void SetHighContrastSource(HighContrastSource source);

} // namespace monthgrid
