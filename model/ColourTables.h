// Palette and line colour ramps, built once at start-up.
#pragma once

#include <cstdint>

// Fills model.palette, greyLineColours, blueLineColours, redLineColours.
void BuildColourTables();

// One component of entry i (1..n) of a ramp from base intensities x1..x3
// (16-bit scale); returns the 16-bit value. Exposed for the tests.
int32_t RampComponent(int n, double x1, double x2, double x3, int component, int i);
