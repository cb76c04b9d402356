// Events as dialog actions, and the two event sources: a script's queue and a front-end's.
#include "app/events.hpp"

namespace sqhost {

std::optional<DialogAction> Event::dialogAction() const {
  using A = DialogAction::Kind;
  A action = A::Press;
  switch (kind) {
    case Kind::DialogPress:
      break;
    case Kind::DialogCheck:
      action = A::Check;
      break;
    case Kind::DialogValue:
      action = A::Value;
      break;
    case Kind::DialogText:
      action = A::Text;
      break;
    case Kind::DialogChoose:
      action = A::Choose;
      break;
    case Kind::DialogCancel:
      action = A::Cancel;
      break;
    case Kind::DialogKey:
      action = A::Key;
      break;
    default:
      return std::nullopt;
  }
  return DialogAction{action, dialog, item, number, text, modifiers, line};
}

std::optional<Event> EventQueue::peek() {
  if (events_.empty()) return std::nullopt;
  return events_.front();
}

std::optional<Event> EventQueue::take() {
  if (events_.empty()) return std::nullopt;
  Event e = std::move(events_.front());
  events_.pop_front();
  return e;
}

void BlockingEventQueue::post(Event e) {
  {
    const std::lock_guard lock(mutex_);
    events_.push_back(std::move(e));
  }
  posted_.notify_all();
}

void BlockingEventQueue::close() {
  {
    const std::lock_guard lock(mutex_);
    closed_ = true;
  }
  posted_.notify_all();
}

bool BlockingEventQueue::waitForEvent(std::unique_lock<std::mutex>& lock) {
  posted_.wait(lock, [this] { return !events_.empty() || closed_; });
  return !events_.empty();
}

std::optional<Event> BlockingEventQueue::peek() {
  std::unique_lock lock(mutex_);
  if (!waitForEvent(lock)) return std::nullopt;
  return events_.front();
}

std::optional<Event> BlockingEventQueue::take() {
  std::unique_lock lock(mutex_);
  if (!waitForEvent(lock)) return std::nullopt;
  Event e = std::move(events_.front());
  events_.pop_front();
  return e;
}

bool BlockingEventQueue::empty() const {
  const std::lock_guard lock(mutex_);
  return events_.empty();
}

std::size_t BlockingEventQueue::size() const {
  const std::lock_guard lock(mutex_);
  return events_.size();
}

void BlockingEventQueue::clear() {
  const std::lock_guard lock(mutex_);
  events_.clear();
}

}  // namespace sqhost
