// Running part of a test under a small file size limit, so that writes fail part-way through as
// they would on a full disk.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

namespace sqtest {

// Calls `write` with files limited to `bytes` (writing past it fails instead of raising
// SIGXFSZ) and returns what it returned; the earlier limit is restored afterwards.
template <typename Write>
auto withFileSizeLimit(rlim_t bytes, Write&& write) {
  rlimit old{};
  EXPECT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = bytes;
  EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  auto result = write();
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  return result;
}

}  // namespace sqtest
