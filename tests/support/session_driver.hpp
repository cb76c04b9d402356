// The session driver: SVG text opened, mouse and keys, painting, scripts and the report.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/host.hpp"
#include "script/script_parser.hpp"
#include "session/session.hpp"
#include "svg/svg_io.hpp"

namespace sqtest {

// Points are given in SVG coordinates. Documents opened here have a view of 400 x 400 pixels at
// zoom 1 with SVG (0, 0) at its top-left corner, so SVG (x, y) is artwork (x, -y) and view pixel
// (x, y).
class SessionDriver {
 public:
  explicit SessionDriver(sqhost::Session& session) : session_(session) {}

  sqhost::Host& host() { return session_.host(); }

  // Opens a document as the current one: a whole SVG document, or the contents of a 400 x 400
  // one with the namespaces of links, node types and the host's own attributes.
  void open(const std::string& svg) {
    const std::string text = isWholeDocument(svg) ? svg : wrap(svg);
    auto imported = sqhost::svg::importSvg(text);
    ASSERT_TRUE(imported.ok()) << imported.error;
    host().openDocument(std::move(*imported.document));
    sqhost::View& v = *host().currentView();
    v.width = v.height = 400;
    v.zoom = 1;
    v.center = {200, -200};
  }

  // The user's input, handled at once; false (with the line noted) when the host refuses it.
  bool chooseTool(const std::string& name) {
    sqhost::Event e = event(sqhost::Event::Kind::Tool);
    e.text = name;
    return host().handleEvent(e);
  }
  bool move(float x, float y, int32_t modifiers = 0) {
    return mouse(sqhost::Event::Kind::MouseMove, x, y, modifiers);
  }
  bool press(float x, float y, int32_t modifiers = 0) {
    return mouse(sqhost::Event::Kind::MouseDown, x, y, modifiers);
  }
  bool drag(float x, float y, int32_t modifiers = 0) {
    return mouse(sqhost::Event::Kind::MouseDrag, x, y, modifiers);
  }
  bool release(float x, float y, int32_t modifiers = 0) {
    return mouse(sqhost::Event::Kind::MouseUp, x, y, modifiers);
  }
  bool key(bool down, int32_t code) {
    sqhost::Event e = event(down ? sqhost::Event::Kind::KeyDown : sqhost::Event::Kind::KeyUp);
    e.item = code;
    return host().handleEvent(e);
  }

  // What the annotators draw when the whole current view is painted.
  sqhost::DisplayList paint() { return host().paintAnnotations(*host().currentView(), true); }

  // Runs script lines in the session; false when one of them failed.
  bool run(const std::string& script) {
    const sqhost::ParsedScript parsed = sqhost::parseScript(script);
    EXPECT_TRUE(parsed.ok()) << parsed.error;
    return parsed.ok() && session_.run(parsed.steps);
  }

  // The session's report; taking it moves its marks.
  nlohmann::json report() { return session_.report(); }

  // The resource id of the cursor the plug-in set last, -1 before any.
  int32_t cursor() const {
    const auto& c = session_.host().cursor();
    return c ? c->id : -1;
  }

  // The rectangles the plug-in invalidated in the current view since the last call (or report).
  std::vector<AIRect> invalidated() {
    std::vector<AIRect> log = host().currentView()->invalidationLog;
    host().clearInvalidationLogs();
    return log;
  }

 private:
  static bool isWholeDocument(const std::string& svg) {
    const auto first = svg.find_first_not_of(" \t\r\n");
    return first != std::string::npos &&
           (svg.compare(first, 4, "<svg") == 0 || svg.compare(first, 5, "<?xml") == 0);
  }
  static std::string wrap(const std::string& body) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
           "xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" "
           "xmlns:sq=\"urn:spindlequiver:host\" viewBox=\"0 0 400 400\">" +
           body + "</svg>";
  }
  static sqhost::Event event(sqhost::Event::Kind kind) {
    sqhost::Event e;
    e.kind = kind;
    return e;
  }
  bool mouse(sqhost::Event::Kind kind, float x, float y, int32_t modifiers) {
    sqhost::Event e = event(kind);
    e.point = {x, -y};
    e.modifiers = modifiers;
    return host().handleEvent(e);
  }

  sqhost::Session& session_;
};

}  // namespace sqtest
