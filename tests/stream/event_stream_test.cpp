// Random event streams: session scripts of random user input over random documents and the bundled
// drawings, run by the host with the real plug-in.
//
// Each round opens one document and runs a random mix of lines: tool choices, mouse moves and
// gestures with modifiers (mostly on the document's own points and handles), keys, the
// increase-diameter key, selections, moved points, view changes, host preferences, undo and redo,
// the About dialog and dialog actions, and now and then a line that fails at run time or one that
// does not parse. Every round checks that
//   - the host survives it;
//   - the run fails exactly when a line was reported as failing ("line N: ..."), and a script
//     with a malformed line fails to parse naming its first bad line, with nothing run;
//   - undoing everything gives back the exact file that was opened (the SVG the document writes),
//     and redoing everything the document as the stream left it. Selection is compared apart:
//     the tool changes it silently (clicks and marquees that only select make no undo entry, and
//     kept handles are re-selected while the cursor moves), so undo need not bring it back.
// Every fourth round also runs the script with the sqhost program, whose exit status must agree:
// 0 with no failing line printed, 1 with one, 2 for a script that does not parse.
//
// The stream is the same on every run. Environment variables change it:
//   SQ_STREAM_SEED=N    the seed of the first round (round r uses N + r); default 1009
//   SQ_STREAM_ROUNDS=N  the number of rounds; default 400 (160 in the sanitizer build)
// A failing round prints its own seed: SQ_STREAM_SEED=<it> SQ_STREAM_ROUNDS=1 runs it alone.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "script/script_parser.hpp"
#include "support/host_fixture.hpp"
#include "support/test_files.hpp"
#include "svg/svg_io.hpp"

#ifndef SQ_STREAM_DEFAULT_ROUNDS
#define SQ_STREAM_DEFAULT_ROUNDS 400
#endif

namespace {

namespace fs = std::filesystem;

std::uint64_t fromEnvironment(const char* name, std::uint64_t fallback) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return fallback;
  return std::strtoull(value, nullptr, 10);
}

// A path of the opened document: its SVG id and the points a user would aim at (artwork
// coordinates: anchors and handles).
struct Target {
  std::string id;
  std::size_t points = 0;
  std::vector<AIRealPoint> spots;
};

void collectTargets(const sqhost::Art& art, std::vector<Target>& out) {
  if (art.type() == sqhost::ArtType::kPath && !art.path().empty()) {
    Target t;
    t.id = art.name();
    t.points = art.path().size();
    for (const AIPathSegment& s : art.path().segments())
      t.spots.insert(t.spots.end(), {s.p, s.in, s.out});
    out.push_back(std::move(t));
  }
  for (std::size_t i = 0; i < art.childCount(); ++i) collectTargets(art.child(i), out);
}

// Random choices of one round.
class Dice {
 public:
  explicit Dice(std::uint64_t seed) : engine_(seed) {}
  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }
  bool chance(double p) { return std::bernoulli_distribution(p)(engine_); }
  double between(double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(engine_);
  }
  template <typename T>
  const T& pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
  }
  // A number as a script or an SVG file spells it: whole, or with one or two decimals.
  std::string number(double lo, double hi) {
    const double x = between(lo, hi);
    std::ostringstream s;
    s.setf(std::ios::fixed);
    s.precision(below(3));
    s << x;
    return s.str();
  }

 private:
  std::mt19937_64 engine_;
};

