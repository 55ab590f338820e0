// Installs the evaluation routines for the current kind of surface.
#pragma once

// Sets model.SurfacePoint / SurfacePointUV from surfaceKind and
// rationalSurface; an unknown kind leaves the slots as they are.
void FijaFunciones();

// False when the current kind cannot be evaluated on the current net: a
// B-spline of degree p needs netM >= p (the first direction has no knot span
// otherwise, and every evaluation would fail).
bool KindFitsNet();
