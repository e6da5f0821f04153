#pragma once
// Whole small text files that the programs read and write themselves (the
// lists of drawings of TovimoCmd), byte for byte, without any conversion.
#include <optional>
#include <string>

namespace tovimo {

class TextFiles {
public:
    virtual ~TextFiles() = default;
    // The file's bytes; empty when it is missing or cannot be read.
    virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
    // Makes or replaces the file with exactly these bytes, whole or not at
    // all: an earlier file stays as it was when the write fails or the
    // program ends half-way. False when it failed.
    virtual bool WriteAll(const std::string& path, const std::string& content) = 0;
    // Adds these bytes at the end of the file; false when that failed. The
    // file is closed again before it returns, so what was written stays
    // whatever becomes of the program afterwards.
    virtual bool Append(const std::string& path, const std::string& content) = 0;
    // Code page 932 text as UTF-8, for files that other programs read in
    // UTF-8 (MultiByteToWideChar, then WideCharToMultiByte).
    virtual std::string Cp932ToUtf8(const std::string& text) = 0;
};

}  // namespace tovimo
