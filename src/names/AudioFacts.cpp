// Music tags through TagLib, from bytes in memory, so the file is read through the
// file-system seam like every other.

#include <taglib/fileref.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tpropertymap.h>

#include "names/FileFacts.h"

namespace morvane {
namespace {

std::string Text(const TagLib::String& text) {
    return text.to8Bit(true);
}

// "3" or "3/12": the number before the slash.
unsigned Leading(const TagLib::PropertyMap& properties, const char* key) {
    const auto found = properties.find(key);
    if (found == properties.end() || found->second.isEmpty())
        return 0;
    const std::string value = Text(found->second.front());
    unsigned n = 0;
    for (const char c : value) {
        if (c < '0' || c > '9' || n > 100000)
            break;
        n = n * 10 + static_cast<unsigned>(c - '0');
    }
    return n;
}

}  // namespace

bool ReadAudioFacts(const std::string& start, const std::string& end, AudioFacts* facts) {
    if (start.empty())
        return false;
    try {
        // The end put right after the start: where TagLib looks for an ID3v1 tag, 128 bytes
        // before the end of the stream, it finds the file's own last bytes.
        TagLib::ByteVector bytes(start.data(), static_cast<unsigned>(start.size()));
        bytes.append(TagLib::ByteVector(end.data(), static_cast<unsigned>(end.size())));
        TagLib::ByteVectorStream stream(bytes);
        // By content: the stream has no name to go by.
        const TagLib::FileRef file(&stream, false);
        if (file.isNull() || file.tag() == nullptr)
            return false;
        const TagLib::Tag* tag = file.tag();
        facts->title = Text(tag->title());
        facts->artist = Text(tag->artist());
        facts->album = Text(tag->album());
        facts->track = tag->track();
        facts->year = tag->year();
        facts->disc = Leading(file.file()->properties(), "DISCNUMBER");
        return !tag->isEmpty() || facts->disc != 0;
    } catch (...) {
        // TagLib does not throw, but memory can run out on a hostile length.
        return false;
    }
}

}  // namespace morvane
