#pragma once
// Several workstations on one list (/shard K/N): each converts the part of
// the drawings that falls to it. A drawing's part depends only on the path
// of its result (its own path when the macro names no result), never on
// its place in the list: machines that list the same folders in other
// orders split them alike, and drawings that share a result share a part,
// where the run's check of results taken twice catches them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawings/drawing_record.h"
#include "platform/file_system.h"
#include "runlists/target_rules.h"

namespace tovimo {

struct RunShard {
    int part = 1;   // K, 1 to count
    int count = 1;  // N, 1 to MaxShards
};

constexpr int MaxShards = 1000;

// "K/N" in decimal digits, 1 <= K <= N <= MaxShards; nothing otherwise.
std::optional<RunShard> ParseRunShard(std::string_view text);

// FNV-1a, 64 bits.
std::uint64_t Fnv1a64(std::string_view bytes);

// The part (1 to count) a path falls in: FNV-1a over the file system's
// case-less key of the path (UTF-16LE), mod count, plus 1.
int PartOf(FileSystem& files, const std::string& path, int count);

// The drawings of shard.part, in the list's order. resultExtension: what
// AutoCAD adds to a target; none when the macro names no result.
std::vector<TFileName> DrawingsOfPart(FileSystem& files, const std::vector<TFileName>& drawings,
                                      const TargetRules& rules,
                                      std::optional<std::string_view> resultExtension,
                                      RunShard shard);

}  // namespace tovimo
