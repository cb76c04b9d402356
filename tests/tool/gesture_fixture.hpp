// The fixtures of the tool's gesture tests: whole gestures sent to the tool's handlers linked into
// the test, with the state record at hand between the steps, and gestures played through the real
// plug-in in a host.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "dialogs/dialog_manager.hpp"
#include "geometry/point_table.hpp"
#include "support/host_fixture.hpp"
#include "tool/release_fixture.hpp"

namespace sqtest {

inline constexpr int32_t kCtrl = 0x40;

// SVG (x, y) is artwork (x, -y).
inline AIRealPoint At(float x, float y) {
  return {x, -y};
}
inline bool Near(AIRealPoint a, AIRealPoint b, double tolerance = 1e-3) {
  return std::abs(a.h - b.h) <= tolerance && std::abs(a.v - b.v) <= tolerance;
}
inline double LengthOf(AIRealPoint from, AIRealPoint to) {
  return std::hypot(static_cast<double>(to.h) - from.h, static_cast<double>(to.v) - from.v);
}
inline double AngleOf(AIRealPoint from, AIRealPoint to) {
  return std::atan2(static_cast<double>(to.v) - from.v, static_cast<double>(to.h) - from.h);
}
// Every coordinate of every segment is finite.
inline bool AllFinite(const std::vector<AIPathSegment>& segments) {
  for (const AIPathSegment& g : segments) {
    for (float f : {g.p.h, g.p.v, g.in.h, g.in.v, g.out.h, g.out.v}) {
      if (!std::isfinite(f)) return false;
    }
  }
  return true;
}

// Presses, drag steps and releases at SVG pixels, sent to the tool's handlers inside the undo
// context the host opens for a gesture.
class ToolGestureTest : public ReleaseTest {
 protected:
  void press(float x, float y, int32_t modifiers = 0) {
    sqhost::UndoManager& undo = plugin.host().undo();
    if (undo.inContext()) undo.endContext();
    undo.beginContext("Tool");
    send(sq::onMouseDown, x, y, modifiers);
    undo.markGestureStart();
  }
  void drag(float x, float y, int32_t modifiers = 0) { send(sq::onMouseDrag, x, y, modifiers); }
  // Releases the button and undoes the gesture: the document is back at `before`.
  void releaseAndUndo(float x, float y, const std::string& before) {
    send(sq::onMouseUp, x, y, 0);
    plugin.host().undo().endContext();
    ASSERT_TRUE(plugin.host().undo().undo());
    EXPECT_EQ(document(), before);
  }

  // Keeps handles of a point in the point table, as a marquee over them does.
  void keepShown(const std::string& name, int index, bool in, bool out) {
    ASSERT_TRUE(sq::addEntry(s, plugin.art(name), index,
                             segment(name, static_cast<std::size_t>(index)), in, out));
  }
  std::vector<AIPathSegment> segments(const std::string& name) {
    const auto span = path(name).segments();
    return {span.begin(), span.end()};
  }
  bool allFinite(const std::string& name) { return AllFinite(segments(name)); }

 private:
  void send(AIErr (*handler)(void*), float x, float y, int32_t modifiers) {
    plugin.host().dialogs().setEventModifiers(modifiers);
    event_ = AIEvent{};
    event_.modifiers = modifiers;
    AIToolMessage message{};
    message.d.self = plugin.pluginRef();
    message.cursor = {x, -y};
    message.event = &event_;
    handler(&message);
  }
  AIEvent event_{};
};

// Gestures through the real plug-in in a host, with the info panel shown.
class SessionGestureTest : public HostTest {
 protected:
  // Opens the document with these settings (and a host script run before the tool is chosen).
  void start(const std::string& svg, const std::map<std::string, bool>& settings = {},
             const std::string& script = "") {
    nlohmann::json section = {{"PVisible", {{"type", "boolean"}, {"value", true}}}};
    for (const auto& [key, value] : settings) {
      section[key] = {{"type", "boolean"}, {"value", value}};
    }
    nlohmann::json file = {{"version", 1}, {"sections", {{"Spindlequiver", section}}}};
    writeFile(prefsFile(), file.dump());
    startHost();
    driver().open(svg);
    if (!script.empty()) {
      ASSERT_TRUE(driver().run(script));
    }
    ASSERT_TRUE(driver().chooseTool("Spindlequiver Tool"));
    before = document();
  }

  const sqhost::Art& art(const std::string& name) {
    const sqhost::Document& doc = *host().currentDocument();
    for (std::size_t l = 0; l < doc.layerCount(); ++l) {
      const sqhost::Art& layer = doc.layer(l).group();
      for (std::size_t c = 0; c < layer.childCount(); ++c) {
        if (layer.child(c).name() == name) return layer.child(c);
      }
    }
    ADD_FAILURE() << "no path " << name;
    return doc.layer(0).group();
  }
  AIPathSegment segment(const std::string& name, std::size_t i) {
    return art(name).path().segment(i);
  }
  std::string document() { return sqhost::svg::exportSvg(*host().currentDocument()); }

  // Releases the button and undoes the gesture: the document is back as it was opened.
  void releaseAndUndo(float x, float y) {
    ASSERT_TRUE(driver().release(x, y));
    ASSERT_TRUE(driver().run("undo"));
    EXPECT_EQ(document(), before);
  }
  std::string modeLine() {
    sqhost::DialogManager& dialogs = host().dialogs();
    sqhost::Dialog* panel = dialogs.findDialog("SpindlequiverInfoDialog");
    if (panel == nullptr || panel->findItem(53) == nullptr) return "(no panel)";
    return dialogs.itemText(*panel->findItem(53));
  }

  std::string before;
};

}  // namespace sqtest
