// A session around the host: the commands of scripts and front-ends, their files and reports.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/host.hpp"
#include "session/report.hpp"
#include "session/session_command.hpp"

namespace sqhost {

// What only scripts and front-ends do around the user: open, close and save documents, render
// and report, set selections and points directly, set host preferences, unload the plug-in.
class Session {
 public:
  explicit Session(Host& host) : host_(host) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Host& host() { return host_; }

  // The folders relative file names start from: files read (open) and files written (save, png,
  // report). Empty: the current folder.
  void setInputBase(std::filesystem::path base) { inputBase_ = std::move(base); }
  void setOutputBase(std::filesystem::path base) { outputBase_ = std::move(base); }
  std::filesystem::path inputPath(const std::string& name) const;
  std::filesystem::path outputPath(const std::string& name) const;

  // Runs one command (Quit does nothing here), then lets the host be idle. A command that fails
  // is noted with its line ("line N: ...") and gives false.
  bool execute(const SessionCommand& command);

  // Runs a script's steps in order until one fails or Quit. Events go to the host's own queue a
  // run at a time, so a modal dialog that one opens takes its answers from the events after it, up
  // to the next command; a dialog they do not answer is cancelled. False, with nothing run, while
  // the host takes its events from a front-end's waiting source.
  bool run(const std::vector<SessionStep>& steps);

  // The JSON report (see makeReport), and the marks of what reports have shown.
  nlohmann::json report() { return makeReport(*this); }
  ReportMarks& reportMarks() { return marks_; }

 private:
  bool executeCommand(const SessionCommand& c, std::string& error);
  bool openFile(const SessionCommand& c, std::string& error);
  bool closeCurrent(std::string& error);
  bool renderPng(const SessionCommand& c, std::string& error);
  bool renderPanelPng(const SessionCommand& c, std::string& error);
  bool unloadOrReload(const SessionCommand& c, std::string& error);
  // Selection, point and preference commands (edit_commands.cpp).
  bool select(const SessionCommand& c, std::string& error);
  bool setPreference(const SessionCommand& c, std::string& error);

  Host& host_;
  std::filesystem::path inputBase_;
  std::filesystem::path outputBase_;
  ReportMarks marks_;
};

}  // namespace sqhost
