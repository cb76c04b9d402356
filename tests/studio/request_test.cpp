// Reading the studio page's messages: every kind of request, and what is refused with which field.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sqsdk/messages.h"
#include "studio/studio_request.hpp"

namespace {

using sqhost::studio::parseRequest;
using sqhost::studio::Request;

Request parsed(const std::string& text) {
  const auto p = parseRequest(text);
  EXPECT_TRUE(p.request.has_value()) << text << ": " << p.error;
  return p.request.value_or(Request{});
}

// The error for text, which must name fragment.
void expectRefused(const std::string& text, const std::string& fragment) {
  const auto p = parseRequest(text);
  EXPECT_FALSE(p.request.has_value()) << text;
  EXPECT_NE(p.error.find(fragment), std::string::npos) << text << " -> " << p.error;
}

TEST(StudioRequest, ReadsEveryKindWithItsFields) {
  Request r = parsed(R"({"type":"mouse","seq":7,"action":"drag","x":10.5,"y":-3,)"
                     R"("modifiers":["shift","alt"]})");
  EXPECT_EQ(r.kind, Request::Kind::Mouse);
  EXPECT_EQ(r.seq, 7);
  EXPECT_EQ(r.action, "drag");
  EXPECT_DOUBLE_EQ(r.x, 10.5);
  EXPECT_DOUBLE_EQ(r.y, -3);
  EXPECT_EQ(r.modifiers, kAIShiftModifier | kAIAltModifier);

  r = parsed(R"({"type":"key","action":"down","key":"space"})");
  EXPECT_EQ(r.kind, Request::Kind::Key);
  EXPECT_EQ(r.name, "space");
  EXPECT_EQ(parsed(R"({"type":"key","action":"up","key":"Q"})").name, "Q");

  r = parsed(R"({"type":"view","zoom":2,"at":[100,50]})");
  EXPECT_EQ(r.action, "zoom");
  EXPECT_EQ(r.values, (std::vector<double>{2, 100, 50}));
  r = parsed(R"({"type":"view","size":[640,480.0]})");
  EXPECT_EQ(r.values, (std::vector<double>{640, 480}));
  EXPECT_TRUE(parsed(R"({"type":"view","fit":true})").flag);
  EXPECT_FALSE(parsed(R"({"type":"view","smartGuides":false})").flag);

  r = parsed(R"({"type":"dialog","dialog":"","action":"value","item":4,"number":-12.25})");
  EXPECT_EQ(r.kind, Request::Kind::Dialog);
  EXPECT_EQ(r.item, 4);
  EXPECT_DOUBLE_EQ(r.number, -12.25);
  EXPECT_DOUBLE_EQ(parsed(R"({"type":"dialog","dialog":"P","action":"key","item":3,)"
                          R"("key":"return"})")
                       .number,
                   13);
  EXPECT_EQ(parsed(R"({"type":"dialog","dialog":"alert","action":"cancel"})").name, "alert");

  r = parsed(R"({"type":"panel","dialog":"P","action":"move","bounds":[1,2,30,40]})");
  EXPECT_EQ(r.values, (std::vector<double>{1, 2, 30, 40}));
  EXPECT_DOUBLE_EQ(parsed(R"({"type":"flyout","action":"choose","index":3})").number, 3);
  EXPECT_EQ(parsed(R"({"type":"track","dialog":"P","item":9,"action":"down","x":3,"y":4})").item,
            9);

  EXPECT_FALSE(parsed(R"({"type":"save"})").hasFile);
  r = parsed(R"({"type":"save","file":"sub/a.svg"})");
  EXPECT_TRUE(r.hasFile);
  EXPECT_EQ(r.name, "sub/a.svg");
  for (const char* simple : {"hello", "undo", "redo", "files"}) {
    parsed(std::string(R"({"type":")") + simple + R"("})");
  }
}

TEST(StudioRequest, RefusesWhatIsNotARequestNamingTheField) {
  expectRefused(std::string(70 * 1024, ' '), "64 KiB");
  expectRefused("{\"type\":", "not JSON");
  expectRefused("[1,2]", "not a JSON object");
  expectRefused(R"({"seq":1})", "\"type\" is missing");
  expectRefused(R"({"type":"jump"})", "\"type\" is unknown");
  expectRefused(R"({"type":5})", "\"type\" must be a string");
  expectRefused(R"({"type":"hello","seq":"x"})", "\"seq\"");
  expectRefused(R"({"type":"hello","seq":1.5})", "\"seq\"");
  // Mouse: unknown actions, missing, mistyped and absurd coordinates, unknown modifiers.
  expectRefused(R"({"type":"mouse","action":"click","x":1,"y":2})", "\"action\"");
  expectRefused(R"({"type":"mouse","action":"move","x":1})", "\"y\" is missing");
  expectRefused(R"({"type":"mouse","action":"move","x":"1","y":2})", "\"x\" must be a number");
  expectRefused(R"({"type":"mouse","action":"move","x":1e300,"y":2})", "\"x\" must lie");
  expectRefused(R"({"type":"mouse","action":"move","x":1,"y":2,"modifiers":["cmd"]})",
                "\"modifiers\"");
  expectRefused(R"({"type":"mouse","action":"move","x":1,"y":2,"modifiers":"shift"})",
                "\"modifiers\"");
  // Keys: only the named ones and single letters.
  expectRefused(R"({"type":"key","action":"down","key":"f1"})", "\"key\"");
  expectRefused(R"({"type":"key","action":"down","key":"1"})", "\"key\"");
  expectRefused(R"({"type":"key","action":"press","key":"c"})", "\"action\"");
  // View: one setting at a time, sizes and zooms in range.
  expectRefused(R"({"type":"view"})", "\"size\" is missing");
  expectRefused(R"({"type":"view","zoom":2,"grid":true})", "another view setting");
  expectRefused(R"({"type":"view","size":[0,100]})", "\"size[0]\"");
  expectRefused(R"({"type":"view","size":[100000,100]})", "\"size[0]\"");
  expectRefused(R"({"type":"view","size":[100]})", "\"size\" must be an array of 2");
  expectRefused(R"({"type":"view","zoom":0})", "\"zoom\" must lie");
  expectRefused(R"({"type":"view","zoom":1000})", "\"zoom\" must lie");
  expectRefused(R"({"type":"view","zoom":2,"at":[1,null]})", "\"at[1]\"");
  expectRefused(R"({"type":"view","fit":false})", "\"fit\" must be true");
  expectRefused(R"({"type":"view","grid":1})", "\"grid\" must be true or false");
  // Dialogs: items are ids from 0, values finite, texts bounded.
  expectRefused(R"({"type":"dialog","dialog":"P","action":"press","item":-1})", "\"item\"");
  expectRefused(R"({"type":"dialog","dialog":"P","action":"press"})", "\"item\" is missing");
  expectRefused(R"({"type":"dialog","dialog":"P","action":"check","item":1,"number":2})",
                "\"number\"");
  expectRefused(R"({"type":"dialog","dialog":"P","action":"choose","item":1,"number":1.5})",
                "\"number\" must be a whole number");
  expectRefused(R"({"type":"dialog","dialog":"P","action":"key","item":1,"key":"f2"})", "\"key\"");
  expectRefused(R"({"type":"dialog","dialog":"P","action":"text","item":1,"text":")" +
                    std::string(5000, 'a') + "\"}",
                "\"text\" is too long");
  expectRefused(R"({"type":"dialog","action":"cancel"})", "\"dialog\" is missing");
  // Panels, flyouts, tools and files.
  expectRefused(R"({"type":"panel","dialog":"P","action":"move","bounds":[10,0,5,5]})", "inverted");
  expectRefused(R"({"type":"flyout","action":"choose","index":-1})", "\"index\"");
  expectRefused(R"({"type":"tool","name":""})", "\"name\" must not be empty");
  expectRefused(R"({"type":"tool","name":")" + std::string(300, 'x') + "\"}", "too long");
  expectRefused(R"({"type":"open"})", "\"file\" is missing");
  expectRefused(R"({"type":"save","file":7})", "\"file\" must be a string");
  expectRefused(R"({"type":"edges","show":"yes"})", "\"show\"");
}

TEST(StudioRequest, ErrorsEchoTheSeqAndAreJson) {
  const auto p = parseRequest(R"({"type":"mouse","seq":42,"action":"move"})");
  EXPECT_FALSE(p.request);
  EXPECT_EQ(p.seq, 42);
  // Bytes that are not UTF-8 in a message are replaced, never a broken reply.
  const std::string reply = sqhost::studio::errorReply(42, "bad \xFF byte");
  EXPECT_EQ(reply.rfind(R"({"message":"bad )", 0), 0u) << reply;
  EXPECT_NE(reply.find(R"("seq":42)"), std::string::npos);
  EXPECT_NE(reply.find(R"("type":"error")"), std::string::npos);
}

}  // namespace
