#pragma once
// What the name steps read of a row's file: its modification time, a photo's EXIF, a music
// file's tags. Each is read once, when a step first asks, and only through the file-system
// seam: a bounded prefix of a regular file, handed to the library from memory, so a FIFO, a
// device or a huge file never holds up the window.

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace morvane {

class FileSystem;

struct PhotoFacts {
    std::string dateOriginal;                 // "YYYY:MM:DD HH:MM:SS", empty when absent
    std::map<std::string, std::string> exif;  // by tag name ("Model", "FNumber"), as text
    long width = 0;                           // pixels, 0 when unknown
    long height = 0;
};

struct AudioFacts {
    std::string title;
    std::string artist;
    std::string album;
    unsigned track = 0;  // 0 when absent
    unsigned disc = 0;
    unsigned year = 0;
};

class FileFacts {
public:
    FileFacts(FileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
    FileFacts(const FileFacts&) = delete;
    FileFacts& operator=(const FileFacts&) = delete;

    // A photo's metadata is in its first segments, a music file's tags at its start (cover
    // pictures make them large).
    static constexpr std::uint64_t kPhotoPrefix = 256u << 10;
    static constexpr std::uint64_t kAudioPrefix = 2u << 20;
    // An ID3v1 tag is the last 128 bytes of an MP3, past the prefix of a long one.
    static constexpr std::size_t kTagTail = 128;

    const std::string& Path() const { return path_; }
    // The last write, seconds since the epoch; nothing when the path is gone. Asked of the
    // file system unless the caller knew it already (SetModified).
    std::optional<std::int64_t> Modified();
    void SetModified(std::int64_t seconds) { modified_.emplace(seconds); }
    // Null when the file cannot be read or holds no EXIF; ReadError() says which.
    const PhotoFacts* Photo();
    // Null when the file cannot be read or holds no tags TagLib knows.
    const AudioFacts* Audio();
    // Why the file could not be read (strerror text), empty when it was.
    const std::string& ReadError() const { return readError_; }
    // Asked after Audio() gave nothing: the file is longer than what was read of it, so
    // tags may lie in the part never read (an ID3v2 tag with a large cover, say).
    bool TagsMayBeUnread() const { return audioCut_; }

private:
    bool ReadStart(std::uint64_t maxBytes);

    FileSystem& fs_;
    std::string path_;
    std::string bytes_;  // the prefix read so far
    std::uint64_t asked_ = 0;
    std::uint64_t size_ = 0;  // of the whole file, as the prefix was read
    bool audioCut_ = false;
    std::string readError_;
    std::optional<std::optional<std::int64_t>> modified_;
    std::optional<std::optional<PhotoFacts>> photo_;
    std::optional<std::optional<AudioFacts>> audio_;
};

// From the bytes of a file's start (and for music, when the file is longer, its last bytes,
// read as if they followed the start); false when they hold no metadata the library reads.
// Never throws.
bool ReadPhotoFacts(const std::string& bytes, PhotoFacts* facts);
bool ReadAudioFacts(const std::string& start, const std::string& end, AudioFacts* facts);

}  // namespace morvane
