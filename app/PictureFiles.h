// Picture files of the view for slides and notes: PNG as shown, and SVG with
// the picture embedded as an image and every overlay line as a vector path.
// Qt only (no widgets): the window and quorlen-render share them.
#pragma once

#include <QImage>

#include <string>
#include <vector>

#include "platform/Canvas.h"

// The canvas as a 24-bit image.
QImage ViewFileImage(const Canvas& canvas);

// The picture as it goes into a file. The one place where the legend strip
// of a curvature map, when a map is on, is to be appended to the picture;
// today it returns the picture as it is.
QImage PictureForFile(const QImage& picture);

// Writes the view (with its overlays drawn in) as PNG, atomically. False
// with the reason in `error`.
bool WritePngPicture(const std::string& name, const Canvas& view, std::string& error);

// Writes the picture without overlays as an embedded image and `lines` over
// it, one path per line in its pen colour (0x00BBGGRR), atomically.
bool WriteSvgPicture(const std::string& name, const Canvas& picture, const std::vector<DrawnLine>& lines,
                     std::string& error);
