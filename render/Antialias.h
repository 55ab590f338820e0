// The antialiasing filter over model.shadeMap.
#pragma once

// Blends the background pixels along the surface's outline (row pass, then
// column pass, both reading the unfiltered map); surface pixels keep their
// shade.
void AntialiasShadeMap();