// A random drawing of 400 x 400 units: paths of most commands, shapes, groups with transforms
// and Inkscape layers, node types, selection states.
std::string randomDocument(Dice& dice) {
  std::ostringstream svg;
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" "
         "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" "
         "xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\" "
         "xmlns:sq=\"urn:spindlequiver:host\" width=\"400\" height=\"400\" viewBox=\"0 0 400 "
         "400\">\n";
  int next = 0;
  auto xy = [&] { return dice.number(10, 390) + " " + dice.number(10, 390); };
  auto path = [&] {
    std::string d = "M " + xy();
    int points = 1;
    bool counted = true;  // whether points is the number of points the host reads
    const int pieces = 1 + dice.below(6);
    for (int i = 0; i < pieces; ++i, ++points) {
      switch (dice.below(9)) {
        case 0:
          d += " L " + xy();
          break;
        case 6:
          d += (dice.chance(0.5) ? " H " : " v ") + dice.number(10, 390);
          break;
        case 7:
          // An arc becomes one to four cubic pieces (node types then no longer match).
          counted = false;
          d += " A " + dice.number(5, 80) + " " + dice.number(5, 80) + " " + dice.number(0, 90) +
               (dice.chance(0.5) ? " 0 " : " 1 ") + (dice.chance(0.5) ? "0 " : "1 ") + xy();
          break;
        case 1:
          d += " Q " + xy() + " " + xy();
          break;
        case 2:
          d += " S " + xy() + " " + xy();
          break;
        case 3:
          d += " c " + dice.number(-40, 40) + " " + dice.number(-40, 40) + " " +
               dice.number(-40, 40) + " " + dice.number(-40, 40) + " " + dice.number(-60, 60) +
               " " + dice.number(-60, 60);
          break;
        default:
          d += " C " + xy() + " " + xy() + " " + xy();
          break;
      }
    }
    const bool closed = dice.chance(0.4);
    if (closed) d += " Z";
    std::string attributes = "id=\"p" + std::to_string(next++) + "\" d=\"" + d + "\"";
    if (dice.chance(0.5)) {
      std::string types;
      for (int i = 0; i < points; ++i) types += "csza"[dice.below(4)];
      attributes += " sodipodi:nodetypes=\"" + types + "\"";
    }
    if (counted && dice.chance(0.3)) {
      std::string states;
      for (int i = 0; i < points; ++i) states += (i ? " " : "") + std::to_string(dice.below(5));
      attributes += " sq:selection=\"" + states + "\"";
    }
    attributes += dice.chance(0.5) ? " fill=\"none\" stroke=\"#204080\"" : " fill=\"#f2c14e\"";
    return "<path " + attributes + "/>\n";
  };
  auto shape = [&] {
    const std::string id = "id=\"s" + std::to_string(next++) + "\" ";
    switch (dice.below(4)) {
      case 0:
        return "<rect " + id + "x=\"" + dice.number(0, 300) + "\" y=\"" + dice.number(0, 300) +
               "\" width=\"" + dice.number(5, 90) + "\" height=\"" + dice.number(5, 90) + "\"/>\n";
      case 1:
        return "<circle " + id + "cx=\"" + dice.number(50, 350) + "\" cy=\"" +
               dice.number(50, 350) + "\" r=\"" + dice.number(5, 40) + "\"/>\n";
      case 2:
        return "<polygon " + id + "points=\"" + xy() + " " + xy() + " " + xy() + "\"/>\n";
      default:
        return "<line " + id + "x1=\"" + dice.number(0, 400) + "\" y1=\"" + dice.number(0, 400) +
               "\" x2=\"" + dice.number(0, 400) + "\" y2=\"" + dice.number(0, 400) +
               "\" stroke=\"black\"/>\n";
    }
  };
  auto content = [&](int n) {
    std::string out;
    for (int i = 0; i < n; ++i) {
      if (dice.chance(0.15)) {
        out += "<g transform=\"translate(" + dice.number(-30, 30) + " " + dice.number(-30, 30) +
               ") rotate(" + dice.number(-45, 45) + ")\">\n" + path() + path() + "</g>\n";
      } else {
        out += dice.chance(0.8) ? path() : shape();
      }
    }
    return out;
  };
  if (dice.chance(0.5)) {
    const int layers = 1 + dice.below(3);
    for (int i = 0; i < layers; ++i) {
      svg << "<g inkscape:groupmode=\"layer\" inkscape:label=\"Layer " << i << "\""
          << (dice.chance(0.15) ? " sodipodi:insensitive=\"true\"" : "") << ">\n"
          << content(1 + dice.below(4)) << "</g>\n";
    }
  } else {
    svg << content(1 + dice.below(6));
  }
  svg << "</svg>\n";
  return svg.str();
}

// Lines that do not parse.
const std::vector<std::string> kMalformed = {
    "wiggle",
    "move 1",
    "down 1 2 hyper",
    "key down f13",
    "view zoom -2",
    "select point p x",
    "dialog press",
    "open \"unterminated",
    "pref selectionTolerance nan",
    "view size 0 10",
    "undo 3",
    "tool",
    "move 1e999 0",
    "dialog choose 2 -1",
    "key sideways a",
    "\x01\xff\xfe",
};

