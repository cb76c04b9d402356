// libFuzzer target for the studio page's messages: whatever the bytes, reading never throws or
// crashes; a message gives a request or an error naming what is wrong, never both; a request's
// numbers are finite and in the ranges the host accepts; the error reply is valid JSON; and a file
// name that resolves stays inside the folder.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "studio/studio_request.hpp"
#include "studio/studio_session.hpp"

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

void checkRequest(const sqhost::studio::Request& r) {
  using K = sqhost::studio::Request::Kind;
  require(std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.number));
  require(std::abs(r.x) <= 1e6 && std::abs(r.y) <= 1e6);
  for (double v : r.values) require(std::isfinite(v));
  require((r.modifiers & ~0xE0) == 0);
  require(r.item >= 0);
  if (r.kind == K::View && r.action == "size") {
    require(r.values.size() == 2 && r.values[0] >= 1 && r.values[1] <= 8192);
  }
  if (r.kind == K::View && r.action == "zoom") {
    require(!r.values.empty() && r.values[0] >= 1.0 / 32 && r.values[0] <= 64);
  }
  if (r.kind == K::Panel && r.action == "move") {
    require(r.values.size() == 4 && r.values[2] >= r.values[0] && r.values[3] >= r.values[1]);
  }
  if (r.kind == K::Open) require(!r.name.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const sqhost::studio::ParsedRequest parsed = sqhost::studio::parseRequest(text);
  require(parsed.request.has_value() != !parsed.error.empty());
  if (parsed.request) {
    checkRequest(*parsed.request);
    require(parsed.request->seq == parsed.seq);
    // A file name either resolves inside the folder or is refused with a reason.
    if (parsed.request->hasFile) {
      const std::filesystem::path root = "/nonexistent-studio-root";
      std::string error;
      const auto path = sqhost::studio::resolveInRoot(root, parsed.request->name, error);
      if (path) {
        const auto relative = path->lexically_relative(root);
        require(!relative.empty() && *relative.begin() != "..");
      } else {
        require(!error.empty());
      }
    }
  } else {
    const std::string reply = sqhost::studio::errorReply(parsed.seq, parsed.error);
    require(nlohmann::json::accept(reply));
  }
  return 0;
}
