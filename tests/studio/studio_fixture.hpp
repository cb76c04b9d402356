// The studio's scenario fixture: the real plug-in in a host, a studio session on its folder, and
// requests sent as the page sends them.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "studio/studio_request.hpp"
#include "studio/studio_session.hpp"
#include "support/host_fixture.hpp"
#include "support/test_files.hpp"

namespace sqtest {

inline constexpr const char* kStudioTool = "Spindlequiver Tool";

class StudioTest : public HostTest {
 protected:
  void SetUp() override {
    // The label shows over hovered points.
    nlohmann::json section = {{"PVisible", {{"type", "boolean"}, {"value", true}}}};
    nlohmann::json file = {{"version", 1}, {"sections", {{"Spindlequiver", section}}}};
    writeFile(prefsFile(), file.dump());
    startHost();
    studio_ = std::make_unique<sqhost::studio::StudioSession>(session(), folder());
  }
  void TearDown() override {
    studio_.reset();
    HostTest::TearDown();
  }

  sqhost::studio::StudioSession& studio() { return *studio_; }

  // Sends a request as the page writes it; the reply to the page (null when none).
  nlohmann::json send(const nlohmann::json& request) {
    const auto parsed = sqhost::studio::parseRequest(request.dump());
    EXPECT_TRUE(parsed.request.has_value()) << request.dump() << ": " << parsed.error;
    if (!parsed.request) return nullptr;
    const std::string reply = studio().handle(*parsed.request);
    return reply.empty() ? nlohmann::json(nullptr) : nlohmann::json::parse(reply);
  }
  // The update for every page after a request.
  nlohmann::json update() { return nlohmann::json::parse(studio().update(0)); }

  // Writes an SVG file into the folder and opens it through the studio, with the view showing
  // SVG (x, y) at pixel (x, y): 400 x 400 at zoom 1.
  void open(const std::string& name, const std::string& svg) {
    writeFile(folder() / name, svg);
    const nlohmann::json reply = send({{"type", "open"}, {"file", name}});
    ASSERT_TRUE(reply.is_null()) << reply.dump();
    sqhost::View& v = *host().currentView();
    v.width = v.height = 400;
    v.zoom = 1;
    v.center = {200, -200};
    ASSERT_TRUE(send({{"type", "tool"}, {"name", kStudioTool}}).is_null());
  }
  nlohmann::json mouse(const char* action, double x, double y) {
    return send({{"type", "mouse"}, {"action", action}, {"x", x}, {"y", y}});
  }

  // The error message of a reply, or empty.
  static std::string errorOf(const nlohmann::json& reply) {
    if (!reply.is_object() || reply.value("type", "") != "error") return {};
    return reply.value("message", "");
  }

 private:
  std::unique_ptr<sqhost::studio::StudioSession> studio_;
};

}  // namespace sqtest
