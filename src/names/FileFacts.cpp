#include "names/FileFacts.h"

#include <cstring>

#include "platform/FileSystem.h"

namespace morvane {

std::optional<std::int64_t> FileFacts::Modified() {
    if (!modified_) {
        modified_.emplace();
        if (const auto info = fs_.Find(path_))
            *modified_ = info->mtimeSec;
    }
    return *modified_;
}

bool FileFacts::ReadStart(std::uint64_t maxBytes) {
    // Asked before for as much, or the whole file was shorter than what was asked then.
    const bool whole = asked_ > 0 && bytes_.size() < asked_;
    if (asked_ >= maxBytes || whole || !readError_.empty())
        return readError_.empty();
    asked_ = maxBytes;
    const FsStatus read =
        fs_.ReadFileStart(path_, static_cast<std::size_t>(maxBytes), &bytes_, &size_);
    if (!read.Ok())
        readError_ = std::strerror(read.error);
    return read.Ok();
}

const PhotoFacts* FileFacts::Photo() {
    if (!photo_) {
        photo_.emplace();
        PhotoFacts facts;
        if (ReadStart(kPhotoPrefix) && ReadPhotoFacts(bytes_, &facts))
            *photo_ = std::move(facts);
    }
    return photo_->has_value() ? &**photo_ : nullptr;
}

const AudioFacts* FileFacts::Audio() {
    if (!audio_) {
        audio_.emplace();
        AudioFacts facts;
        if (ReadStart(kAudioPrefix)) {
            std::string tail;
            std::uint64_t size = 0;
            const bool cut = size_ > bytes_.size();
            // A failed look at the end leaves the start alone to be read.
            if (cut && !fs_.ReadFileEnd(path_, kTagTail, &tail, &size).Ok())
                tail.clear();
            if (ReadAudioFacts(bytes_, tail, &facts))
                *audio_ = std::move(facts);
            else
                audioCut_ = cut;
        }
    }
    return audio_->has_value() ? &**audio_ : nullptr;
}

}  // namespace morvane
