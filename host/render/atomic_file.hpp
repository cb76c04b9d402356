// Replacing a file's contents all at once: a temporary file in the same folder, then a rename.
#pragma once

#include <filesystem>
#include <span>
#include <string>

namespace sqhost::render {

// Writes bytes to a temporary file beside target, flushes it and renames it over target, so a
// reader sees either the old file or the whole new one. On failure the temporary file is removed,
// an existing target is left untouched and the message names the step and the reason; on success
// the message is empty. A replaced file keeps its permissions.
std::string writeFileAtomically(const std::filesystem::path& target,
                                std::span<const unsigned char> bytes);

}  // namespace sqhost::render
