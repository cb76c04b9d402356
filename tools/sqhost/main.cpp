// sqhost: the command-line program that runs the stand-in host with the plug-in.
#include <CLI/CLI.hpp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/host.hpp"
#include "prefs/preference_store.hpp"
#include "script/script_parser.hpp"
#include "session/session.hpp"
#include "studio_command.hpp"

namespace {

struct RunOptions {
  std::string script;
  std::string prefs;
  std::string plugin;
  bool unloadEachMessage = false;
  std::string out;
  bool quiet = false;
};

std::string defaultPluginPath() {
  if (const char* env = std::getenv("SQHOST_PLUGIN"); env != nullptr && *env != '\0') return env;
  return SQ_DEFAULT_PLUGIN;
}

int runScript(const RunOptions& o) {
  // A script that cannot be read is refused as one that cannot be parsed: nothing runs.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(o.script, ec)) {
    std::cerr << "sqhost: cannot read script " << o.script << ": "
              << (std::filesystem::exists(o.script, ec) ? "it is not a regular file"
                                                        : "there is no such file")
              << "\n";
    return 2;
  }
  std::ifstream file(o.script, std::ios::binary);
  if (!file) {
    std::cerr << "sqhost: cannot read script " << o.script << "\n";
    return 2;
  }
  std::stringstream text;
  text << file.rdbuf();
  const sqhost::ParsedScript script = sqhost::parseScript(text.str());
  if (!script.ok()) {
    std::cerr << "sqhost: " << o.script << ", " << script.error << "\n";
    return 2;
  }

  sqhost::HostOptions options;
  options.pluginPath = o.plugin.empty() ? defaultPluginPath() : o.plugin;
  options.preferenceFile = sqhost::resolvePreferencePath(
      o.prefs.empty() ? std::nullopt : std::optional<std::string>(o.prefs));
  options.unloadAfterEveryMessage = o.unloadEachMessage;
  sqhost::Host host(options);
  sqhost::Session session(host);
  // Files the script reads are found beside it; those it writes go to --out.
  session.setInputBase(std::filesystem::absolute(o.script).parent_path());
  if (!o.out.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(o.out, ec);
    session.setOutputBase(o.out);
  }
  host.observer().setEcho([quiet = o.quiet](const std::string& line) {
    // Quiet runs print only the lines that name a failing script line.
    if (!quiet) {
      std::cout << line << "\n";
    } else if (line.rfind("line ", 0) == 0) {
      std::cerr << line << "\n";
    }
  });
  // Warnings (files read up to an error, preference values ignored) go to standard error, also
  // in quiet runs.
  host.observer().setWarningEcho(
      [](const std::string& line) { std::cerr << "sqhost: warning: " << line << "\n"; });
  if (!o.quiet) std::cout << "preferences: " << options.preferenceFile.string() << "\n";

  std::string error;
  if (!host.start(error)) {
    std::cerr << "sqhost: " << error << "\n";
    return 1;
  }
  const bool ok = session.run(script.steps);
  host.shutDown();
  if (!ok) {
    std::cerr << "sqhost: " << o.script << ": the script stopped on an error (see above)\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"sqhost: a stand-in illustration host that loads the Spindlequiver plug-in"};
  app.require_subcommand(1);

  RunOptions run;
  CLI::App* runCommand = app.add_subcommand(
      "run", "Start the host with the plug-in, run a session script, then shut down");
  // The script's existence is checked when it is read, so that a missing one exits with 2.
  runCommand->add_option("script", run.script, "The session script (see the README)")->required();
  runCommand->add_option("--prefs", run.prefs,
                         "Preference file (default: $SQHOST_PREFS, else "
                         "$XDG_CONFIG_HOME/sqhost/preferences.json or "
                         "~/.config/sqhost/preferences.json)");
  runCommand->add_option("--plugin", run.plugin,
                         "Plug-in library to load (default: $SQHOST_PLUGIN, else the built one)");
  runCommand->add_option("--out", run.out,
                         "Folder for the files the script writes (default: the current folder); "
                         "files it reads are found beside the script");
  runCommand->add_flag("--unload-each-message", run.unloadEachMessage,
                       "Unload and reload the plug-in library after every message");
  runCommand->add_flag("--quiet", run.quiet, "Print only errors");

  sqhost::StudioOptions studio;
  CLI::App* studioCommand = app.add_subcommand(
      "studio", "Start the host with the studio: a local web page that drives it (Ctrl+C stops)");
  studioCommand->add_option("files", studio.files,
                            "SVG files to open, inside the folder (default: the bundled drawing)");
  studioCommand->add_option("--port", studio.port, "Port on 127.0.0.1 (default 0: any free one)")
      ->check(CLI::Range(0, 65535));
  studioCommand->add_option("--root", studio.root,
                            "The folder files are opened from and saved to (default: the "
                            "current folder)");
  studioCommand->add_option("--prefs", studio.prefs, "Preference file (as for run)");
  studioCommand->add_option("--plugin", studio.plugin, "Plug-in library to load (as for run)");

  CLI11_PARSE(app, argc, argv);
  if (runCommand->parsed()) return runScript(run);
  if (studioCommand->parsed()) {
    if (studio.plugin.empty()) studio.plugin = defaultPluginPath();
    return sqhost::runStudio(studio);
  }
  return 0;
}