// The lines of one round's stream, after the line that opens its document.
class StreamWriter {
 public:
  StreamWriter(Dice& dice, std::vector<Target> targets)
      : dice_(dice), targets_(std::move(targets)) {}

  std::string lines(int count, bool malformed) {
    std::string out;
    const int bad = malformed ? dice_.below(count) : -1;
    for (int i = 0; i < count; ++i) {
      if (i == bad) {
        out += dice_.pick(kMalformed) + "\n";
        continue;
      }
      out += line();
    }
    if (buttonDown_ && dice_.chance(0.7)) out += "up " + point() + "\n";
    return out;
  }

 private:
  // A point a user would click: near an anchor or handle of the document, or anywhere.
  std::string point() {
    if (!targets_.empty() && dice_.chance(0.7)) {
      const AIRealPoint p = dice_.pick(dice_.pick(targets_).spots);
      const double jitter = dice_.chance(0.5) ? 0 : 4;
      return std::to_string(p.h + dice_.between(-jitter, jitter)) + " " +
             std::to_string(p.v + dice_.between(-jitter, jitter));
    }
    return dice_.number(-20, 420) + " " + dice_.number(-420, 20);
  }
  std::string modifiers() {
    std::string out;
    if (dice_.chance(0.2)) out += " shift";
    if (dice_.chance(0.15)) out += " ctrl";
    if (dice_.chance(0.15)) out += " alt";
    return out;
  }
  // A path id, now and then one the document does not have (the line then fails).
  std::string pathId() {
    if (targets_.empty() || dice_.chance(0.02)) return "nowhere";
    return dice_.pick(targets_).id;
  }
  std::string pointOf(const std::string& id) {
    for (const Target& t : targets_) {
      if (t.id == id) {
        // Past the last point now and then (the line then fails).
        return std::to_string(
            dice_.below(static_cast<int>(t.points) + (dice_.chance(0.03) ? 2 : 0)));
      }
    }
    return "0";
  }

