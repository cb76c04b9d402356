// Replacing a file's contents all at once, for every file the host writes.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace sqhost::io {

// Writes bytes to a temporary file in the target's folder, flushes it to disk, renames it over
// the target and flushes the folder, so a reader sees either the old file or the whole new one,
// also after a crash. A replaced file keeps its permissions (and, where allowed, its owner and
// group). A symbolic link is written through: the link stays, the file it points at gets the
// contents. The folder must exist.
//
// The temporary file is named ".<name>.tmp-" and six random letters or digits, beside the file
// (or the file a link leads to). A successful write then removes the temporaries that
// interrupted writes of the same file left there: regular files of exactly that pattern for that
// name, owned by the user, that no write in progress holds. Nothing else is touched.
//
// Returns an empty string on success. On failure the existing file is untouched, no temporary
// file is left behind, and the message reads "cannot save <target>: <what went wrong>".
std::string writeFileAtomically(const std::filesystem::path& target,
                                std::span<const unsigned char> bytes);

inline std::string writeFileAtomically(const std::filesystem::path& target, std::string_view text) {
  return writeFileAtomically(
      target, std::span(reinterpret_cast<const unsigned char*>(text.data()), text.size()));
}

}  // namespace sqhost::io
