// Starting shapes for the active net (netM x netN); weights become 1.
#pragma once

// Unit square in z = 0; nothing outside the active net is touched.
void PlaneNet();
// Radius 1 around z, height 2.5; points j > netN of each row are reset.
void CylinderNet();
// Unit sphere from the north pole (j = 0) to the south pole (j = netN);
// points j > netN of each row are reset.
void SphereNet();
