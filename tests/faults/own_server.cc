#include "tests/faults/own_server.h"

#include <fcntl.h>
#include <mysql.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "tests/support/process.h"

namespace {

std::string environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

int freeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    throw std::runtime_error("no free loopback port");
  }
  close(fd);
  return ntohs(address.sin_port);
}

std::string currentUserName() {
  const ProcessResult result = runProcess({"/usr/bin/id", "-un"});
  std::string name = result.output;
  while (!name.empty() && name.back() == '\n') name.pop_back();
  return name;
}

// Runs statements as the server's root over its socket; false when the
// server does not answer.
bool asRoot(const std::string& socket, const std::vector<std::string>& statements) {
  MYSQL* connection = mysql_init(nullptr);
  bool ok =
      mysql_real_connect(connection, "localhost", "root", nullptr, nullptr, 0, socket.c_str(), 0) != nullptr;
  for (const std::string& statement : statements) {
    if (ok && mysql_query(connection, statement.c_str()) != 0) {
      const std::string error = mysql_error(connection);
      mysql_close(connection);
      throw std::runtime_error("own server: " + statement + ": " + error);
    }
  }
  mysql_close(connection);
  return ok;
}

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'' || c == '\\') out += '\\';
    out += c;
  }
  return out + "'";
}

}  // namespace

OwnServer::OwnServer(std::string dir, int lockWaitTimeoutSeconds)
    : dir_(std::move(dir)),
      socket_(dir_ + "/mariadb.sock"),
      port_(freeLoopbackPort()),
      lockWaitTimeout_(lockWaitTimeoutSeconds) {
  const ProcessResult install = runProcess({"/usr/bin/mariadb-install-db", "--no-defaults",
                                            "--datadir=" + dir_ + "/data", "--user=" + currentUserName(),
                                            "--auth-root-authentication-method=normal", "--skip-test-db"});
  if (install.exitCode != 0) throw std::runtime_error("mariadb-install-db failed: " + install.output);
  start();
  const std::string user = environmentValue("ZARNIK_TEST_USER");
  const std::string password = quoted(environmentValue("ZARNIK_TEST_PASSWORD"));
  std::vector<std::string> statements;
  for (const char* host : {"localhost", "127.0.0.1"}) {
    const std::string account = quoted(user) + "@'" + host + "'";
    statements.push_back("CREATE USER " + account + " IDENTIFIED BY " + password);
    statements.push_back("GRANT ALL ON *.* TO " + account);
  }
  asRoot(socket_, statements);
}

OwnServer::~OwnServer() {
  for (const auto& [name, value] : savedEnvironment_) setenv(name.c_str(), value.c_str(), 1);
  try {
    stop(SIGTERM);
  } catch (...) {
  }
}

void OwnServer::start() {
  const std::vector<std::string> arguments = {
      "/usr/sbin/mariadbd",
      "--no-defaults",
      "--datadir=" + dir_ + "/data",
      "--user=" + currentUserName(),
      "--socket=" + socket_,
      "--port=" + std::to_string(port_),
      "--bind-address=127.0.0.1",
      "--log-error=" + dir_ + "/error.log",
      "--lower_case_table_names=1",
      "--innodb_lock_wait_timeout=" + std::to_string(lockWaitTimeout_),
      "--innodb_buffer_pool_size=32M",
      "--innodb_log_file_size=16M",
      "--skip-name-resolve",
      "--character-set-server=latin1",
      "--skip-character-set-client-handshake"};
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    // Its messages go to its error log; early warnings would only clutter
    // the test's output.
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, 1);
    dup2(quiet, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  for (int attempt = 0; attempt < 240; ++attempt) {
    if (asRoot(socket_, {})) return;
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      throw std::runtime_error("own server did not start, see " + dir_ + "/error.log");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
  throw std::runtime_error("own server does not answer");
}

void OwnServer::stop(int signal) {
  if (pid_ <= 0) return;
  kill(pid_, signal);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

void OwnServer::useForTestConnections() {
  if (savedEnvironment_.empty()) {
    savedEnvironment_ = {{"ZARNIK_TEST_SOCKET", environmentValue("ZARNIK_TEST_SOCKET")},
                         {"ZARNIK_TEST_PORT", environmentValue("ZARNIK_TEST_PORT")}};
  }
  setenv("ZARNIK_TEST_SOCKET", socket_.c_str(), 1);
  setenv("ZARNIK_TEST_PORT", std::to_string(port_).c_str(), 1);
}

std::vector<std::pair<std::string, std::string>> OwnServer::environment() const {
  return {{"MYSQL_UNIX_PORT", socket_}, {"MYSQL_TCP_PORT", std::to_string(port_)}};
}
