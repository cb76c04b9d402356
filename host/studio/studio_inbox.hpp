// The studio's inbox: the pages' requests on their way from the network thread to the host's.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <variant>

#include "app/events.hpp"
#include "studio/studio_request.hpp"

namespace sqhost::studio {

// The network thread posts requests; the host's thread takes them, either one by one in its main
// loop (next()) or, while a modal dialog or an alert waits for the user, as host events through
// the EventSource interface. Once closed, nothing more is given out: requests still queued are
// dropped, so that a stop ends the main loop and any modal loop at once.
class StudioInbox final : public EventSource {
 public:
  // What the inbox calls on the host's thread while it serves a nested loop.
  struct Hooks {
    // The host event a request stands for, or nothing; reply is text for the requester.
    std::function<std::optional<Event>(const Request&, std::string& reply)> nestedEvent;
    // An update for every page (seq: the last request's).
    std::function<std::string(int64_t seq)> update;
    std::function<void(int connection, const std::string& text)> send;
    std::function<void(const std::string& text)> broadcast;
  };

  StudioInbox() = default;
  explicit StudioInbox(Hooks hooks) : hooks_(std::move(hooks)) {}
  // Set before the host's thread first reads from the inbox.
  void setHooks(Hooks hooks) { hooks_ = std::move(hooks); }

  // Network side (any thread).
  void post(Request request);
  void close();
  bool closed() const;

  // Host side, main loop: blocks until a request comes (nothing once closed). Events left at the
  // front by a nested loop that ended are dropped.
  std::optional<Request> next();

  // Host side, nested loops. peek() and take() turn the next request into an event with the
  // nestedEvent hook; a request that gives none has its reply sent and is dropped. Before it
  // blocks on an empty queue, the inbox broadcasts an update so that the pages show what waits.
  bool waits() const override { return true; }
  void post(Event e) override;
  std::optional<Event> peek() override;
  std::optional<Event> take() override;
  bool empty() const override;
  std::size_t size() const override;
  void clear() override;

  // The seq of the last request given out, which the broadcast update carries.
  int64_t lastSeq() const;

 private:
  using Item = std::variant<Request, Event>;
  // Makes the front item an event (converting requests, blocking while the queue is empty).
  // False once closed.
  bool frontEvent(std::unique_lock<std::mutex>& lock);

  Hooks hooks_;
  mutable std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<Item> items_;
  bool closed_ = false;
  int64_t lastSeq_ = 0;
};

}  // namespace sqhost::studio
