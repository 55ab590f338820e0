// Picture files of the view for slides and notes: PNG as shown, and SVG with
// the picture embedded as an image and every overlay line as a vector path.
// Qt only (no widgets): the window and quorlen-render share them, as the
// library quorlen_pictures.
#pragma once

#include <QImage>

#include <string>
#include <vector>

#include "platform/Canvas.h"

// The canvas as a 24-bit image.
QImage ViewFileImage(const Canvas& canvas);

// The picture as it goes into a file: with the legend strip of a curvature
// map appended below it when one is given.
QImage PictureForFile(const QImage& picture, const Canvas* legend);

// Writes the view (with its overlays drawn in) as PNG, atomically. False
// with the reason in `error`.
bool WritePngPicture(const std::string& name, const Canvas& view, const Canvas* legend, std::string& error);

// Writes the picture without overlays as an embedded image and `lines` over
// it, one path per line in its pen colour (0x00BBGGRR), atomically.
bool WriteSvgPicture(const std::string& name, const Canvas& picture, const std::vector<DrawnLine>& lines,
                     const Canvas* legend, std::string& error);
