#include "console/run_shard.h"

#include "convert/result_check.h"
#include "runlists/target_path.h"

namespace tovimo {

namespace {

// Decimal digits only: no sign, no blank. Nothing when empty or too long to
// be a part.
std::optional<int> ParseCount(std::string_view digits) {
    if (digits.empty() || digits.size() > 4) return std::nullopt;
    int value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::optional<RunShard> ParseRunShard(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::optional<int> part = ParseCount(text.substr(0, slash));
    const std::optional<int> count = ParseCount(text.substr(slash + 1));
    if (!part || !count || *part < 1 || *part > *count || *count > MaxShards) return std::nullopt;
    return RunShard{*part, *count};
}

std::uint64_t Fnv1a64(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

int PartOf(FileSystem& files, const std::string& path, int count) {
    return static_cast<int>(Fnv1a64(files.PathKey(path)) % static_cast<std::uint64_t>(count)) + 1;
}

std::vector<TFileName> DrawingsOfPart(FileSystem& files, const std::vector<TFileName>& drawings,
                                      const TargetRules& rules,
                                      std::optional<std::string_view> resultExtension,
                                      RunShard shard) {
    std::vector<TFileName> part;
    for (const TFileName& drawing : drawings) {
        std::string key = drawing.FullPath;
        if (resultExtension) {
            // The target the run lists give this drawing, without making its folder.
            const std::vector<std::string> targets{TargetInFolder(
                TargetFolder(OutputFolderBase(rules.SaveDir), drawing.SubDir), drawing.FullPath)};
            key = ExpectedResultPath(SaveFileTarget(rules, drawing.FullPath, 0, targets),
                                     *resultExtension);
        }
        if (PartOf(files, key, shard.count) == shard.part) part.push_back(drawing);
    }
    return part;
}

}  // namespace tovimo
