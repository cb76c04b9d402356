// What the host observed: lines in plain words, kept in order and optionally echoed as they come.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace sqhost {

class Observer {
 public:
  using Echo = std::function<void(const std::string&)>;

  void setEcho(Echo echo) { echo_ = std::move(echo); }
  // Where warnings go as they come (a program's standard error); without one they are echoed as
  // other lines are.
  void setWarningEcho(Echo echo) { warningEcho_ = std::move(echo); }
  void note(const std::string& line) {
    lines_.push_back(line);
    if (echo_) echo_(line);
  }
  // A problem the host found but worked around (a damaged file set aside, a value ignored, a
  // path read up to an error): kept with the other lines, echoed as a warning.
  void warn(const std::string& line) {
    lines_.push_back(line);
    if (warningEcho_) {
      warningEcho_(line);
    } else if (echo_) {
      echo_(line);
    }
  }
  const std::vector<std::string>& lines() const { return lines_; }
  // Lines noted since the last call (for reports that show what happened since the previous one).
  std::vector<std::string> takeRecent() {
    std::vector<std::string> recent(lines_.begin() + static_cast<long>(taken_), lines_.end());
    taken_ = lines_.size();
    return recent;
  }

 private:
  std::vector<std::string> lines_;
  std::size_t taken_ = 0;
  Echo echo_;
  Echo warningEcho_;
};

}  // namespace sqhost
