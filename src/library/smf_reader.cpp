#include "library/smf_reader.h"

#include <cstring>
#include <optional>

namespace voxtane::library {
namespace {

constexpr std::size_t kChunkHeader = 8;

std::uint32_t BigEndian32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | std::uint32_t{bytes[at + 3]};
}

class TrackReader {
  public:
    TrackReader(std::span<const std::uint8_t> track, std::vector<std::uint8_t>& out)
        : track_(track), out_(out) {}

    // Reads the whole track; the text says what ended it early.
    std::string Read() {
        while (at_ < track_.size()) {
            if (!VariableLength()) return "a delta time runs past the track";
            if (at_ >= track_.size()) return "a delta time without its event";
            const std::uint8_t first = track_[at_];
            std::uint8_t status = first;
            if (first >= 0x80) {
                ++at_;
            } else if (running_ == 0) {
                return "a data byte without a status";
            } else {
                status = running_;
            }
            if (status == 0xFF) {
                running_ = 0;
                if (at_ >= track_.size()) return "a meta event is cut";
                ++at_;  // its type
                if (!Skip()) return "a meta event runs past the track";
            } else if (status == 0xF0 || status == 0xF7) {
                running_ = 0;
                const auto length = VariableLength();
                if (!length || *length > track_.size() - at_)
                    return "a SysEx event runs past the track";
                if (status == 0xF0) out_.push_back(0xF0);
                out_.insert(out_.end(), track_.begin() + static_cast<std::ptrdiff_t>(at_),
                            track_.begin() + static_cast<std::ptrdiff_t>(at_ + *length));
                at_ += *length;
            } else if (status >= 0xF0) {
                return "a status byte that a MIDI file cannot hold";
            } else {
                running_ = status;
                const std::size_t data = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
                if (data > track_.size() - at_) return "a channel event is cut";
                at_ += data;
            }
        }
        return {};
    }

  private:
    // A number of up to four 7-bit groups, the last without its top bit.
    std::optional<std::size_t> VariableLength() {
        std::size_t value = 0;
        for (int i = 0; i < 4; ++i) {
            if (at_ >= track_.size()) return std::nullopt;
            const std::uint8_t byte = track_[at_++];
            value = (value << 7) | (byte & 0x7F);
            if ((byte & 0x80) == 0) return value;
        }
        return std::nullopt;
    }

    bool Skip() {
        const auto length = VariableLength();
        if (!length || *length > track_.size() - at_) return false;
        at_ += *length;
        return true;
    }

    std::span<const std::uint8_t> track_;
    std::vector<std::uint8_t>& out_;
    std::size_t at_ = 0;
    std::uint8_t running_ = 0;
};

}  // namespace

bool LooksLikeSmf(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 14 && std::memcmp(bytes.data(), "MThd", 4) == 0 &&
           BigEndian32(bytes, 4) >= 6;
}

SmfSysex ExtractSmfSysex(std::span<const std::uint8_t> bytes) {
    SmfSysex result;
    if (!LooksLikeSmf(bytes)) {
        result.problem = "not a MIDI file";
        return result;
    }
    std::size_t at = kChunkHeader + BigEndian32(bytes, 4);
    while (at <= bytes.size() && bytes.size() - at >= kChunkHeader) {
        const std::size_t length = BigEndian32(bytes, at + 4);
        const bool isTrack = std::memcmp(bytes.data() + at, "MTrk", 4) == 0;
        at += kChunkHeader;
        const std::size_t available = bytes.size() - at;
        if (isTrack) {
            ++result.tracks;
            TrackReader reader(bytes.subspan(at, std::min(length, available)), result.stream);
            std::string problem = reader.Read();
            if (length > available && problem.empty()) problem = "the last track is cut";
            if (result.problem.empty()) result.problem = std::move(problem);
        }
        if (length > available) break;
        at += length;
    }
    return result;
}

}  // namespace voxtane::library
