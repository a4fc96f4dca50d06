#include "editor/recovery/recovery_shelf.h"
#include "bank/file_path.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace voxtane::editor {
namespace {

namespace fs = std::filesystem;

constexpr const char* kFirstLine = "Voxtane shelved bank 1";
constexpr const char* kExtension = ".vxs";
constexpr std::uintmax_t kLargestEntry = 1u << 20;

bool ReadLine(std::string_view& text, const std::string& key, std::string& value) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos || text.substr(0, key.size() + 1) != key + "=") return false;
    value = std::string(text.substr(key.size() + 1, end - key.size() - 1));
    text.remove_prefix(end + 1);
    return true;
}

std::string ReadSmallFile(const fs::path& path) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > kLargestEntry) return {};
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

std::int64_t MillisecondsNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string EncodeShelvedBank(const ShelvedBank& entry) {
    std::string replacedBy = entry.replacedBy;
    std::replace(replacedBy.begin(), replacedBy.end(), '\n', ' ');
    return std::string(kFirstLine) + "\ntime=" + std::to_string(entry.time) +
           "\nreplaced-by=" + replacedBy + "\n" + EncodeRecoveryCopy(entry.bank);
}

std::optional<ShelvedBank> DecodeShelvedBank(const std::string& text) {
    std::string_view rest(text);
    const std::string first = std::string(kFirstLine) + "\n";
    if (rest.substr(0, first.size()) != first) return std::nullopt;
    rest.remove_prefix(first.size());
    ShelvedBank entry;
    std::string time;
    if (!ReadLine(rest, "time", time) || time.empty() || time.size() > 18 ||
        time.find_first_not_of("0123456789") != std::string::npos ||
        !ReadLine(rest, "replaced-by", entry.replacedBy))
        return std::nullopt;
    entry.time = std::stoll(time);
    std::optional<RecoveryCopy> bank = DecodeRecoveryCopy(std::string(rest));
    if (!bank) return std::nullopt;
    entry.bank = std::move(*bank);
    return entry;
}

std::string Describe(const ShelvedBank& entry) {
    const std::time_t seconds = static_cast<std::time_t>(entry.time / 1000);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
    std::string names;
    const int shown = std::clamp(entry.bank.patchCount, 1, kBankSlots);
    for (int i = 0; i < shown; ++i) names += (i == 0 ? "" : ", ") + entry.bank.names[i];
    return std::string(when) + ", replaced by " + entry.replacedBy + ": " + names;
}

RecoveryShelf::RecoveryShelf(std::string dataFolder) : dataFolder_(std::move(dataFolder)) {}

std::string RecoveryShelf::Folder() const {
    return dataFolder_.empty() ? std::string() : Utf8FromPath(PathFromUtf8(dataFolder_) / "shelf");
}

std::vector<std::string> RecoveryShelf::EntryFiles() const {
    std::vector<std::string> files;
    std::error_code ec;
    if (Folder().empty()) return files;
    for (fs::directory_iterator it(PathFromUtf8(Folder()), ec), end; !ec && it != end;
         it.increment(ec))
        if (it->path().extension() == kExtension) files.push_back(Utf8FromPath(it->path()));
    // Names begin with the time in fixed width: their order is the order of time.
    std::sort(files.begin(), files.end());
    return files;
}

void RecoveryShelf::Put(const RecoveryCopy& bank, const std::string& replacedBy, std::int64_t time,
                        CopyWriter& writer) const {
    if (Folder().empty()) return;
    // Within one millisecond the order of putting counts; another editor's entries are told
    // apart by chance.
    static std::atomic<unsigned> sequence{0};
    std::random_device random;
    char name[64];
    std::snprintf(name, sizeof name, "%015lld-%06u-%08x%s", static_cast<long long>(time),
                  sequence++ % 1000000u, static_cast<unsigned>(random()), kExtension);
    writer.Store(Utf8FromPath(PathFromUtf8(Folder()) / name),
                 EncodeShelvedBank({time, replacedBy, bank, {}}));
    const std::vector<std::string> files = EntryFiles();
    const std::size_t kept = kKept - 1;  // beside the one just put
    for (std::size_t i = 0; i + kept < files.size(); ++i) writer.Remove(files[i]);
}

std::vector<ShelvedBank> RecoveryShelf::List() const {
    std::vector<ShelvedBank> entries;
    const std::vector<std::string> files = EntryFiles();
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        if (std::optional<ShelvedBank> entry =
                DecodeShelvedBank(ReadSmallFile(PathFromUtf8(*file)))) {
            entry->path = *file;
            entries.push_back(std::move(*entry));
        }
        if (entries.size() == static_cast<std::size_t>(kKept)) break;
    }
    return entries;
}

}  // namespace voxtane::editor
