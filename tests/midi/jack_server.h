#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

namespace voxtane::testing {

// A JACK server of the test's own, with a dummy driver and no realtime scheduling, so that it
// runs wherever jackd is installed, also as root in CI. It is stopped (killed if need be) when
// the object goes, also when a test fails. JACK servers of one user share their bookkeeping,
// and one stopping while another starts makes the other's clients fail: a lock file of the
// machine lets one such server run at a time, whichever test program starts it.
class JackServer {
  public:
    // Nothing when jackd cannot start here; `whyNot` tells why. Points this process's JACK
    // clients at the new server before returning.
    [[nodiscard]] static std::unique_ptr<JackServer> Start(std::string& whyNot);
    ~JackServer();
    JackServer(const JackServer&) = delete;
    JackServer& operator=(const JackServer&) = delete;

    [[nodiscard]] const std::string& Name() const { return name_; }
    // Stops the server's process (SIGSTOP) and lets it go on (SIGCONT): a server that answers
    // no request and runs no cycle for a while.
    void Pause();
    void Resume();

  private:
    JackServer(int lock, pid_t pid, std::string name)
        : lock_(lock), pid_(pid), name_(std::move(name)) {}

    int lock_;
    pid_t pid_;
    std::string name_;
};

}  // namespace voxtane::testing
