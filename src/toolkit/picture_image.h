#pragma once
// Pictures decoded by Pixbridge as QImage, for the widgets that show them.
#include <QImage>
#include <string>

#include "platform/pictures.h"

namespace qb::ui {

// The picture as an opaque RGB32 image; a null image for an empty picture.
QImage PictureToImage(const Picture& picture);
// Decodes a PNG through Pixbridge; a null image when it cannot (Pixbridge has said why, or is
// not bound).
QImage LoadPictureImage(const std::string& path);

} // namespace qb::ui
