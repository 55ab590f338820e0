// Starting shapes for the active net (netM x netN); weights become 1.
#pragma once

#include "platform/UserMessage.h"

// Unit square in z = 0; nothing outside the active net is touched.
void PlaneNet();
// Radius 1 around z, height 2.5; points j > netN of each row are reset.
void CylinderNet();
// Unit sphere from the north pole (j = 0) to the south pole (j = netN);
// points j > netN of each row are reset.
void SphereNet();

// Rational Bézier nets whose weights make the surface exactly a quadric:
// each sets netM, netN, the net and its weights, Bézier kind and the
// rational flag, and resets the points beyond the net. The ticks and the
// evaluation routines are the caller's (a change of net size).
enum class ExactShape { SphereOctant, HalfSphere, Ellipsoid, HalfCylinder };
void ExactShapeNet(ExactShape s);
// The menu caption ("Octante de esfera" ...).
MessageCode ExactShapeName(ExactShape s);
// The renderer's words: octant, hemisphere, ellipsoid, exact-cylinder.
bool ExactShapeFromWord(const char* word, ExactShape& s);
// The net size (highest indices) of each shape.
void ExactShapeSize(ExactShape s, int& m, int& n);

// The ellipsoid is the half-sphere with x, y, z multiplied by these: y the
// longest axis and z the shortest, so its umbilics lie in the plane x = 0,
// which the half y >= 0 cuts through their middle.
constexpr double kEllipsoidAxisX = 1.0, kEllipsoidAxisY = 1.5, kEllipsoidAxisZ = 0.5;
