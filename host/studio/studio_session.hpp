// The studio's side of the host's thread: requests become host events and session commands, and
// what changed becomes updates for the page.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/events.hpp"
#include "session/session.hpp"
#include "studio/studio_request.hpp"

namespace sqhost::studio {

class UpdateBuilder;

// Everything here runs on the host's thread.
class StudioSession {
 public:
  // root: the folder files are opened from and saved to; nothing outside it is read or written.
  StudioSession(Session& session, std::filesystem::path root);
  ~StudioSession();
  StudioSession(const StudioSession&) = delete;
  StudioSession& operator=(const StudioSession&) = delete;

  // Runs a request while no dialog waits: user input goes through Host::handleEvent (which may
  // run a modal dialog's loop), commands run here. Returns the text to send to the requesting
  // page only (an error, the files list, a full update for hello), or empty; the update for
  // everyone is asked for afterwards with update().
  std::string handle(const Request& request);
  // While a modal dialog or alert waits for the user: the host event a request stands for, or
  // nothing, with reply set (a full update for hello, an error for a command that must wait).
  std::optional<Event> nestedEvent(const Request& request, std::string& reply);
  // {"type":"update", ...} with what changed since the last update (see PROTOCOL.md).
  std::string update(int64_t seq);
  // {"type":"update","full":true, ...}: everything, for a page that (re)connects.
  std::string fullUpdate(int64_t seq);
  // A page's connection closed: a gesture in progress ends as a mouse up at the last point
  // would, and keys held come up.
  void connectionClosed();

  Session& session() { return session_; }
  const std::filesystem::path& root() const { return root_; }

 private:
  // The host event a piece of user input stands for (a view change may need a second one, in
  // more); nothing with the reason for a request that is no user input or cannot be done now.
  std::optional<Event> event(const Request& request, std::vector<Event>& more, std::string& error);
  std::optional<Event> viewEvent(const Request& request, std::vector<Event>& more,
                                 std::string& error);
  std::string listFiles(int64_t seq);
  std::string open(const Request& request);
  std::string save(const Request& request);

  Session& session_;
  std::filesystem::path root_;
  std::unique_ptr<UpdateBuilder> updates_;
  std::set<int32_t> held_;  // keys the pages hold down (virtual-key codes)
};

// The file a page names, resolved inside root: nothing (with the reason) when it leaves the
// folder by "..", an absolute path or a symlink, or is not an .svg name.
std::optional<std::filesystem::path> resolveInRoot(const std::filesystem::path& root,
                                                   const std::string& name, std::string& error);

}  // namespace sqhost::studio
