// brinegrab-board: the world board's server (see the README's "Run a world
// board" and board/server.h for its interface).
#include <httplib.h>
#include <dirent.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "options.h"
#include "rate_limit.h"
#include "server.h"
#include "store.h"
#include "verifier.h"

namespace {

// Answers at once to every client; a slow one holds one of them.
const size_t THREADS = 128;
const time_t READ_SECONDS = 5;
const time_t WRITE_SECONDS = 5;
const time_t KEEP_ALIVE_SECONDS = 5;
const size_t KEEP_ALIVE_REQUESTS = 1000;
const size_t MOST_BODY = 1u << 20;

bool make_directory(const std::string& path) {
  for (size_t at = 1; at <= path.size(); ++at) {
    if (at < path.size() && path[at] != '/') continue;
    const std::string part = path.substr(0, at);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat s {};
  return stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

// The HTTP library listens with a backlog of 5: a hundred clients
// connecting at once would find their connections reset. Listening again on
// the same socket (found among the process's files by its port) widens it.
void widen_backlog(int port) {
  DIR* fds = opendir("/proc/self/fd");
  if (fds == nullptr) return;
  while (dirent* entry = readdir(fds)) {
    const int fd = std::atoi(entry->d_name);
    int listening = 0;
    socklen_t size = sizeof listening;
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (fd <= 2 || getsockopt(fd, SOL_SOCKET, SO_ACCEPTCONN, &listening, &size) != 0 ||
        listening == 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      continue;
    }
    const int bound = address.ss_family == AF_INET
                          ? ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port)
                          : ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
    if (bound == port) listen(fd, SOMAXCONN);
  }
  closedir(fds);
}

}  // namespace

int main(int argc, char* argv[]) {
  BOARD_OPTIONS options;
  const int status = parse_board_options(argc, argv, options);
  if (status >= 0) return status;
  settle_paths(options);
  if (!make_directory(options.data) || !make_directory(options.data + "/checks")) {
    std::fprintf(stderr, "brinegrab-board: cannot make the data directory %s: %s\n",
                 options.data.c_str(), std::strerror(errno));
    return 1;
  }
  std::string error;
  std::unique_ptr<STORE> store = STORE::open(options.database, error);
  if (!store) {
    std::fprintf(stderr, "brinegrab-board: cannot open the database %s: %s\n",
                 options.database.c_str(), error.c_str());
    return 1;
  }
  if (options.hide > 0) {
    if (!store->hide(options.hide)) {
      std::fprintf(stderr, "brinegrab-board: no game %lld on the board\n", options.hide);
      return 1;
    }
    std::printf("game %lld is hidden from the board\n", options.hide);
    return 0;
  }
  if (access((options.game + "/brinegrab").c_str(), X_OK) != 0) {
    std::fprintf(stderr, "brinegrab-board: no game to check runs with: %s/brinegrab\n",
                 options.game.c_str());
    return 1;
  }
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  const int checks = options.checks > 0 ? options.checks : (cores > 0 ? cores : 1);
  const int queue = options.queue > 0 ? options.queue : 2 * checks;
  VERIFIER verifier(options.game, options.data + "/checks", checks, queue,
                    CHECK_LIMITS{options.check_seconds, options.check_megabytes});
  RATE_LIMIT rate(options.rate);
  BOARD board{*store, verifier, rate, options.web};

  // The stop signals are waited for by a thread of their own, which stops
  // the server: the answers under way are finished.
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stops, nullptr);
  signal(SIGPIPE, SIG_IGN);

  httplib::Server server;
  server.new_task_queue = [] { return new httplib::ThreadPool(THREADS); };
  server.set_read_timeout(READ_SECONDS);
  server.set_write_timeout(WRITE_SECONDS);
  server.set_keep_alive_timeout(KEEP_ALIVE_SECONDS);
  server.set_keep_alive_max_count(KEEP_ALIVE_REQUESTS);
  server.set_payload_max_length(MOST_BODY);
  // The library writes an answer's head and body apart: without NODELAY
  // (which the accepted connections take over from the listening socket)
  // each answer waits for the client's delayed acknowledgement, 40 ms.
  server.set_socket_options([](socket_t socket) {
    httplib::default_socket_options(socket);
    const int on = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  });
  add_routes(server, board);
  int port = options.port;
  const bool bound = port == 0 ? (port = server.bind_to_any_port(options.host)) > 0
                               : server.bind_to_port(options.host, port);
  if (!bound) {
    std::fprintf(stderr, "brinegrab-board: cannot listen on %s:%d\n", options.host.c_str(),
                 options.port);
    return 1;
  }
  widen_backlog(port);
  std::thread stopper([&server, stops] {
    int got = 0;
    sigwait(&stops, &got);
    // A stop asked for before the server has begun to listen would be lost.
    while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    server.stop();
  });
  stopper.detach();
  std::printf("brinegrab-board: listening on http://%s:%d/ (database %s, %d checks at a time)\n",
              options.host.c_str(), port, options.database.c_str(), checks);
  std::fflush(stdout);
  server.listen_after_bind();
  return 0;
}
