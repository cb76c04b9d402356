// The studio's local server: the page's files over HTTP and its requests over a WebSocket.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "studio/studio_request.hpp"

namespace sqhost::studio {

struct ServerOptions {
  // The folder whose files the page is made of; "/" is its index.html.
  std::filesystem::path staticDir;
  // The port on 127.0.0.1; 0 takes any free one.
  uint16_t port = 0;
  // A connection whose unsent replies and updates exceed this is closed: a page that does not
  // read must not make the host wait or grow without end.
  std::size_t maxQueuedBytes = std::size_t{64} * 1024 * 1024;
  // How long a connection may stay silent (HTTP) or unanswered (WebSocket pings) before it is
  // dropped.
  int idleSeconds = 60;
};

// 32 lowercase hex digits from std::random_device.
std::string makeSessionToken();

// One thread runs all network I/O. Valid requests go to the sink (on that thread) with the
// connection's number; messages that are not valid requests are answered with an error at once
// and never reach the sink. A WebSocket that closes gives the sink a Disconnected request.
class StudioServer {
 public:
  using Sink = std::function<void(Request)>;

  StudioServer(ServerOptions options, Sink sink);
  ~StudioServer();  // stops
  StudioServer(const StudioServer&) = delete;
  StudioServer& operator=(const StudioServer&) = delete;

  // Binds 127.0.0.1 and starts the network thread. False with the reason when the port cannot
  // be had.
  bool start(std::string& error);
  // Closes every connection (WebSockets with a close frame), ends the network thread. Safe to
  // call twice.
  void stop();

  // Called on the network thread when the process gets SIGINT or SIGTERM; set before start().
  void onStopSignal(std::function<void()> handler);

  uint16_t port() const;
  const std::string& token() const;
  // http://127.0.0.1:PORT/?token=T
  std::string address() const;

  // From any thread: queue text for one page's WebSocket, or for every open one. Text for a
  // connection that has closed is dropped.
  void send(int connection, std::string text);
  void broadcast(std::string text);

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace sqhost::studio
