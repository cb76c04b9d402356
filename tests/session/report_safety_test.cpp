// Strings from outside that are not UTF-8: the report writes them as valid JSON, the saver
// keeps the file's own bytes, and the host never writes such text of its own into a file.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "session/report.hpp"
#include "sqsdk/errors.h"
#include "sqsdk/suites/ai_layer.h"
#include "support/host_fixture.hpp"

namespace {

using nlohmann::json;

// An id, a layer name and a text with bytes that are not UTF-8 (a lone continuation byte, a
// truncated sequence and a byte that never occurs in UTF-8).
const std::string kDrawing =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" "
    "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" viewBox=\"0 0 400 400\">\n"
    "<g inkscape:groupmode=\"layer\" id=\"layer1\" inkscape:label=\"Ink\xC3\">\n"
    "<path id=\"p\x80q\" d=\"M 10 10 L 100 100\"/>\n"
    "<text x=\"10\" y=\"200\">caf\xFF</text>\n"
    "</g></svg>\n";

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD

class ReportSafety : public sqtest::HostTest {
 protected:
  void SetUp() override {
    startHost();
    sqtest::writeFile(folder() / "odd.svg", kDrawing);
    ASSERT_TRUE(driver().run("open odd.svg\n"));
  }

  const json* findNamed(const json& art, const std::string& name) {
    if (art.is_object() && art.value("name", "") == name) return &art;
    if (art.is_array() || art.is_object()) {
      for (const auto& child : art) {
        if (const json* found = findNamed(child, name)) return found;
      }
    }
    return nullptr;
  }
};

TEST_F(ReportSafety, InvalidBytesAreWrittenAsTheReplacementCharacter) {
  ASSERT_TRUE(driver().run("report r.json\n"));
  const std::string text = sqtest::readFile(folder() / "r.json");
  json report;
  ASSERT_NO_THROW(report = json::parse(text));
  const json& document = report["documents"][0];
  EXPECT_EQ(document["layers"][0]["name"], "Ink" + kReplacement);
  EXPECT_NE(findNamed(document["layers"], "p" + kReplacement + "q"), nullptr) << document;
  // The JSON is itself valid UTF-8 throughout: dumping it again in the strict mode succeeds.
  EXPECT_NO_THROW((void)report.dump());
  // Taking the report in memory and writing it out gives the same safe text.
  json again;
  EXPECT_NO_THROW(again = json::parse(sqhost::reportText(driver().report())));
  EXPECT_EQ(again["documents"][0]["layers"][0]["name"], "Ink" + kReplacement);
}

TEST_F(ReportSafety, TheFilesOwnBytesStayAndTheHostsOwnTextIsUtf8) {
  ASSERT_TRUE(driver().run("save same.svg\n"));
  EXPECT_EQ(sqtest::readFile(folder() / "same.svg"), kDrawing);

  const void* table = nullptr;
  ASSERT_EQ(host().basicSuite()->AcquireSuite(kAILayerSuite, kAILayerSuiteVersion, &table), kNoErr);
  const auto* layers = static_cast<const AILayerSuite*>(table);
  AILayerHandle layer = nullptr;
  ASSERT_EQ(layers->GetNthLayer(0, &layer), kNoErr);
  // A title that is not UTF-8 would go into a file declared UTF-8: refused, nothing changes.
  EXPECT_EQ(layers->SetLayerTitle(layer, "Bad\xC0\xAF"), kBadParameterErr);
  EXPECT_EQ(layers->SetLayerTitle(layer, "\xED\xA0\x80"), kBadParameterErr);  // a surrogate
  ASSERT_TRUE(driver().run("save still.svg\n"));
  EXPECT_EQ(sqtest::readFile(folder() / "still.svg"), kDrawing);
  // A valid one is saved as given.
  EXPECT_EQ(layers->SetLayerTitle(layer, "Encre \xC3\xA9"), kNoErr);
  ASSERT_TRUE(driver().run("save renamed.svg\n"));
  EXPECT_NE(sqtest::readFile(folder() / "renamed.svg").find("inkscape:label=\"Encre \xC3\xA9\""),
            std::string::npos);
  host().basicSuite()->ReleaseSuite(kAILayerSuite, kAILayerSuiteVersion);
}

}  // namespace
