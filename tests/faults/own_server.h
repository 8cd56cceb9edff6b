// A MariaDB server of one test's own, for the faults that take the server
// away: it is killed, stopped and started again without touching the server
// that the other tests share. Started like the shared one (a private socket,
// a free loopback port, lower_case_table_names=1, the test user with its
// password), with the lock wait timeout the test asks for.
#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

class OwnServer {
 public:
  // Creates the server's files under dir and starts it.
  OwnServer(std::string dir, int lockWaitTimeoutSeconds);
  ~OwnServer();  // stops it
  OwnServer(const OwnServer&) = delete;
  OwnServer& operator=(const OwnServer&) = delete;

  // Starts the server on its files again, at the same socket and port.
  void start();
  // Sends signal to the server and waits until it has gone.
  void stop(int signal);

  // Points the test's own connections (TestDatabase) at this server, until
  // the server object goes.
  void useForTestConnections();
  // The environment entries that lead the program's connection here.
  std::vector<std::pair<std::string, std::string>> environment() const;
  const std::string& socket() const { return socket_; }

 private:
  std::string dir_;
  std::string socket_;
  int port_ = 0;
  int lockWaitTimeout_;
  pid_t pid_ = -1;
  std::vector<std::pair<std::string, std::string>> savedEnvironment_;
};
