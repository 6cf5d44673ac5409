// Standard input read without blocking, waits to the millisecond with ppoll.
#include "console/posix/stdin_source.hpp"

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "console/console_backend.hpp"
#include "console/posix/terminal_session.hpp"

namespace {

std::uint64_t MonotonicNs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000u + static_cast<std::uint64_t>(ts.tv_nsec);
}

bool StdinReadable() {
  pollfd fd = {STDIN_FILENO, POLLIN, 0};
  return poll(&fd, 1, 0) > 0 && (fd.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

}  // namespace

std::uint32_t StdinSource::now_ms() { return static_cast<std::uint32_t>(MonotonicNs() / 1000000u); }

InputSource::Ready StdinSource::wait_until(std::uint32_t deadline, bool bytes, bool wake) {
  const std::uint64_t nowNs = MonotonicNs();
  const auto nowMs = static_cast<std::uint32_t>(nowNs / 1000000u);
  if (TimeReached(nowMs, deadline)) return Ready::Timeout;
  // Until the start of millisecond `deadline` on the same clock.
  const std::uint64_t waitNs = (nowNs / 1000000u + (deadline - nowMs)) * 1000000u - nowNs;
  const timespec timeout = {static_cast<time_t>(waitNs / 1000000000u), static_cast<long>(waitNs % 1000000000u)};
  pollfd fds[2] = {{bytes ? STDIN_FILENO : -1, POLLIN, 0}, {wake ? terminal_session::WakeFd() : -1, POLLIN, 0}};
  if (ppoll(fds, 2, &timeout, nullptr) <= 0) return Ready::Timeout;  // the time, or a signal
  if (fds[1].revents & POLLIN) return Ready::Woken;
  return (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) ? Ready::Bytes : Ready::Timeout;
}

long StdinSource::read(char* buffer, std::size_t size) {
  if (!StdinReadable()) return -1;
  const ssize_t n = ::read(STDIN_FILENO, buffer, size);
  if (n < 0 && (errno == EINTR || errno == EAGAIN)) return -1;
  return n < 0 ? 0 : static_cast<long>(n);
}
