// Tests of the preference file: round trips, missing and damaged files, atomic and failing saves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

#include "prefs/preference_store.hpp"
#include "support/file_size_limit.hpp"

namespace sqhost {
namespace {

namespace fs = std::filesystem;
using Status = PreferenceLoadResult::Status;

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void writeBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class PreferenceFile : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "sq-prefs-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    file_ = dir_ / "preferences.json";
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir_;
  fs::path file_;
};

TEST_F(PreferenceFile, RoundTripsEveryTypeExactly) {
  PreferenceStore written(file_);
  written.putBoolean("", "isRulerIn4thQuad", false);
  written.putInteger("", "selectionTolerance", std::numeric_limits<std::int32_t>::min());
  written.putInteger("Spindlequiver", "precision", std::numeric_limits<std::int32_t>::max());
  written.putReal("", "constrain/angle", 0.1 + 0.2);
  written.putReal("Spindlequiver", "MHScale", -20000.0);
  written.putString("Spindlequiver", "label", "tab\t, quote \", unicode \u00e9\u2192");
  written.putPoint("Spindlequiver", "origin", {0.1f, -std::numeric_limits<float>::max()});
  ASSERT_TRUE(written.save().ok());

  PreferenceStore read(file_);
  const PreferenceLoadResult result = read.load();
  EXPECT_EQ(result.status, Status::loaded);
  EXPECT_TRUE(result.ok()) << result.message;
  EXPECT_EQ(read.toJson(), written.toJson());
  EXPECT_EQ(read.getBoolean("", "isRulerIn4thQuad"), false);
  EXPECT_EQ(read.getInteger("", "selectionTolerance"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(read.getReal("", "constrain/angle"), 0.1 + 0.2);
  EXPECT_EQ(read.getString("Spindlequiver", "label"), "tab\t, quote \", unicode \u00e9\u2192");
  EXPECT_EQ(read.getPoint("Spindlequiver", "origin"),
            (PreferencePoint{0.1f, -std::numeric_limits<float>::max()}));
  EXPECT_TRUE(read.writes().empty()) << "loading is not a write";
}

TEST_F(PreferenceFile, IsReadableJsonInStableOrder) {
  PreferenceStore store(file_);
  store.putPoint("Spindlequiver", "origin", {0.1f, 2});
  store.putInteger("Spindlequiver", "precision", 3);
  store.putBoolean("", "isRulerIn4thQuad", true);
  ASSERT_TRUE(store.save().ok());
  EXPECT_EQ(readBytes(file_), R"({
  "sections": {
    "": {
      "isRulerIn4thQuad": {
        "type": "boolean",
        "value": true
      }
    },
    "Spindlequiver": {
      "origin": {
        "type": "point",
        "value": {
          "h": 0.1,
          "v": 2.0
        }
      },
      "precision": {
        "type": "integer",
        "value": 3
      }
    }
  },
  "version": 1
}
)");
}

TEST_F(PreferenceFile, MissingFileIsAnEmptyStore) {
  PreferenceStore store(file_);
  store.putBoolean("", "stale", true);
  const PreferenceLoadResult result = store.load();
  EXPECT_EQ(result.status, Status::missing);
  EXPECT_TRUE(result.ok());
  EXPECT_TRUE(store.empty()) << "loading replaces what the store held";

  writeBytes(dir_ / "plain", "x");
  PreferenceStore underAFile(dir_ / "plain" / "preferences.json");
  EXPECT_EQ(underAFile.load().status, Status::missing);
  EXPECT_EQ(entries(), (std::vector<std::string>{"plain"}));
}

struct DamagedCase {
  const char* name;
  std::string contents;
  std::string expectedReason;
};

class DamagedPreferenceFile : public PreferenceFile,
                              public testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedPreferenceFile, IsSetAsideWithAMessageAndTheStoreStartsEmpty) {
  const DamagedCase& damaged = GetParam();
  writeBytes(file_, damaged.contents);

  PreferenceStore store(file_);
  const PreferenceLoadResult result = store.load();
  ASSERT_EQ(result.status, Status::setAside) << result.message;
  EXPECT_TRUE(store.empty());
  EXPECT_NE(result.message.find(file_.string()), std::string::npos) << result.message;
  EXPECT_NE(result.message.find(damaged.expectedReason), std::string::npos) << result.message;
  EXPECT_NE(result.message.find(result.asidePath.string()), std::string::npos) << result.message;
  EXPECT_EQ(result.asidePath.parent_path(), dir_);
  EXPECT_TRUE(result.asidePath.filename().string().starts_with("preferences.json.damaged-"));
  EXPECT_FALSE(fs::exists(file_));
  EXPECT_EQ(readBytes(result.asidePath), damaged.contents);

  // The defaults can then be saved without touching the damaged copy.
  store.putInteger("Spindlequiver", "precision", 3);
  ASSERT_TRUE(store.save().ok());
  EXPECT_EQ(readBytes(result.asidePath), damaged.contents);
  PreferenceStore reread(file_);
  EXPECT_EQ(reread.load().status, Status::loaded);
  EXPECT_EQ(reread.getInteger("Spindlequiver", "precision"), 3);
}

std::string entry(const std::string& typeAndValue) {
  return R"({"version": 1, "sections": {"S": {"k": )" + typeAndValue + "}}}";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedPreferenceFile,
    testing::Values(
        DamagedCase{"BadJson", "{\n  \"version\": 1,\n  sections\n}", "line 3, column 3"},
        DamagedCase{"Empty", "", "not valid JSON at line 1, column 1"},
        DamagedCase{"NumberOverflow", entry(R"({"type": "real", "value": 1e999})"),
                    "number overflow"},
        DamagedCase{"TopLevelArray", "[1, 2]", "top level is not a JSON object"},
        DamagedCase{"NoVersion", R"({"sections": {}})", "\"version\""},
        DamagedCase{"NewerVersion", R"({"version": 2, "sections": {}})", "format version 2"},
        DamagedCase{"SectionNotObject", R"({"version": 1, "sections": {"S": 5}})",
                    "section \"S\" is not a JSON object"},
        DamagedCase{"IntegerAsText", entry(R"({"type": "integer", "value": "3"})"),
                    "section \"S\", key \"k\": an integer"},
        DamagedCase{"IntegerTooLarge", entry(R"({"type": "integer", "value": 2147483648})"),
                    "an integer"},
        DamagedCase{"PointOutOfFloatRange",
                    entry(R"({"type": "point", "value": {"h": 1e39, "v": 0}})"), "a point"},
        DamagedCase{"UnknownType", entry(R"({"type": "colour", "value": 1})"),
                    "unknown value type \"colour\""},
        DamagedCase{"NotUtf8", entry("{\"type\": \"string\", \"value\": \"\xff\"}"), "UTF-8"},
        // Valid JSON, then a NUL byte and more: the reader must not stop at the NUL.
        DamagedCase{"TrailingNulAndData",
                    entry(R"({"type": "integer", "value": 3})") + std::string("\0", 1) +
                        R"({"version": 1, "sections": {}})",
                    "line 1, column 74, byte 74: a NUL byte"},
        DamagedCase{"TrailingData", R"({"version": 1, "sections": {}} {"more": 1})",
                    "expected end of input"}),
    [](const testing::TestParamInfo<DamagedCase>& info) { return info.param.name; });

TEST_F(PreferenceFile, NeverOverwritesAnEarlierDamagedCopy) {
  std::vector<fs::path> asides;
  for (const std::string contents : {"first {", "second {", "third {"}) {
    writeBytes(file_, contents);
    PreferenceStore store(file_);
    const PreferenceLoadResult result = store.load();
    ASSERT_EQ(result.status, Status::setAside);
    asides.push_back(result.asidePath);
  }
  EXPECT_NE(asides[0], asides[1]);
  EXPECT_NE(asides[1], asides[2]);
  EXPECT_NE(asides[0], asides[2]);
  EXPECT_EQ(readBytes(asides[0]), "first {");
  EXPECT_EQ(readBytes(asides[1]), "second {");
  EXPECT_EQ(readBytes(asides[2]), "third {");
}

TEST_F(PreferenceFile, AFileThatCannotBeReadIsNeverReplaced) {
  fs::create_directory(file_);  // something that is not a preference file sits at the path
  PreferenceStore store(file_);
  const PreferenceLoadResult result = store.load();
  EXPECT_EQ(result.status, Status::unreadable);
  EXPECT_NE(result.message.find(file_.string()), std::string::npos) << result.message;
  EXPECT_TRUE(store.empty());

  store.putBoolean("", "x", true);
  const PreferenceSaveResult saved = store.save();
  EXPECT_FALSE(saved.ok());
  EXPECT_TRUE(fs::is_directory(file_));
  EXPECT_EQ(entries(), (std::vector<std::string>{"preferences.json"}));
}

TEST_F(PreferenceFile, SaveCreatesMissingFoldersAndReportsAnUnusableOne) {
  PreferenceStore nested(dir_ / "a" / "b" / "preferences.json");
  nested.putBoolean("", "x", true);
  EXPECT_TRUE(nested.save().ok());
  EXPECT_TRUE(fs::is_regular_file(dir_ / "a" / "b" / "preferences.json"));

  writeBytes(dir_ / "plain", "keep");
  PreferenceStore underAFile(dir_ / "plain" / "preferences.json");
  underAFile.putBoolean("", "x", true);
  const PreferenceSaveResult saved = underAFile.save();
  EXPECT_FALSE(saved.ok());
  EXPECT_NE(saved.error.find("plain"), std::string::npos) << saved.error;
  EXPECT_EQ(readBytes(dir_ / "plain"), "keep");

  EXPECT_FALSE(PreferenceStore().save().ok()) << "a store without a file cannot be saved";
}

TEST_F(PreferenceFile, AFailedSaveLeavesTheOldFileWholeAndNoTemporaryBehind) {
  PreferenceStore store(file_);
  store.putInteger("Spindlequiver", "precision", 2);
  ASSERT_TRUE(store.save().ok());
  const std::string before = readBytes(file_);

  // Make the new contents too large to write: the write fails part-way, as on a full disk.
  store.putString("Spindlequiver", "padding", std::string(4096, 'x'));
  const PreferenceSaveResult saved = sqtest::withFileSizeLimit(1024, [&] { return store.save(); });

  EXPECT_FALSE(saved.ok());
  EXPECT_NE(saved.error.find(file_.string()), std::string::npos) << saved.error;
  EXPECT_EQ(readBytes(file_), before);
  EXPECT_EQ(entries(), (std::vector<std::string>{"preferences.json"}));
}

class PreferencePath : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kVariables) {
      const char* value = std::getenv(name);
      saved_.emplace_back(value != nullptr ? std::optional<std::string>(value) : std::nullopt);
      ::unsetenv(name);
    }
    ::setenv("HOME", "/home/someone", 1);
  }
  void TearDown() override {
    for (std::size_t i = 0; i < std::size(kVariables); ++i) {
      if (saved_[i]) {
        ::setenv(kVariables[i], saved_[i]->c_str(), 1);
      } else {
        ::unsetenv(kVariables[i]);
      }
    }
  }
  static constexpr const char* kVariables[] = {"SQHOST_PREFS", "XDG_CONFIG_HOME", "HOME"};
  std::vector<std::optional<std::string>> saved_;
};

TEST_F(PreferencePath, OptionThenVariableThenConfigFolderThenHome) {
  EXPECT_EQ(resolvePreferencePath(std::nullopt), "/home/someone/.config/sqhost/preferences.json");
  ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  EXPECT_EQ(resolvePreferencePath(std::nullopt), "/home/someone/.config/sqhost/preferences.json");
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(resolvePreferencePath(std::nullopt), "/cfg/sqhost/preferences.json");
  ::setenv("SQHOST_PREFS", "", 1);
  EXPECT_EQ(resolvePreferencePath(std::nullopt), "/cfg/sqhost/preferences.json");
  ::setenv("SQHOST_PREFS", "/env/prefs.json", 1);
  EXPECT_EQ(resolvePreferencePath(std::string()), "/env/prefs.json");
  EXPECT_EQ(resolvePreferencePath("given.json"), "given.json");
}

}  // namespace
}  // namespace sqhost
