// The studio's inbox: requests queued by the network thread, taken by the host's main and nested
// loops.
#include "studio/studio_inbox.hpp"

namespace sqhost::studio {

void StudioInbox::post(Request request) {
  {
    const std::lock_guard lock(mutex_);
    if (closed_) return;
    items_.emplace_back(std::move(request));
  }
  posted_.notify_all();
}

void StudioInbox::post(Event e) {
  {
    const std::lock_guard lock(mutex_);
    if (closed_) return;
    items_.emplace_back(std::move(e));
  }
  posted_.notify_all();
}

void StudioInbox::close() {
  {
    const std::lock_guard lock(mutex_);
    closed_ = true;
    items_.clear();
  }
  posted_.notify_all();
}

bool StudioInbox::closed() const {
  const std::lock_guard lock(mutex_);
  return closed_;
}

int64_t StudioInbox::lastSeq() const {
  const std::lock_guard lock(mutex_);
  return lastSeq_;
}

std::optional<Request> StudioInbox::next() {
  std::unique_lock lock(mutex_);
  for (;;) {
    posted_.wait(lock, [this] { return !items_.empty() || closed_; });
    if (closed_) return std::nullopt;
    Item item = std::move(items_.front());
    items_.pop_front();
    if (Request* request = std::get_if<Request>(&item)) {
      lastSeq_ = request->seq;
      return std::move(*request);
    }
    // An event a nested loop looked at but did not take: that loop has ended, nothing wants it.
  }
}

bool StudioInbox::frontEvent(std::unique_lock<std::mutex>& lock) {
  for (;;) {
    if (closed_) return false;
    if (items_.empty()) {
      // Whatever the host did before it came to wait (a dialog opened, an item changed) is shown
      // to the pages before the wait, as they would otherwise never see it.
      const int64_t seq = lastSeq_;
      lock.unlock();
      if (hooks_.update && hooks_.broadcast) hooks_.broadcast(hooks_.update(seq));
      lock.lock();
      posted_.wait(lock, [this] { return !items_.empty() || closed_; });
      continue;
    }
    if (std::holds_alternative<Event>(items_.front())) return true;

    // Only the host's thread takes items, so the request can be converted without the lock and
    // its event put back in front of what the network thread queued meanwhile.
    Request request = std::get<Request>(std::move(items_.front()));
    items_.pop_front();
    lastSeq_ = request.seq;
    lock.unlock();
    std::string reply;
    std::optional<Event> event;
    if (hooks_.nestedEvent) event = hooks_.nestedEvent(request, reply);
    if (!reply.empty() && hooks_.send) hooks_.send(request.connection, reply);
    lock.lock();
    if (event && !closed_) items_.emplace_front(std::move(*event));
  }
}

std::optional<Event> StudioInbox::peek() {
  std::unique_lock lock(mutex_);
  if (!frontEvent(lock)) return std::nullopt;
  return std::get<Event>(items_.front());
}

std::optional<Event> StudioInbox::take() {
  std::unique_lock lock(mutex_);
  if (!frontEvent(lock)) return std::nullopt;
  Event e = std::get<Event>(std::move(items_.front()));
  items_.pop_front();
  return e;
}

bool StudioInbox::empty() const {
  const std::lock_guard lock(mutex_);
  return items_.empty();
}

std::size_t StudioInbox::size() const {
  const std::lock_guard lock(mutex_);
  return items_.size();
}

void StudioInbox::clear() {
  const std::lock_guard lock(mutex_);
  items_.clear();
}

}  // namespace sqhost::studio
