#pragma once
// Photos and music files the tests write themselves: a tiny JPEG tagged through Exiv2.

#include <algorithm>
#include <string>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <taglib/fileref.h>
#include <taglib/oggpage.h>
#include <taglib/tpropertymap.h>

#include "support/TempDir.h"

namespace morvane::test {

// A 1x1 baseline JPEG.
inline const unsigned char kJpeg[] = {
    0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x08, 0x06, 0x06, 0x07, 0x06, 0x05, 0x08, 0x07, 0x07,
    0x07, 0x09, 0x09, 0x08, 0x0A, 0x0C, 0x14, 0x0D, 0x0C, 0x0B, 0x0B, 0x0C, 0x19, 0x12, 0x13, 0x0F,
    0x14, 0x1D, 0x1A, 0x1F, 0x1E, 0x1D, 0x1A, 0x1C, 0x1C, 0x20, 0x24, 0x2E, 0x27, 0x20, 0x22, 0x2C,
    0x23, 0x1C, 0x1C, 0x28, 0x37, 0x29, 0x2C, 0x30, 0x31, 0x34, 0x34, 0x34, 0x1F, 0x27, 0x39, 0x3D,
    0x38, 0x32, 0x3C, 0x2E, 0x33, 0x34, 0x32, 0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x01, 0x00, 0x01,
    0x01, 0x01, 0x11, 0x00, 0xFF, 0xC4, 0x00, 0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x09, 0xFF, 0xC4, 0x00, 0x14, 0x10,
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00, 0x2A, 0x9F, 0xFF, 0xD9};

inline std::string JpegBytes() {
    return std::string(reinterpret_cast<const char*>(kJpeg), sizeof kJpeg);
}

// dir/relative, a JPEG whose EXIF says when (YYYY:MM:DD HH:MM:SS, empty: no date) and by
// which camera (empty: no model) it was taken; its frame header says how large it is.
inline std::string MakePhoto(TempDir& dir, const std::string& relative, const std::string& when,
                             const std::string& model = "", unsigned width = 1,
                             unsigned height = 1) {
    std::string bytes = JpegBytes();
    const std::size_t frame = bytes.find("\xFF\xC0");  // then length, precision, height, width
    bytes[frame + 5] = static_cast<char>(height >> 8);
    bytes[frame + 6] = static_cast<char>(height & 0xFF);
    bytes[frame + 7] = static_cast<char>(width >> 8);
    bytes[frame + 8] = static_cast<char>(width & 0xFF);
    const std::string path = dir.MakeFile(relative, bytes);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    auto image = Exiv2::ImageFactory::open(path);
#pragma GCC diagnostic pop
    image->readMetadata();
    Exiv2::ExifData exif;
    if (!when.empty())
        exif["Exif.Photo.DateTimeOriginal"] = when;
    if (!model.empty())
        exif["Exif.Image.Model"] = model;
    image->setExifData(exif);
    image->writeMetadata();
    return path;
}

// The bytes of an audio file with no tags yet: a few silent MPEG frames, a FLAC stream info
// block, or the three Vorbis headers in Ogg pages.
inline std::string Mp3Bytes() {
    std::string frame(417, '\0');  // MPEG-1 layer III, 128 kbit/s, 44.1 kHz
    frame[0] = '\xFF';
    frame[1] = '\xFB';
    frame[2] = '\x90';
    frame[3] = '\x64';
    std::string bytes;
    for (int i = 0; i < 20; ++i)
        bytes += frame;
    return bytes;
}

inline std::string FlacBytes() {
    std::string bytes = "fLaC";
    bytes += std::string("\x80\x00\x00\x22", 4);  // the last block: stream info, 34 bytes
    bytes += std::string("\x10\x00\x10\x00", 4);  // block sizes 4096
    bytes += std::string(6, '\0');                // frame sizes unknown
    bytes += std::string("\x0A\xC4\x42\xF0", 4);  // 44.1 kHz, 2 channels, 16 bits
    bytes += std::string(4 + 16, '\0');           // samples, MD5
    return bytes;
}

inline std::string OggVorbisBytes() {
    TagLib::ByteVector id("\x01vorbis", 7);
    id.append(TagLib::ByteVector("\x00\x00\x00\x00\x02\x44\xAC\x00\x00", 9));
    id.append(TagLib::ByteVector(12, '\0'));
    id.append(TagLib::ByteVector("\xB8\x01", 2));
    TagLib::ByteVector comment("\x03vorbis", 7);
    comment.append(TagLib::ByteVector("\x04\x00\x00\x00test\x00\x00\x00\x00\x01", 13));
    TagLib::ByteVector setup("\x05vorbis", 7);
    setup.append(TagLib::ByteVector(8, '\0'));
    std::string bytes;
    TagLib::ByteVectorList head;
    head.append(id);
    TagLib::ByteVectorList headers;
    headers.append(comment);
    headers.append(setup);
    TagLib::List<TagLib::Ogg::Page*> first =
        TagLib::Ogg::Page::paginate(head, TagLib::Ogg::Page::SinglePagePerGroup, 1, 0);
    TagLib::List<TagLib::Ogg::Page*> rest =
        TagLib::Ogg::Page::paginate(headers, TagLib::Ogg::Page::SinglePagePerGroup, 1, 1);
    for (auto* list : {&first, &rest}) {
        for (TagLib::Ogg::Page* page : *list) {
            const TagLib::ByteVector rendered = page->render();
            bytes.append(rendered.data(), rendered.size());
            delete page;
        }
    }
    return bytes;
}

// The 128 bytes of an ID3v1 tag, kept at the end of an MP3 (ID3v1.1: the track in the
// comment's last byte).
inline std::string Id3v1(const std::string& title, const std::string& artist,
                         const std::string& album, const std::string& year, unsigned char track) {
    const auto field = [](const std::string& text, std::size_t size) {
        return text.substr(0, size) + std::string(size - std::min(size, text.size()), '\0');
    };
    std::string tag = "TAG" + field(title, 30) + field(artist, 30) + field(album, 30) +
                      field(year, 4) + std::string(28, '\0');
    tag += '\0';
    tag += static_cast<char>(track);
    tag += '\xFF';  // no genre
    return tag;
}

struct Tags {
    std::string title, artist, album, track, disc, date;
};

// dir/relative with the audio bytes and the tags, written through TagLib.
inline std::string MakeSong(TempDir& dir, const std::string& relative, const std::string& bytes,
                            const Tags& tags) {
    const std::string path = dir.MakeFile(relative, bytes);
    TagLib::FileRef file(path.c_str());
    if (file.isNull())
        return {};
    TagLib::PropertyMap properties;
    const auto set = [&](const char* key, const std::string& value) {
        if (!value.empty())
            properties.replace(key,
                               TagLib::StringList(TagLib::String(value, TagLib::String::UTF8)));
    };
    set("TITLE", tags.title);
    set("ARTIST", tags.artist);
    set("ALBUM", tags.album);
    set("TRACKNUMBER", tags.track);
    set("DISCNUMBER", tags.disc);
    set("DATE", tags.date);
    file.file()->setProperties(properties);
    return file.save() ? path : std::string();
}

}  // namespace morvane::test
