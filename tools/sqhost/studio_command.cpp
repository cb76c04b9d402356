// `sqhost studio`: starts the host, the studio's session and server, and runs the host's loop.
#include "studio_command.hpp"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>

#include "app/host.hpp"
#include "prefs/preference_store.hpp"
#include "session/session.hpp"
#include "studio/studio_inbox.hpp"
#include "studio/studio_server.hpp"
#include "studio/studio_session.hpp"

namespace sqhost {

namespace fs = std::filesystem;

namespace {

fs::path staticFolder() {
  if (const char* env = std::getenv("SQHOST_STUDIO_DIR"); env != nullptr && *env != '\0') {
    return env;
  }
  return SQ_STUDIO_DIR;
}

// The folder the studio works in, made absolute with its links resolved; nothing (with the
// message printed) when it is not a folder.
std::optional<fs::path> studioRoot(const std::string& option) {
  const fs::path root = option.empty() ? fs::path(".") : fs::path(option);
  std::error_code ec;
  if (!fs::is_directory(root, ec)) {
    std::cerr << "sqhost: cannot use " << root.string() << " as the studio's folder: "
              << (fs::exists(root, ec) ? "it is not a folder" : "there is no such folder") << "\n";
    return std::nullopt;
  }
  fs::path canonical = fs::canonical(root, ec);
  if (ec) {
    std::cerr << "sqhost: cannot use " << root.string()
              << " as the studio's folder: " << ec.message() << "\n";
    return std::nullopt;
  }
  return canonical;
}

// A file named on the command line (from the current folder, or absolute) as a name inside
// root, checked as a page's name would be; nothing (with the message printed) when it is
// outside root, not an SVG name or not there.
std::optional<std::string> nameInRoot(const fs::path& root, const std::string& file) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(file, ec).lexically_normal();
  // The folders on the way are resolved, the file itself is not: a link named here is judged
  // as a link.
  const fs::path folder = fs::weakly_canonical(absolute.parent_path(), ec);
  const fs::path relative = (folder / absolute.filename()).lexically_relative(root);
  if (ec || relative.empty() || *relative.begin() == "..") {
    std::cerr << "sqhost: " << file << " is outside the studio's folder " << root.string() << "\n";
    return std::nullopt;
  }
  const std::string name = relative.generic_string();
  std::string error;
  const std::optional<fs::path> resolved = studio::resolveInRoot(root, name, error);
  if (!resolved) {
    std::cerr << "sqhost: " << file << ": " << error << "\n";
    return std::nullopt;
  }
  if (!fs::is_regular_file(*resolved, ec)) {
    std::cerr << "sqhost: cannot open " << file << ": there is no such file\n";
    return std::nullopt;
  }
  return name;
}

// The message of an error reply, or empty when text is no error.
std::string errorMessage(const std::string& text) {
  const nlohmann::json reply = nlohmann::json::parse(text, nullptr, false);
  if (!reply.is_object() || reply.value("type", "") != "error") return {};
  const std::string message = reply.value("message", "");
  return message.empty() ? std::string("refused") : message;
}

}  // namespace

int runStudio(const StudioOptions& o) {
  const std::optional<fs::path> root = studioRoot(o.root);
  if (!root) return 2;
  std::vector<std::string> names;
  for (const std::string& file : o.files) {
    std::optional<std::string> name = nameInRoot(*root, file);
    if (!name) return 2;
    names.push_back(std::move(*name));
  }

  HostOptions options;
  options.pluginPath = o.plugin;
  options.preferenceFile =
      resolvePreferencePath(o.prefs.empty() ? std::nullopt : std::optional<std::string>(o.prefs));
  Host host(options);
  Session session(host);
  session.setInputBase(*root);
  session.setOutputBase(*root);
  host.observer().setEcho([](const std::string& line) { std::cout << line << "\n"; });
  host.observer().setWarningEcho(
      [](const std::string& line) { std::cerr << "sqhost: warning: " << line << "\n"; });
  std::cout << "preferences: " << options.preferenceFile.string() << "\n";

  std::string error;
  if (!host.start(error)) {
    std::cerr << "sqhost: " << error << "\n";
    return 1;
  }
  studio::StudioSession studio(session, *root);

  studio::StudioInbox inbox;
  studio::ServerOptions serverOptions;
  serverOptions.staticDir = staticFolder();
  serverOptions.port = o.port;
  studio::StudioServer server(
      serverOptions, [&inbox](studio::Request request) { inbox.post(std::move(request)); });
  inbox.setHooks({
      .nestedEvent = [&studio](const studio::Request& request,
                               std::string& reply) { return studio.nestedEvent(request, reply); },
      .update = [&studio](int64_t seq) { return studio.update(seq); },
      .send = [&server](int connection, const std::string& text) { server.send(connection, text); },
      .broadcast = [&server](const std::string& text) { server.broadcast(text); },
  });
  host.useEventSource(&inbox);
  server.onStopSignal([&inbox, signals = 0]() mutable {
    // The first stop lets the host finish what it does and shut down cleanly; a second one, for
    // a host that does not come back, ends the process at once.
    if (++signals == 1) {
      inbox.close();
      return;
    }
    static constexpr char kNow[] = "sqhost: stopped at once\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, kNow, sizeof kNow - 1);
    std::_Exit(1);
  });

  const auto stopWith = [&](int status) {
    server.stop();
    host.shutDown();
    host.useEventSource(nullptr);
    return status;
  };

  if (names.empty()) {
    SessionCommand open;
    open.kind = SessionCommand::Kind::Open;
    open.name = SQ_BUNDLED_DRAWING;
    if (!session.execute(open)) return stopWith(2);
  }
  for (const std::string& name : names) {
    studio::Request open;
    open.kind = studio::Request::Kind::Open;
    open.name = name;
    const std::string refused = errorMessage(studio.handle(open));
    if (!refused.empty()) {
      std::cerr << "sqhost: cannot open " << name << ": " << refused << "\n";
      return stopWith(2);
    }
  }
  if (!fs::is_regular_file(serverOptions.staticDir / "index.html")) {
    std::cerr << "sqhost: warning: the page is missing: no index.html in "
              << serverOptions.staticDir.string() << "\n";
  }
  if (!server.start(error)) {
    std::cerr << "sqhost: " << error << "\n";
    return stopWith(1);
  }
  std::cout << "studio: " << server.address() << "\nCtrl+C stops" << std::endl;

  while (std::optional<studio::Request> request = inbox.next()) {
    try {
      if (request->kind == studio::Request::Kind::Disconnected) {
        studio.connectionClosed();
      } else if (std::string reply = studio.handle(*request); !reply.empty()) {
        server.send(request->connection, std::move(reply));
      }
      // A modal dialog or alert may have taken later requests while it waited: the update
      // answers the last of them (the request that opened it was answered before the wait).
      server.broadcast(studio.update(std::max(request->seq, inbox.lastSeq())));
    } catch (const std::exception& e) {
      // Nothing a page sends may stop the host; the page hears what went wrong.
      host.observer().note(std::string("studio: request failed: ") + e.what());
      server.send(request->connection,
                  studio::errorReply(request->seq, std::string("the host failed: ") + e.what()));
    }
  }
  std::cout << "studio: stopping" << std::endl;
  return stopWith(0);
}

}  // namespace sqhost
