#pragma once
// The order in which the dropped (or named) paths are taken: sorted without
// regard to letter case. On Windows this is the user locale's collation
// (CompareStringA with NORM_IGNORECASE); the portable rule below stands in
// for it where there is no Windows.
#include <string>
#include <string_view>
#include <vector>

namespace tovimo {

class TextOrder {
public:
    virtual ~TextOrder() = default;
    // Below 0 when a sorts before b, 0 when they are equal in this order,
    // above 0 when a sorts after b.
    virtual int Compare(std::string_view a, std::string_view b) const = 0;
};

// Character by character: the letters A to Z as a to z, every other
// character by its code in code page 932 (a double-byte character by its
// two bytes, so never split). Shorter texts sort before longer ones that
// begin with them.
class Cp932IgnoreCaseOrder : public TextOrder {
public:
    int Compare(std::string_view a, std::string_view b) const override;
};

// Sorts paths by order. Paths that the order holds equal (the same path
// twice, or spelt in other letter case) keep the order they came in.
void SortPaths(std::vector<std::string>& paths, const TextOrder& order);

}  // namespace tovimo
