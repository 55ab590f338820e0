// False-colour maps of the curvature over the drawn picture: the value of
// each visible pixel at its own (u, v), the colour ramps, the range and the
// legend. The plain shaded picture is left alone; a map repaints
// pictureBitmap after ShadeToBitmap.
#pragma once

#include <string>
#include <vector>

#include "model/Curvature.h"
#include "model/ModelState.h"
#include "model/SurfaceDerivatives.h"
#include "platform/Canvas.h"
#include "platform/UserMessage.h"

enum class MapQuantity { None, Gauss, Mean, K1, K2, AbsMax };

// The quantity's name as the menu and the legend show it; "Sombreado" for
// None.
MessageCode MapQuantityName(MapQuantity q);
// The tool's names: gauss, mean, k1, k2, absmax; false for any other.
bool MapQuantityFromWord(const std::string& word, MapQuantity& q);

// The quantity from exact derivatives of s at p: NaN where the surface is
// singular or the derivatives cannot be had.
double MapValueAt(MapQuantity q, const Surface& s, ParamPair p);
// The same from the derivatives at the point.
double MapValueOf(MapQuantity q, const Surface& s, const SurfaceDerivs& d);

// A range of the colour scale: automatic (from the values) or fixed.
struct MapRange {
  bool fixed = false;
  double lo = 0, hi = 0;
};
// Whether lo, hi may be a fixed range: both finite and lo < hi.
bool IsUsableMapRange(double lo, double hi);

// The value of every pixel of the view W x H, [x * H + y], NaN where the
// read-out's pixel look-up finds no surface and where the value is not
// finite; the derivatives the look-up had are not evaluated twice. Shared
// with the second thread when it is to be had. Returns how many pixels show
// the surface and how many of those have a value.
struct MapValueCounts {
  long visible = 0, valued = 0;
};
MapValueCounts ComputeMapValues(MapQuantity q, const Surface& s, std::vector<double>& values);

// x rounded up to 1, 2 or 5 times a power of ten (x > 0).
double NiceCeiling(double x);
// The automatic range: symmetric about 0 (from 0 for max |k|) out to the
// 98th percentile of |value| over the visible pixels, rounded up by
// NiceCeiling; (-1, 1) or (0, 1) when there is nothing to measure.
MapRange AutomaticRange(MapQuantity q, const std::vector<double>& values);
// The range in force: the fixed one, or the automatic one.
MapRange RangeInForce(MapQuantity q, const MapRange& chosen, const std::vector<double>& values);

// The ramp colour (0x00BBGGRR) of value x in [lo, hi]; ends beyond it.
uint32_t MapColour(MapQuantity q, double x, double lo, double hi);

// Repaints pictureBitmap from the values: each visible pixel the ramp
// colour darkened by the light of its shade index (shadows and obliquity
// keep the shape readable); the outline's blended pixels take their
// neighbours' colour blended towards white; the background stays. The
// values must be the view's, W x H (checked).
void PaintCurvatureMap(MapQuantity q, const std::vector<double>& values, const MapRange& range);

// Where value x falls on the ramp, 0 to 1, for a range lo < hi: linearly
// from lo to hi for max |k| and for a range symmetric about 0; otherwise
// the signed quantities keep 0 at the grey middle and each side spreads to
// its own limit. Values beyond the range take its ends.
double RampPosition(MapQuantity q, double x, double lo, double hi);

// The legend strip under a picture `width` pixels wide (the view's width
// when not given): the quantity's name and whether the scale is automatic
// or fixed, the colour strip, five labelled values (the quarters of the
// range), the labels within the strip's width. kLegendHeight pixels high at
// 416 pixels wide; a wider strip has its lengths and its text scaled by
// LegendScale, a narrower one keeps the text's size. The name and the
// scale are written by `text`.
constexpr int kLegendHeight = 48;
double LegendScale(int width);
int LegendHeight(int width);
Canvas DrawLegend(MapQuantity q, const MapRange& range, MessageWriter text);
Canvas DrawLegend(MapQuantity q, const MapRange& range, int width, MessageWriter text);
// The value of label k = 0..4.
double LegendValue(const MapRange& range, int k);
// A label's text: to two digits below the first of the labels' step, in
// plain decimals for scales from 0.01 to 10000, else as mantissa and power
// of ten ("2.5E-6"); "0" for 0.
std::string LegendLabelText(double x, double lo, double hi);

// Draws UTF-8 text in a 5 x 7 pixel font with its top-left corner at (x, y)
// and returns the width it took; characters without a glyph show a box.
// With a scale, each font pixel covers the pixels between the rounded
// multiples of the scale (scale 1 is the font itself).
int DrawSmallText(Canvas& c, int x, int y, const std::string& text, uint32_t colour, double scale = 1);
int SmallTextWidth(const std::string& text, double scale = 1);
// False when a character of the text has no glyph (it would show as a box).
bool SmallFontHasGlyphs(const std::string& text);
