#include "toolkit/picture_image.h"


namespace qb::ui {

QImage PictureToImage(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0) return {};
    const std::size_t width = static_cast<std::size_t>(picture.width);
    const std::size_t height = static_cast<std::size_t>(picture.height);
    if (picture.pixels.size() < width * height) return {};
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    if (image.isNull()) return {};  // too large to allocate
    for (std::size_t y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(static_cast<int>(y)));
        const std::uint32_t* source = picture.pixels.data() + y * width;
        for (std::size_t x = 0; x < width; ++x) line[x] = 0xff000000u | source[x];
    }
    return image;
}

QImage LoadPictureImage(const std::string& path) {
    Picture picture;
    if (!LoadPicture(path, picture)) return {};
    return PictureToImage(picture);
}

} // namespace qb::ui
