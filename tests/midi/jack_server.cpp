#include "jack_server.h"

#include <fcntl.h>
#include <jack/jack.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

extern char** environ;

namespace voxtane::testing {

namespace {

using namespace std::chrono_literals;

enum class Exit { Exited, Running };

Exit WaitForExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    do {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || done < 0) return Exit::Exited;
        std::this_thread::sleep_for(10ms);
    } while (std::chrono::steady_clock::now() < deadline);
    return Exit::Running;
}

enum class Reach { Reached, Unreached };

Reach TryClient(const std::string& server) {
    jack_status_t status{};
    jack_client_t* client = jack_client_open(
        "voxtane-test-probe", static_cast<jack_options_t>(JackNoStartServer | JackServerName),
        &status, server.c_str());
    if (client == nullptr) return Reach::Unreached;
    jack_client_close(client);
    return Reach::Reached;
}

enum class Lock { Taken, Busy };

Lock TakeLock(int fd, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (std::chrono::steady_clock::now() > deadline) return Lock::Busy;
        std::this_thread::sleep_for(50ms);
    }
    return Lock::Taken;
}

}  // namespace

std::unique_ptr<JackServer> JackServer::Start(std::string& whyNot) {
    const int lock = open("/tmp/voxtane-test-jackd.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (lock < 0 || TakeLock(lock, 120s) == Lock::Busy) {
        if (lock >= 0) close(lock);
        whyNot = "another test's JACK server kept running for two minutes";
        return nullptr;
    }
    const std::string name = "voxtane-test-" + std::to_string(getpid());
    std::vector<std::string> args{"jackd", "--no-realtime", "--sync", "-n", name, "-d", "dummy",
                                  "-r",    "48000",         "-p",     "256"};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "jackd", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        close(lock);
        whyNot = "jackd could not be run (is the jackd2 package installed?)";
        return nullptr;
    }
    std::unique_ptr<JackServer> server(new JackServer(lock, pid, name));

    // The program's and the test's clients reach the server through the default server name.
    setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (TryClient(name) == Reach::Unreached) {
        if (WaitForExit(pid, 0ms) == Exit::Exited) {
            server->pid_ = 0;
            whyNot = "jackd stopped at start-up";
            return nullptr;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            whyNot = "no client could connect to jackd within 15 s";
            return nullptr;
        }
        std::this_thread::sleep_for(50ms);
    }
    return server;
}

void JackServer::Pause() {
    if (pid_ > 0) kill(pid_, SIGSTOP);
}

void JackServer::Resume() {
    if (pid_ > 0) kill(pid_, SIGCONT);
}

JackServer::~JackServer() {
    if (pid_ > 0) {
        kill(pid_, SIGCONT);
        kill(pid_, SIGTERM);
        if (WaitForExit(pid_, 5000ms) == Exit::Running) {
            kill(pid_, SIGKILL);
            (void)WaitForExit(pid_, 5000ms);
        }
    }
    close(lock_);  // lets the next server start
}

}  // namespace voxtane::testing