  std::string line() {
    static const std::vector<std::string> kTools = {"Spindlequiver Tool", "Spindlequiver Tool",
                                                    "Direct Selection Tool", "Selection Tool",
                                                    "Pen Tool"};
    static const std::vector<std::string> kKeys = {"space", "esc", "shift", "ctrl", "alt",
                                                   "enter", "tab", "a",     "z",    "1"};
    static const std::vector<std::string> kPrefs = {"selectionTolerance", "smartGuides/tolerance",
                                                    "constrain/angle", "snapToPoint"};
    if (buttonDown_) {
      // A gesture goes on: drags, then the button comes up; once in a while something else.
      if (dice_.chance(0.9)) {
        if (dice_.chance(0.7)) return "drag " + point() + modifiers() + "\n";
        buttonDown_ = false;
        return "up " + point() + modifiers() + "\n";
      }
    }
    switch (dice_.below(20)) {
      case 0:
        return "tool \"" + (dice_.chance(0.02) ? std::string("Brush Tool") : dice_.pick(kTools)) +
               "\"\n";
      case 1:
      case 2:
      case 3:
        if (buttonDown_) break;
        return "move " + point() + modifiers() + "\n";
      case 4:
      case 5:
        if (buttonDown_) break;
        buttonDown_ = true;
        return "down " + point() + modifiers() + "\n";
      case 6:
        return "key " + std::string(dice_.chance(0.5) ? "down " : "up ") + dice_.pick(kKeys) + "\n";
      case 7:
        return "increase-diameter\n";
      case 8: {
        if (dice_.chance(0.2)) return "select none\n";
        const std::string id = pathId();
        if (dice_.chance(0.3)) return "select path " + id + "\n";
        // A selected handle, then often the increase-diameter key that retracts it.
        const int state = dice_.below(5);
        return "select point " + id + " " + pointOf(id) + " " + std::to_string(state) + "\n" +
               (state >= 2 && dice_.chance(0.5) ? "increase-diameter\n" : "");
      }
      case 9: {
        // Never by (0, 0): then each of these lines makes one undo entry.
        const std::string id = pathId();
        ++entries_;
        return "move-point " + id + " " + pointOf(id) + " " + dice_.number(-30, 30) + " " +
               (dice_.chance(0.5) ? "-" : "") + dice_.number(1, 30) + "\n";
      }
      case 10: {
        // Out of the host's range now and then (the line then fails).
        static const std::vector<std::string> kZooms = {"0.03125", "0.25", "0.5", "1.5", "100"};
        if (dice_.chance(0.2)) return "view zoom " + dice_.pick(kZooms) + "\n";
        return "view zoom " + dice_.number(1, 8) + "\n";
      }
      case 11:
        if (dice_.chance(0.5)) return "view center " + point() + "\n";
        if (dice_.chance(0.5)) {
          return std::string("view ") + (dice_.chance(0.5) ? "grid " : "smart-guides ") +
                 (dice_.chance(0.5) ? "on" : "off") + "\n";
        }
        return "view size " + std::to_string(100 + dice_.below(800)) + " " +
               std::to_string(100 + dice_.below(800)) + "\n";
      case 12: {
        const std::string& key = dice_.pick(kPrefs);
        if (key == "snapToPoint")
          return "pref snapToPoint " + std::string(dice_.chance(0.5) ? "true" : "false") + "\n";
        if (key == "constrain/angle") return "pref constrain/angle " + dice_.number(-90, 90) + "\n";
        return "pref " + key + " " + std::to_string(1 + dice_.below(12)) + "\n";
      }
      case 13:
      case 14:
      case 15: {
        // Undo and redo within what the moved points have surely made, now and then past it
        // (the line then fails when nothing else made an entry).
        if (dice_.chance(0.03)) return dice_.chance(0.5) ? "undo\n" : "redo\n";
        if (entries_ == 0) break;
        const int undos = 1 + dice_.below(std::min(entries_, 3));
        const int redos = dice_.below(undos + 1);
        entries_ += redos - undos;
        std::string out;
        for (int i = 0; i < undos; ++i) out += "undo\n";
        for (int i = 0; i < redos; ++i) out += "redo\n";
        return out;
      }
      case 16: {
        // The About dialog, answered by the line that follows it (or not at all: then cancelled),
        // once in a while after an action its items do not take (the line then fails).
        std::string out = "about\n";
        if (dice_.chance(0.1)) out += refusedDialogAction();
        if (dice_.chance(0.8)) out += dialogAction();
        return out;
      }
      case 17:
        // A dialog action with no dialog open fails now and then.
        if (dice_.chance(0.05)) return dialogAction();
        break;
      default:
        break;
    }
    if (buttonDown_) return "drag " + point() + "\n";
    return "move " + point() + modifiers() + "\n";
  }

  // An action that closes the About dialog.
  std::string dialogAction() {
    switch (dice_.below(3)) {
      case 0:
        return "dialog press 1\n";
      case 1:
        return "dialog cancel\n";
      default:
        return "dialog SpindlequiverAboutDialog press 1\n";
    }
  }

  // An action the About dialog's items do not take.
  std::string refusedDialogAction() {
    switch (dice_.below(5)) {
      case 1:
        return "dialog check 2 " + std::string(dice_.chance(0.5) ? "on" : "off") + "\n";
      case 2:
        return "dialog value 3 " + dice_.number(-5, 5) + "\n";
      case 3:
        return "dialog text 2 \"a \\\"quoted\\\" text\"\n";
      case 0:
        return "dialog choose 3 " + std::to_string(dice_.below(3)) + "\n";
      default:
        return "dialog SpindlequiverAboutDialog press " + std::to_string(2 + dice_.below(3)) + "\n";
    }
  }

  Dice& dice_;
  std::vector<Target> targets_;
  bool buttonDown_ = false;
  int entries_ = 0;  // undo entries the moved points have made, less those undone
};

// The number N of each "line N: ..." line.
std::vector<int> failingLines(const std::vector<std::string>& lines) {
  static const std::regex kFailing("^line ([0-9]+): .*");
  std::vector<int> out;
  std::smatch m;
  for (const std::string& line : lines) {
    if (std::regex_match(line, m, kFailing)) out.push_back(std::stoi(m[1]));
  }
  return out;
}

