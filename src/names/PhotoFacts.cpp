// EXIF through Exiv2, from bytes in memory: Exiv2 would open a path itself, outside the
// file-system seam, and block on a FIFO.

#include "names/FileFacts.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

namespace morvane {

bool ReadPhotoFacts(const std::string& bytes, PhotoFacts* facts) {
    if (bytes.empty())
        return false;
    try {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte*>(bytes.data()), static_cast<long>(bytes.size()));
#pragma GCC diagnostic pop
        if (image.get() == nullptr)
            return false;
        image->readMetadata();
        const Exiv2::ExifData& data = image->exifData();
        if (data.empty())
            return false;
        for (const Exiv2::Exifdatum& datum : data) {
            // The first of a name wins: IFD0's Model before a thumbnail's.
            facts->exif.emplace(datum.tagName(), datum.toString());
        }
        const auto original = data.findKey(Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"));
        if (original != data.end())
            facts->dateOriginal = original->toString();
        facts->width = image->pixelWidth();
        facts->height = image->pixelHeight();
        const auto x = data.findKey(Exiv2::ExifKey("Exif.Photo.PixelXDimension"));
        const auto y = data.findKey(Exiv2::ExifKey("Exif.Photo.PixelYDimension"));
        if (facts->width == 0 && x != data.end() && y != data.end()) {
            facts->width = x->toLong();
            facts->height = y->toLong();
        }
        return true;
    } catch (...) {
        // Exiv2 throws on damaged or unknown data: such a file has no EXIF for us.
        return false;
    }
}

}  // namespace morvane