// The SVG text without the host's selection attributes (and the declaration of their namespace,
// written when some art is selected): the drawing alone.
std::string withoutSelection(const std::string& svg) {
  static const std::regex selection(R"( (sq:selection|sq:selected|xmlns:sq)="[^"]*")");
  return std::regex_replace(svg, selection, "");
}

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::vector<fs::path> bundledDrawings() {
  std::vector<fs::path> out = {fs::path(SQ_SOURCE_DIR) / "tools/sqhost/examples/drawing.svg"};
  for (const auto& entry : fs::directory_iterator(fs::path(SQ_SOURCE_DIR) / "tests/fixtures/svg")) {
    if (entry.path().extension() == ".svg") out.push_back(entry.path());
  }
  std::sort(out.begin(), out.end());
  return out;
}

// What a round found wrong, with what reproduces it.
struct Round {
  std::uint64_t seed = 0;
  std::string document;  // the bundled drawing's name, or "a random document"
  std::string script;
  std::string where() const {
    return "round with SQ_STREAM_SEED=" + std::to_string(seed) + " over " + document +
           "; script:\n" + script;
  }
};

// Runs the script with the sqhost program in folder; its exit status, and what it printed to
// its standard error in lines.
int runProgram(const fs::path& folder, std::vector<std::string>& errors) {
  const std::string command = std::string(SQ_SQHOST_PATH) + " run " +
                              (folder / "stream.sqs").string() + " --quiet --prefs " +
                              (folder / "program-preferences.json").string() + " --out " +
                              (folder / "out").string() + " > " + (folder / "stdout.txt").string() +
                              " 2> " + (folder / "stderr.txt").string();
  const int status = std::system(command.c_str());
  errors = splitLines(sqtest::readFile(folder / "stderr.txt"));
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// What the rounds did, to show that the stream reaches every outcome.
struct Tally {
  int unparsed = 0;                   // rounds with a malformed line
  int stopped = 0;                    // rounds stopped by a failing line
  int completed = 0;                  // rounds that ran every line
  std::map<std::string, int> undone;  // undo entries taken back, by their text
};

void runRound(std::uint64_t seed, const std::vector<fs::path>& drawings, bool withProgram,
              Tally& tally) {
  Dice dice(seed);
  Round round;
  round.seed = seed;
  sqtest::HostFixture fixture;
  std::string original;
  if (dice.chance(0.4)) {
    const fs::path& drawing = dice.pick(drawings);
    round.document = drawing.filename().string();
    original = sqtest::readFile(drawing);
  } else {
    round.document = "a random document";
    original = randomDocument(dice);
  }
  sqtest::writeFile(fixture.folder() / "doc.svg", original);
  const sqhost::svg::ImportResult imported = sqhost::svg::importSvg(original);
  ASSERT_TRUE(imported.ok()) << imported.error << "\n" << round.where();
  std::vector<Target> targets;
  for (std::size_t i = 0; i < imported.document->layerCount(); ++i) {
    collectTargets(imported.document->layer(i).group(), targets);
  }
  std::erase_if(targets, [](const Target& t) { return t.id.empty(); });

  const bool malformed = dice.chance(0.1);
  StreamWriter writer(dice, targets);
  round.script = "open doc.svg\n" + writer.lines(10 + dice.below(50), malformed);
  sqtest::writeFile(fixture.folder() / "stream.sqs", round.script);
  SCOPED_TRACE(round.where());

  const sqhost::ParsedScript parsed = sqhost::parseScript(round.script);
  std::vector<std::string> programErrors;
  const int programStatus = withProgram ? runProgram(fixture.folder(), programErrors) : -1;
  if (malformed) {
    // The first malformed line is named and nothing runs.
    ASSERT_FALSE(parsed.ok());
    const std::vector<std::string> lines = splitLines(round.script);
    const auto bad = std::find_if(lines.begin(), lines.end(), [](const std::string& l) {
      return std::find(kMalformed.begin(), kMalformed.end(), l) != kMalformed.end();
    });
    const std::string named = "line " + std::to_string(bad - lines.begin() + 1) + ": ";
    EXPECT_EQ(parsed.error.rfind(named, 0), 0u) << parsed.error;
    if (withProgram) {
      EXPECT_EQ(programStatus, 2);
      ASSERT_EQ(programErrors.size(), 1u);
      EXPECT_NE(programErrors[0].find(", " + named), std::string::npos) << programErrors[0];
    }
    ++tally.unparsed;
    return;
  }
  ASSERT_TRUE(parsed.ok()) << parsed.error;

  sqhost::Host& host = fixture.start();
  const std::size_t before = host.observer().lines().size();
  const bool ran = fixture.session().run(parsed.steps);
  ++(ran ? tally.completed : tally.stopped);
  const std::vector<std::string> noted(host.observer().lines().begin() + static_cast<long>(before),
                                       host.observer().lines().end());
  const std::vector<int> failing = failingLines(noted);
  // A failing run names its line; a run that names a failing line fails.
  EXPECT_EQ(ran, failing.empty()) << "noted:\n" << joined(noted);
  if (withProgram) {
    const std::vector<int> printed = failingLines(programErrors);
    EXPECT_EQ(programStatus, printed.empty() ? 0 : 1)
        << sqtest::readFile(fixture.folder() / "stderr.txt");
    EXPECT_EQ(programStatus, ran ? 0 : 1) << "the program and the session disagree";
  }

  // The stream's end state: a gesture still going ends, and every key comes up.
  sqhost::Event e;
  if (host.buttonDown()) {
    e.kind = sqhost::Event::Kind::MouseUp;
    ASSERT_TRUE(host.handleEvent(e));
  }
  for (const int32_t key : {0x20, 0x1B, 0x10, 0x11, 0x12, 0x0D, 0x09, 0x41, 0x5A, 0x31}) {
    e.kind = sqhost::Event::Kind::KeyUp;
    e.item = key;
    host.handleEvent(e);
  }
  sqhost::Document* doc = host.currentDocument();
  ASSERT_NE(doc, nullptr);
  const sqhost::svg::ExportResult end = sqhost::svg::writeSvg(*doc);
  ASSERT_TRUE(end.ok()) << end.error;

  // Undo everything: the file that was opened; redo everything: the stream's end.
  const std::size_t entries = host.undo().undoCount();
  e.kind = sqhost::Event::Kind::Undo;
  for (std::size_t i = 0; i < entries; ++i) {
    ++tally.undone[host.undo().undoText()];
    ASSERT_TRUE(host.handleEvent(e)) << "undo " << i;
  }
  EXPECT_EQ(host.undo().undoCount(), 0u);
  const sqhost::svg::ExportResult start = sqhost::svg::writeSvg(*host.currentDocument());
  ASSERT_TRUE(start.ok()) << start.error;
  EXPECT_EQ(withoutSelection(start.text), withoutSelection(original))
      << "undoing all " << entries << " entries";
  e.kind = sqhost::Event::Kind::Redo;
  for (std::size_t i = 0; i < entries; ++i) ASSERT_TRUE(host.handleEvent(e)) << "redo " << i;
  EXPECT_EQ(withoutSelection(sqhost::svg::writeSvg(*host.currentDocument()).text),
            withoutSelection(end.text))
      << "redoing all " << entries << " entries";
}

TEST(EventStream, RandomSessionsKeepTheHostConsistentAndUndoRestoresTheFile) {
  const std::uint64_t seed = fromEnvironment("SQ_STREAM_SEED", 1009);
  const std::uint64_t rounds = fromEnvironment("SQ_STREAM_ROUNDS", SQ_STREAM_DEFAULT_ROUNDS);
  const std::vector<fs::path> drawings = bundledDrawings();
  Tally tally;
  for (std::uint64_t r = 0; r < rounds; ++r) {
    runRound(seed + r, drawings, r % 4 == 0, tally);
    if (::testing::Test::HasFatalFailure()) return;
  }
  std::string undone;
  for (const auto& [text, count] : tally.undone)
    undone += " \"" + text + "\" " + std::to_string(count);
  std::cout << rounds << " rounds from seed " << seed << ": " << tally.completed
            << " ran to the end, " << tally.stopped << " stopped on a failing line, "
            << tally.unparsed << " did not parse; entries undone:" << undone << "\n";
  // A stream long enough reaches every outcome and edits the documents.
  if (rounds >= 20) {
    EXPECT_GT(tally.completed, 0);
    EXPECT_GT(tally.stopped, 0);
    EXPECT_GT(tally.unparsed, 0);
    EXPECT_GT(tally.undone["Selection"], 0);
    EXPECT_GT(tally.undone["Move Point"], 0);
  }
}

}  // namespace
